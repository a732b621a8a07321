// The pure geometry of the page display: hot-zone rectangles, magnified and reduced sizes, and
// pan steps, against figures worked out by hand.
#include "display/fit_geometry.h"
#include "display/magnify_geometry.h"
#include "display/pan_geometry.h"
#include "display/zone_geometry.h"

#include <gtest/gtest.h>

using namespace cvx;

namespace {
void expectRect(const zones::Rect& r, double left, double top, double width, double height) {
    EXPECT_NEAR(r.left, left, 0.01);
    EXPECT_NEAR(r.top, top, 0.01);
    EXPECT_NEAR(r.width, width, 0.01);
    EXPECT_NEAR(r.height, height, 0.01);
}
} // namespace

TEST(ZoneGeometry, UnmagnifiedPageInAnAreaThatStartsBelowTheBands) {
    // Page 4666 wide at Left 2182, area 7030 high with its own Top at 600.
    const zones::Frame f{4666, 2182, 4666, 7030, 600};
    expectRect(zones::zoneRect(0, f), 6459.17, 1050, 388.83, 7030);
    expectRect(zones::zoneRect(1, f), 2182, 1050, 388.83, 7030);
    expectRect(zones::zoneRect(2, f), 2376.42, 5272.5, 4277.17, 1757.5);
    expectRect(zones::zoneRect(3, f), 2376.42, 200, 4277.17, 1757.5);
    expectRect(zones::zoneRect(4, f), 3737.33, 2343.33, 1555.33, 2343.33);
    expectRect(zones::zoneRect(5, f), 3737.33, 2343.33, 1555.33, 2343.33);
}

TEST(ZoneGeometry, MagnifiedPageWidensTheZonesButNotTheirHeights) {
    // Magnified to 9000 wide at Left 15 in the same area (Top 365 this time).
    const zones::Frame f{9000, 15, 9000, 7030, 365};
    expectRect(zones::zoneRect(0, f), 8265, 815, 750, 7030);
    expectRect(zones::zoneRect(1, f), 15, 815, 750, 7030);
    expectRect(zones::zoneRect(2, f), 390, 5272.5, 8250, 1757.5);
    expectRect(zones::zoneRect(4, f), 3015, 2343.33, 3000, 2343.33);
}

TEST(ZoneGeometry, UpperBandStays200BelowTheTopWhateverTheArea) {
    for (double area : {4000.0, 7030.0, 15000.0}) {
        const zones::Rect r = zones::zoneRect(3, {6000, 500, 6000, area, 365});
        EXPECT_DOUBLE_EQ(r.top, 200);
        EXPECT_DOUBLE_EQ(r.height, area / 4);
    }
}

TEST(ZoneGeometry, ForwardStripEndsAtThePagesRightEdgeAndOtherIndexesAreEmpty) {
    // The strip's right edge is Left + page width, even when the image is narrower.
    const zones::Rect r = zones::zoneRect(0, {1200, 100, 1000, 3000, 0});
    EXPECT_DOUBLE_EQ(r.left + r.width, 1100);
    const zones::Rect none = zones::zoneRect(6, {1200, 100, 1000, 3000, 0});
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
}

TEST(MagnifyGeometry, PortraitPageFillsTheWidthMagnifiedAndTheHeightReduced) {
    // Natural 12000 x 18000 in a 9030 x 7030 area (usable 9000 x 7000).
    const magnify::Fit m = magnify::magnified(12000, 18000, 9030, 7030);
    EXPECT_FLOAT_EQ(m.widthRatio, 4.0f / 3);
    EXPECT_FLOAT_EQ(m.heightRatio, 18.0f / 7);
    EXPECT_FLOAT_EQ(m.pageScale, 4.0f / 3);
    EXPECT_NEAR(m.pageWidth, 9000, 0.01);
    EXPECT_NEAR(m.pageHeight, 13500, 0.01);
    const magnify::Fit r = magnify::reduced(12000, 18000, 9030, 7030);
    EXPECT_FLOAT_EQ(r.pageScale, 18.0f / 7);
    EXPECT_NEAR(r.pageWidth, 4666.67, 0.01);
    EXPECT_NEAR(r.pageHeight, 7000, 0.01);
    EXPECT_NEAR(fit::centredLeft(9030, r.pageWidth), 2181.67, 0.01);
    EXPECT_NEAR(magnify::restingTop(7030, r.pageHeight), 30, 0.01);
}

