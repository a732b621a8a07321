// Panning on a loose page: the magnified page moves in tenths of its height between its top and
// its lower limit, the counter follows, the bands stay where they are and offer only the moves
// still possible.
#include "tests/support/viewer.h"

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

TEST(Panning, MagnifiedPageStepsDownToItsLimitAndBackToTheTop) {
    Viewer v;
    v.showLoosePage(); // magnified: 9000 x 13500 in an area 7030 high
    BookForm& f = *v.form;
    f.Image8_Click(4);
    f.Image1->setLeft(700);
    const double bandTop = f.Image8[2]->Top(), stripTop = f.Image8[0]->Top();
    const struct {
        bool up;
        double top;
        const char* count;
    } steps[] = {{true, -1335, "1"},  {true, -2685, "2"},  {true, -4035, "3"},  {true, -5385, "4"},
                 {true, -6470, "5"},  {true, -6470, "5"},  {false, -5385, "4"}, {false, -4035, "3"},
                 {false, -2685, "2"}, {false, -1335, "1"}, {false, 15, "0"},    {false, 15, "0"}};
    for (const auto& s : steps) {
        s.up ? f.PAGSU() : f.PAGGIU();
        SCOPED_TRACE(testing::Message() << (s.up ? "up to " : "down to ") << s.top);
        EXPECT_FLOAT_EQ(f.Image1->Top(), s.top);
        EXPECT_EQ(f.Label8->Caption(), s.count);
        EXPECT_EQ(f.view.PanStep, QString(s.count).toInt());
        EXPECT_TRUE(f.Image1->Visible());
        EXPECT_DOUBLE_EQ(f.Image8[2]->Top(), bandTop);
        EXPECT_DOUBLE_EQ(f.Image8[3]->Top(), 200);
        EXPECT_DOUBLE_EQ(f.Image8[0]->Top(), stripTop);
        // PAGSU puts the page back in the middle, and the zones follow it.
        EXPECT_NEAR(f.Image1->Left(), 15, 0.01);
        EXPECT_NEAR(f.Image8[1]->Left(), 15, 0.01);
    }
    EXPECT_DOUBLE_EQ(bandTop, 7030 - 7030 / 4.0);
}

TEST(Panning, UnmagnifiedPageIsLoweredOntoTheEdgeAndLiftedBack) {
    Viewer v;
    v.showLoosePage(QSize(400, 300)); // 6000 x 4500 shown at its natural size
    BookForm& f = *v.form;
    f.Image1->setTop(15);
    f.PAGSU();
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 2530);
    EXPECT_EQ(f.view.PanStep, 1);
    EXPECT_FALSE(f.Image8[2]->Enabled());
    f.PAGGIU();
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 15);
    EXPECT_EQ(f.Label8->Caption(), "0");
}
