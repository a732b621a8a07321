// The pure geometry of the page display: a picture fitted into a box, the hot-zone rectangles
// and the pan steps, against figures worked out by hand.
#include "display/fit_geometry.h"
#include "display/pan_geometry.h"
#include "display/zone_geometry.h"

#include <gtest/gtest.h>

using namespace cvx;

TEST(FitGeometry, TheLargerRatioLimitsThePictureWhichIsCentred) {
    const struct {
        QSizeF natural, box;
        double width, height, left; // left: centred in a container 30 wider than the box
    } cases[] = {
        {{10000, 15000}, {9000, 7000}, 4666.67, 7000, 2181.67}, // the height limits it
        {{18000, 9000}, {9000, 7000}, 9000, 4500, 15},          // the width limits it
        {{900, 1350}, {9000, 7000}, 4666.67, 7000, 2181.67},    // a small picture is enlarged
        {{18000, 14000}, {9000, 7000}, 9000, 7000, 15},         // a tie
        {{16890, 10260}, {8445, 10260}, 8445, 5130, 15},        // the cover box
    };
    for (const auto& c : cases) {
        const fit::Fit f = fit::fitInto(c.natural, c.box);
        SCOPED_TRACE(testing::Message() << c.natural.width() << " x " << c.natural.height());
        EXPECT_NEAR(f.width, c.width, 0.01);
        EXPECT_NEAR(f.height, c.height, 0.01);
        EXPECT_NEAR(fit::centredLeft(c.box.width() + 30, f.width), c.left, 0.01);
    }
}

TEST(FitGeometry, CoverPointers) {
    // A cover shown at 8445 x 5130 at Left 0, Top 30, half of its box's height 2565.
    const std::array<QPointF, 6> expected = {QPointF(4147.5, 2565), QPointF(7920, 2565),
                                             QPointF(75, 2565),     QPointF(4147.5, 4635),
                                             QPointF(4147.5, 55),   QPointF(4147.5, 2565)};
    EXPECT_EQ(fit::coverPointers(0, 30, 8445, 5130, 2565), expected);
}

TEST(ZoneGeometry, RectanglesOfEachZone) {
    // A fitted page 4666 wide at Left 2182 in an area 7030 high at Top 600; magnified 9000 wide
    // at Left 15 in one at Top 365; an image wider than the page it shows.
    const zones::Frame fitted{4666, 2182, 4666, 7030, 600};
    const zones::Frame magnified{9000, 15, 9000, 7030, 365};
    const zones::Frame wide{1200, 100, 1000, 3000, 0};
    const struct {
        int zone;
        zones::Frame frame;
        double left, top, width, height;
    } cases[] = {
        {0, fitted, 6459.17, 1050, 388.83, 7030},
        {1, fitted, 2182, 1050, 388.83, 7030},
        {2, fitted, 2376.42, 5272.5, 4277.17, 1757.5},
        {3, fitted, 2376.42, 200, 4277.17, 1757.5},
        {4, fitted, 3737.33, 2343.33, 1555.33, 2343.33},
        {5, fitted, 3737.33, 2343.33, 1555.33, 2343.33},
        {0, magnified, 8265, 815, 750, 7030},
        {1, magnified, 15, 815, 750, 7030},
        {2, magnified, 390, 5272.5, 8250, 1757.5},
        {3, magnified, 390, 200, 8250, 1757.5},
        {4, magnified, 3015, 2343.33, 3000, 2343.33},
        {0, wide, 1000, 450, 100, 3000}, // ends at the page's right edge, not the image's
        {6, fitted, 0, 0, 0, 0},
        {7, fitted, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const zones::Rect r = zones::zoneRect(c.zone, c.frame);
        SCOPED_TRACE(testing::Message()
                     << "zone " << c.zone << " in a frame " << c.frame.imageWidth << " wide");
        EXPECT_NEAR(r.left, c.left, 0.01);
        EXPECT_NEAR(r.top, c.top, 0.01);
        EXPECT_NEAR(r.width, c.width, 0.01);
        EXPECT_NEAR(r.height, c.height, 0.01);
    }
}

namespace {
// A pan step ('u' up, 'd' down) and where it leaves the page.
struct Step {
    char way;
    float top;
    int step;
    bool up, down;
};

void expectSteps(double imageHeight, double areaHeight, pan::Move m, std::vector<Step> steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        m = s.way == 'u' ? pan::up(m.step, m.top, imageHeight, areaHeight)
                         : pan::down(m.step, imageHeight);
        SCOPED_TRACE(testing::Message() << "step " << i + 1 << " " << s.way);
        EXPECT_FLOAT_EQ(m.top, s.top);
        EXPECT_EQ(m.step, s.step);
        EXPECT_EQ(m.upEnabled, s.up);
        EXPECT_EQ(m.downEnabled, s.down);
    }
}
} // namespace

TEST(PanGeometry, MagnifiedPageGoesDownToItsLimitAndBack) {
    // A page 13500 high in an area 7030 high: steps of 1350, lower limit 7030 - 13500 = -6470,
    // reached by a partial fifth step; at the top, one more step down only removes the band.
    EXPECT_FLOAT_EQ(pan::stepHeight(13500), 1350);
    expectSteps(13500, 7030, {15, 0, true, false},
                {{'u', -1335, 1, true, true},
                 {'u', -2685, 2, true, true},
                 {'u', -4035, 3, true, true},
                 {'u', -5385, 4, true, true},
                 {'u', -6470, 5, false, true},
                 {'u', -6470, 5, false, true},
                 {'d', -5385, 4, true, true},
                 {'d', -4035, 3, true, true},
                 {'d', -2685, 2, true, true},
                 {'d', -1335, 1, true, true},
                 {'d', 15, 0, true, true},
                 {'d', 15, 0, true, false}});
}

TEST(PanGeometry, AFullStepThatEndsExactlyAtTheLimitIsTheLastStep) {
    // A page 10000 high in an area 5015 high: steps of 1000 to 15 - 5 x 1000 = -4985, which is
    // the lower limit 5015 - 10000 itself: the fifth step takes the up band away.
    expectSteps(10000, 5015, {15, 0, true, false},
                {{'u', -985, 1, true, true},
                 {'u', -1985, 2, true, true},
                 {'u', -2985, 3, true, true},
                 {'u', -3985, 4, true, true},
                 {'u', -4985, 5, false, true},
                 {'u', -4985, 5, false, true},
                 {'d', -3985, 4, true, true}});
}

TEST(PanGeometry, PageShorterThanTheAreaRestsOnItsLowerEdgeAndComesBack) {
    // 7000 high in 7030: one step lowers it to Top 30, the next step down lifts it to 15.
    expectSteps(7000, 7030, {15, 0, true, false},
                {{'u', 30, 1, false, true}, {'u', 30, 1, false, true}, {'d', 15, 0, true, true}});
}

TEST(PanGeometry, NegativeCountIsTakenAsTheTop) {
    expectSteps(13500, 7030, {15, -3, true, false}, {{'u', -1335, 1, true, true}});
    expectSteps(13500, 7030, {15, -2, true, false}, {{'d', 15, 0, true, false}});
}