TEST(MagnifyGeometry, SmallPictureKeepsItsNaturalSizeInBothPresentations) {
    // 6000 x 5000 fits 8400 x 7000 when loaded, but neither presentation enlarges it.
    for (const magnify::Fit& f :
         {magnify::magnified(6000, 5000, 9030, 7030), magnify::reduced(6000, 5000, 9030, 7030)}) {
        EXPECT_FLOAT_EQ(f.pageScale, 1.0f);
        EXPECT_DOUBLE_EQ(f.pageWidth, 6000);
        EXPECT_DOUBLE_EQ(f.pageHeight, 5000);
    }
    EXPECT_DOUBLE_EQ(magnify::restingTop(7030, 5000), 2030);
}

TEST(MagnifyGeometry, WideSheetHasOneSizeInBothPresentations) {
    // 18000 x 9000: the width limits it either way.
    const magnify::Fit m = magnify::magnified(18000, 9000, 9030, 7030);
    const magnify::Fit r = magnify::reduced(18000, 9000, 9030, 7030);
    EXPECT_DOUBLE_EQ(m.pageWidth, 9000);
    EXPECT_DOUBLE_EQ(m.pageHeight, 4500);
    EXPECT_DOUBLE_EQ(r.pageWidth, 9000);
    EXPECT_DOUBLE_EQ(r.pageHeight, 4500);
}

TEST(PanGeometry, MagnifiedPageGoesDownToItsLimitAndBack) {
    // A page 13500 high in an area 7030 high: steps of 1350, bottom limit -6470.
    EXPECT_FLOAT_EQ(pan::stepHeight(13500), 1350);
    const float ups[] = {-1335, -2685, -4035, -5385, -6470, -6470};
    const int counts[] = {1, 2, 3, 4, 5, 5};
    pan::Move m{15, 0, true, false};
    for (int i = 0; i < 6; ++i) {
        m = pan::up(m.step, m.top, 13500, 7030);
        EXPECT_FLOAT_EQ(m.top, ups[i]) << "step up " << i + 1;
        EXPECT_EQ(m.step, counts[i]) << "step up " << i + 1;
        EXPECT_EQ(m.upEnabled, i < 4) << "step up " << i + 1;
        EXPECT_TRUE(m.downEnabled);
    }
    const float downs[] = {-5385, -4035, -2685, -1335, 15, 15};
    for (int i = 0; i < 6; ++i) {
        m = pan::down(m.step, 13500);
        EXPECT_FLOAT_EQ(m.top, downs[i]) << "step down " << i + 1;
        EXPECT_EQ(m.step, std::max(4 - i, 0)) << "step down " << i + 1;
        EXPECT_TRUE(m.upEnabled);
        // The step that reaches the top still offers the down band; the next one removes it.
        EXPECT_EQ(m.downEnabled, i < 5) << "step down " << i + 1;
    }
}

TEST(PanGeometry, PageShorterThanTheAreaRestsOnItsLowerEdgeAndComesBack) {
    // 7000 high in 7030: one step lowers it to Top 30, the next step down lifts it to 15.
    pan::Move m = pan::up(0, 15, 7000, 7030);
    EXPECT_FLOAT_EQ(m.top, 30);
    EXPECT_EQ(m.step, 1);
    EXPECT_FALSE(m.upEnabled);
    m = pan::down(m.step, 7000);
    EXPECT_FLOAT_EQ(m.top, 15);
    EXPECT_EQ(m.step, 0);
}

TEST(PanGeometry, NegativeCountIsTakenAsTheTop) {
    const pan::Move up = pan::up(-3, 15, 13500, 7030);
    EXPECT_FLOAT_EQ(up.top, -1335);
    EXPECT_EQ(up.step, 1);
    const pan::Move down = pan::down(-2, 13500);
    EXPECT_FLOAT_EQ(down.top, 15);
    EXPECT_EQ(down.step, 0);
    EXPECT_FALSE(down.downEnabled);
}
