// Panning on a loose page: the magnified page moves in tenths of its height between its top
// and its bottom limit, the counter follows, and the bands offer only the moves still possible.
#include "tests/display/loose_page.h"

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

TEST(Panning, MagnifiedPageStepsDownToItsLimitAndBackToTheTop) {
    LoosePage page; // magnified: 9000 x 13500 in an area 7030 high
    BookForm& f = *page.form;
    f.Image8_Click(4);
    const double ups[] = {-1335, -2685, -4035, -5385, -6470, -6470};
    const char* counts[] = {"1", "2", "3", "4", "5", "5"};
    for (int i = 0; i < 6; ++i) {
        f.PAGSU();
        SCOPED_TRACE(i + 1);
        EXPECT_FLOAT_EQ(f.Image1->Top(), ups[i]);
        EXPECT_EQ(f.Label8->Caption(), counts[i]);
        EXPECT_EQ(f.Image8[2]->Enabled(), i < 4); // the up band goes at the bottom limit
        EXPECT_TRUE(f.Image8[3]->Enabled());
        EXPECT_TRUE(f.Image1->Visible());
        EXPECT_FLOAT_EQ(f.view.PanStepHeight, 1350);
    }
    EXPECT_EQ(f.view.PanStep, 5);
    const double downs[] = {-5385, -4035, -2685, -1335, 15, 15};
    const char* back[] = {"4", "3", "2", "1", "0", "0"};
    for (int i = 0; i < 6; ++i) {
        f.PAGGIU();
        SCOPED_TRACE(-(i + 1));
        EXPECT_FLOAT_EQ(f.Image1->Top(), downs[i]);
        EXPECT_EQ(f.Label8->Caption(), back[i]);
        EXPECT_TRUE(f.Image8[2]->Enabled());
        // Only the extra step at the top takes the down band away.
        EXPECT_EQ(f.Image8[3]->Enabled(), i < 5);
    }
    EXPECT_EQ(f.view.PanStep, 0);
}

TEST(Panning, BandsStayOnTheViewingAreaWhileThePageMoves) {
    LoosePage page;
    BookForm& f = *page.form;
    f.Image8_Click(4);
    const double bandTop = f.Image8[2]->Top();
    const double stripTop = f.Image8[0]->Top();
    f.PAGSU();
    f.PAGSU();
    EXPECT_DOUBLE_EQ(f.Image8[2]->Top(), bandTop);
    EXPECT_DOUBLE_EQ(f.Image8[3]->Top(), 200);
    EXPECT_DOUBLE_EQ(f.Image8[0]->Top(), stripTop);
    EXPECT_DOUBLE_EQ(f.Image8[2]->Top(), 7030 - 7030 / 4.0);
}

TEST(Panning, UnmagnifiedPageIsLoweredOntoTheEdgeAndLiftedBack) {
    LoosePage page(QSize(400, 300)); // 6000 x 4500 shown at its natural size
    BookForm& f = *page.form;
    f.Image1->setTop(15);
    f.PAGSU();
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 2530);
    EXPECT_EQ(f.view.PanStep, 1);
    EXPECT_FALSE(f.Image8[2]->Enabled());
    f.PAGGIU();
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 15);
    EXPECT_EQ(f.Label8->Caption(), "0");
}

TEST(Panning, AtTheTopPagGiuKeepsThePageAndANegativeCountStartsAtZero) {
    LoosePage page;
    BookForm& f = *page.form;
    f.Image8_Click(4);
    f.PAGGIU();
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 15);
    EXPECT_EQ(f.view.PanStep, 0);
    EXPECT_FALSE(f.Image8[3]->Enabled());
    f.view.PanStep = -2;
    f.PAGSU();
    EXPECT_FLOAT_EQ(f.Image1->Top(), -1335);
    EXPECT_EQ(f.Label8->Caption(), "1");
}

TEST(Panning, PagSuRecentresThePageHorizontally) {
    LoosePage page;
    BookForm& f = *page.form;
    f.Image8_Click(4);
    f.Image1->setLeft(700);
    f.PAGSU();
    EXPECT_NEAR(f.Image1->Left(), 15, 0.01);
    EXPECT_NEAR(f.Image8[1]->Left(), 15, 0.01); // the zones follow the re-centred page
}
