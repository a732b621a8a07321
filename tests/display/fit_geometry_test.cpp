// Fitting a picture into the viewing area or the cover box, worked out by hand.
#include "display/fit_geometry.h"

#include <gtest/gtest.h>

using namespace cvx;

TEST(FitGeometry, TallPageIsLimitedByTheHeight) {
    // 10000 x 15000 twips in a viewing area of 9030 x 7030, less the 30-twip allowance.
    const fit::Fit f = fit::fitInto({10000, 15000}, {9000, 7000});
    EXPECT_NEAR(f.widthRatio, 1.1111, 1e-4);
    EXPECT_NEAR(f.heightRatio, 2.1429, 1e-4);
    EXPECT_EQ(f.scale, f.heightRatio);
    EXPECT_NEAR(f.width, 4666.67, 0.01);
    EXPECT_NEAR(f.height, 7000, 0.01);
    EXPECT_NEAR(fit::centredLeft(9030, f.width), 2181.67, 0.01);
}

TEST(FitGeometry, WideSheetIsLimitedByTheWidth) {
    const fit::Fit f = fit::fitInto({18000, 9000}, {9000, 7000});
    EXPECT_FLOAT_EQ(f.scale, 2);
    EXPECT_DOUBLE_EQ(f.width, 9000);
    EXPECT_DOUBLE_EQ(f.height, 4500);
    EXPECT_DOUBLE_EQ(fit::centredLeft(9030, f.width), 15);
}

TEST(FitGeometry, SmallPictureIsEnlarged) {
    const fit::Fit f = fit::fitInto({900, 1350}, {9000, 7000});
    EXPECT_LT(f.scale, 1);
    EXPECT_NEAR(f.width, 4666.67, 0.01);
    EXPECT_NEAR(f.height, 7000, 0.01);
}

TEST(FitGeometry, TieTakesTheWidthRatio) {
    const fit::Fit f = fit::fitInto({18000, 14000}, {9000, 7000});
    EXPECT_FLOAT_EQ(f.widthRatio, 2);
    EXPECT_FLOAT_EQ(f.heightRatio, 2);
    EXPECT_DOUBLE_EQ(f.width, 9000);
    EXPECT_DOUBLE_EQ(f.height, 7000);
}

TEST(FitGeometry, CoverAndItsPointers) {
    // A cover of 16890 x 10260 twips is shown at 8445 x 5130, at Left 0.
    const fit::Fit f = fit::fitInto({16890, 10260}, {fit::kCoverBoxWidth, fit::kCoverBoxHeight});
    EXPECT_DOUBLE_EQ(f.width, 8445);
    EXPECT_DOUBLE_EQ(f.height, 5130);
    EXPECT_DOUBLE_EQ(fit::centredLeft(fit::kCoverBoxWidth, f.width), 0);
    const auto p = fit::coverPointers(0, 30, 8445, 5130, 2565);
    EXPECT_EQ(p[0], QPointF(4147.5, 2565));
    EXPECT_EQ(p[1], QPointF(7920, 2565));
    EXPECT_EQ(p[2], QPointF(75, 2565));
    EXPECT_EQ(p[3], QPointF(4147.5, 4635));
    EXPECT_EQ(p[4], QPointF(4147.5, 55));
    EXPECT_EQ(p[5], QPointF(4147.5, 2565));
}
