// The keyboard commands of a started viewer: every key of the table, the keys that act only
// in some states, keys pressed while a selector has the focus, and the additions' keys on other
// layouts and under the specified panels.
#include "tests/support/viewer.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// Key codes.
constexpr int Enter = 13, Shift = 16, Esc = 27, PageUp = 33, PageDown = 34, End = 35, Up = 38,
              Right = 39, Down = 40, N = 78, S = 83, F1 = 112, F2 = 113, F3 = 114, F5 = 116,
              Plus = 187;
} // namespace

TEST(Keyboard, ShiftMagnifiesAndReducesByTheFlagAlone) {
    Viewer r(largePageVolume());
    BookForm& f = *r.form;
    r.key(Shift);
    EXPECT_EQ(f.view.Magnified, True);
    EXPECT_NEAR(f.Image1->Width(), 19140, 0.01);
    r.key(Down);
    ASSERT_EQ(f.view.PanStep, 1);
    r.key(Shift);
    EXPECT_EQ(f.view.Magnified, False);
    EXPECT_EQ(f.view.PanStep, 0);
    // The zones play no part: with the closing panel's zones off, Shift still magnifies.
    f.Command1_Click();
    r.key(Shift);
    EXPECT_EQ(f.view.Magnified, True);
}

TEST(Keyboard, VerticalKeysPanTheMagnifiedPage) {
    Viewer r(largePageVolume());
    BookForm& f = *r.form;
    r.key(Shift);
    // Magnified 19140 x 28710 in an area 14980 high: steps of 2871.
    r.key(Down);
    EXPECT_FLOAT_EQ(f.Image1->Top(), -2856);
    r.key(PageDown);
    EXPECT_FLOAT_EQ(f.Image1->Top(), -5727);
    EXPECT_EQ(f.Label8->Caption(), "2");
    r.key(Up);
    EXPECT_FLOAT_EQ(f.Image1->Top(), -2856);
    r.key(PageUp);
    EXPECT_FLOAT_EQ(f.Image1->Top(), 15);
    EXPECT_EQ(f.view.PanStep, 0);
}

TEST(Keyboard, EscAndEndOpenTheClosingPanelWhereSAndNAnswer) {
    const struct {
        int open, answer;
        QByteArray bookmark;
    } cases[] = {{Esc, S, " 0\r\n 3\r\n"}, {End, N, ""}};
    for (const auto& c : cases) {
        Viewer r;
        BookForm& f = *r.form;
        r.openAt(0, 3);
        r.key(S); // S and N act only while the closing panel is shown
        r.key(N);
        EXPECT_FALSE(r.platform.ended);
        EXPECT_TRUE(r.showing(0, 3));
        r.key(c.open);
        EXPECT_TRUE(f.Picture7->Visible());
        EXPECT_EQ(f.CountdownTicks, 80);
        f.CountdownTicks = 30;
        r.key(c.open); // again: the countdown restarts
        EXPECT_EQ(f.CountdownTicks, 80);
        EXPECT_THROW(r.key(c.answer), ProgramEnded);
        EXPECT_EQ(contentOf(r.volume.bookmarkPath()), c.bookmark);
    }
}

TEST(Keyboard, FunctionKeysReachTheSelectorsAndTheInstructions) {
    Viewer r;
    BookForm& f = *r.form;
    r.focus(f.SCHERMO->widget());
    r.key(F1);
    EXPECT_EQ(QApplication::focusWidget(), f.Combo2->widget());
    r.key(F2);
    EXPECT_EQ(QApplication::focusWidget(), f.Combo1->widget());
    r.key(Enter);
    EXPECT_EQ(QApplication::focusWidget(), f.SCHERMO->widget());

    r.key(F3); // the instructions open and the selectors are disabled
    ASSERT_TRUE(f.Picture1->Visible());
    r.key(F1);
    r.key(F2);
    EXPECT_EQ(QApplication::focusWidget(), f.SCHERMO->widget());
    r.key(F3);
    EXPECT_FALSE(f.Picture1->Visible());
    r.key(F1);
    EXPECT_EQ(QApplication::focusWidget(), f.Combo2->widget());
}

TEST(Keyboard, KeysOutsideTheTableDoNothing) {
    Viewer r;
    BookForm& f = *r.form;
    r.focus(f.SCHERMO->widget());
    for (int code : {0, 8, 9, 17, 18, 32, 36, 45, 46, 65, 90, 123}) {
        r.key(code);
        SCOPED_TRACE(code);
        EXPECT_TRUE(r.showing(0, 0));
        EXPECT_EQ(f.view.Magnified, False);
        EXPECT_EQ(f.view.PanStep, 0);
        EXPECT_FALSE(f.Picture1->Visible());
        EXPECT_FALSE(f.Picture7->Visible());
        EXPECT_EQ(QApplication::focusWidget(), f.SCHERMO->widget());
    }
    EXPECT_TRUE(r.newBoxes().isEmpty());
}

TEST(Keyboard, KeysReachTheWindowWhileASelectorHasTheFocus) {
    Viewer r;
    BookForm& f = *r.form;
    r.focus(f.Combo1->widget());
    r.press(Qt::Key_Right);
    EXPECT_TRUE(r.showing(0, 1));
    r.focus(f.Combo2->widget());
    r.press(Qt::Key_Left);
    EXPECT_TRUE(r.showing(0, 0));
    r.press(Qt::Key_Shift);
    EXPECT_EQ(f.view.Magnified, True);
    r.press(Qt::Key_Shift);
    EXPECT_EQ(f.view.Magnified, False);
    r.press(Qt::Key_F3);
    EXPECT_TRUE(f.Picture1->Visible());
    r.press(Qt::Key_F3);
    EXPECT_FALSE(f.Picture1->Visible());
}

TEST(Keyboard, TheKeyStillReachesTheSelectorAfterTheWindow) {
    Viewer r;
    BookForm& f = *r.form;
    r.focus(f.Combo2->widget());
    // Down runs the pan step first, then moves the book selector to the next book.
    r.press(Qt::Key_Down);
    EXPECT_EQ(f.view.PanStep, 1);
    EXPECT_EQ(r.book(), 1);
    EXPECT_TRUE(r.showing(1, 0));
    EXPECT_TRUE(f.keyPreview());
}

TEST(Keyboard, EnterInThePageSelectorLooksTheNumberUpAndLeavesIt) {
    Viewer r;
    BookForm& f = *r.form;
    r.focus(f.Combo1->widget());
    f.Combo1->setText(QString());
    r.type(QStringLiteral("3"));
    EXPECT_EQ(f.Combo1->Text(), "3");
    r.press(Qt::Key_Return);
    // Whichever book carries the number, its page is shown and the selector shows its label.
    EXPECT_EQ(numericValue(r.pageText()), 3);
    EXPECT_TRUE(r.showing(r.book(), f.place.CurrentPageIndex));
    EXPECT_FALSE(r.showing(0, 0));
    EXPECT_EQ(QApplication::focusWidget(), f.SCHERMO->widget());
    EXPECT_TRUE(r.newBoxes().isEmpty());
}

TEST(Keyboard, EqualsZoomsInWhereThePlusNeedsShift) {
    Viewer r(largePageVolume());
    BookForm& f = *r.form;
    r.focus(f.SCHERMO->widget());
    r.press(Qt::Key_Equal); // a US layout's unshifted = : two steps in
    ASSERT_TRUE(f.zoomed());
    const double first = f.ZoomView->layout().scale;
    r.press(Qt::Key_Equal);
    EXPECT_GT(f.ZoomView->layout().scale, first);
    // Shift+= sends Shift first: the magnifier, as always, then + zooms the magnified page.
    r.press(Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(f.view.Magnified, True);
    EXPECT_TRUE(f.zoomed());
}

TEST(Keyboard, UnderTheSpecifiedPanelsTheAdditionsDoNothingAndTheArrowsTurn) {
    for (const int panel : {F3, Esc}) {
        SCOPED_TRACE(panel);
        Viewer r(largePageVolume());
        BookForm& f = *r.form;
        r.key(panel);
        r.key(F5);
        r.key(Plus);
        EXPECT_FALSE(f.overview().isOpen());
        EXPECT_FALSE(f.zoomed());
        r.key(Right);
        EXPECT_TRUE(r.showing(0, 1));
        EXPECT_EQ(f.Picture7->Visible(), panel == Esc); // a forward turn closes the instructions
    }
}

TEST(Keyboard, KeysThatDoNothingLeaveTheZoomAndTheOverview) {
    Viewer r(largePageVolume());
    BookForm& f = *r.form;
    r.key(Plus);
    for (const int code : {N, S, 65})
        r.key(code);
    EXPECT_TRUE(f.zoomed());
    r.key(F5);
    for (const int code : {N, S, 65})
        r.key(code);
    EXPECT_TRUE(f.overview().isOpen());
    r.key(Shift); // a command the overview leaves to the window
    EXPECT_FALSE(f.overview().isOpen());
    EXPECT_EQ(f.view.Magnified, True);
}
