// The book and page selectors: characters typed into them, the Enter key and the Enter picture,
// and what a pick of a book or a page shows.
#include "tests/archive/archive_fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// A started viewer whose page selector has the keyboard focus and an empty text.
struct Typing {
    Typing() {
        EXPECT_FALSE(v.start());
        QApplication::setActiveWindow(v.form.get());
    }
    QWidget* focusOn(Selector& selector) {
        selector.setText(QString());
        selector.SetFocus();
        return QApplication::focusWidget();
    }
    Viewer v;
};
} // namespace

TEST(PageSelectorKeys, CommaBecomesAFullStopAndLettersAreDiscarded) {
    Typing t;
    QWidget* target = t.focusOn(*t.v.form->Combo1);
    ASSERT_NE(target, nullptr);
    QTest::keyClicks(target, QStringLiteral("1a2, \"5"));
    EXPECT_EQ(t.v.form->Combo1->Text(), "12.5");
}

TEST(PageSelectorKeys, AtMostFiveCharactersAndBackspaceStillWorks) {
    Typing t;
    QWidget* target = t.focusOn(*t.v.form->Combo1);
    QTest::keyClicks(target, QStringLiteral("123456"));
    EXPECT_EQ(t.v.form->Combo1->Text(), "12345");
    QTest::keyClick(target, Qt::Key_Backspace);
    EXPECT_EQ(t.v.form->Combo1->Text(), "1234");
    QTest::keyClicks(target, QStringLiteral("9"));
    EXPECT_EQ(t.v.form->Combo1->Text(), "12349");
}

TEST(PageSelectorKeys, FilterCodesOneByOne) {
    Typing t;
    BookForm& f = *t.v.form;
    f.Combo1->setText("12");
    const int in[] = {'0', '9', 44, 46, 8, 'a', ' ', '"', '/', ':'};
    const int out[] = {'0', '9', 46, 46, 8, 0, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i) {
        int code = in[i];
        f.Combo1_KeyPress(code);
        EXPECT_EQ(code, out[i]) << in[i];
    }
    f.Combo1->setText("12345");
    int digit = '7';
    f.Combo1_KeyPress(digit);
    EXPECT_EQ(digit, 0);
    int backspace = 8;
    f.Combo1_KeyPress(backspace);
    EXPECT_EQ(backspace, 8);
    EXPECT_TRUE(t.v.platform.boxes.empty());
}

TEST(PageSelectorKeys, EnterLooksThePageUpOnceAndAddsNothing) {
    Typing t;
    BookForm& f = *t.v.form;
    QWidget* target = t.focusOn(*f.Combo1);
    QTest::keyClicks(target, QStringLiteral("9999"));
    QTest::keyClick(target, Qt::Key_Return);
    // One lookup: the one message that no page carries 9999, then the last page of the last
    // book whose first number it passes.
    ASSERT_EQ(t.v.platform.boxes.size(), 1u);
    EXPECT_EQ(t.v.platform.boxes[0].text,
              "IL NUMERO DIGITATO NON CORRISPONDE a nessuna pagina dell'intero TESTO\r");
    EXPECT_EQ(f.Combo2->ListIndex(), 2);
    EXPECT_EQ(f.Combo1->Text(), "0007");
    EXPECT_EQ(f.Combo1->ListCount(), 3);
    EXPECT_EQ(f.Combo1->combo()->count(), 3);
}

TEST(PageSelectorKeys, EnterOnAPageShowsIt) {
    Typing t;
    BookForm& f = *t.v.form;
    QWidget* target = t.focusOn(*f.Combo1);
    QTest::keyClicks(target, QStringLiteral("5"));
    QTest::keyClick(target, Qt::Key_Enter);
    EXPECT_TRUE(t.v.platform.boxes.empty());
    EXPECT_EQ(f.Combo2->ListIndex(), 2);
    EXPECT_EQ(f.Combo1->Text(), "0005");
    EXPECT_EQ(contentOf(t.v.volume.workImagePath()),
              pack::padded(t.v.volume.plan.books[2].pages[1]));
}

TEST(BookSelectorKeys, TypingChangesNothing) {
    Typing t;
    BookForm& f = *t.v.form;
    f.Combo2->SetFocus();
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    const QString before = f.Combo2->Text();
    QTest::keyClicks(target, QStringLiteral("x1 "));
    QTest::keyClick(target, Qt::Key_Backspace);
    EXPECT_EQ(f.Combo2->Text(), before);
    EXPECT_EQ(f.Combo2->ListIndex(), 0);
    int code = 'q';
    f.Combo2_KeyPress(code);
    EXPECT_EQ(code, 13);
}

TEST(Selectors, PickingABookOpensItAtItsFirstPageWithKeyPreview) {
    Typing t;
    BookForm& f = *t.v.form;
    f.setKeyPreview(false);
    f.Picture1->setVisible(true);
    t.v.event([&] { f.Combo2->setListIndex(1); });
    EXPECT_EQ(f.Combo1->Text(), "001d");
    EXPECT_EQ(f.place.CurrentPageIndex, 0);
    EXPECT_EQ(f.Combo1->ListIndex(), -1);
    EXPECT_FALSE(f.Picture1->Visible());
    EXPECT_TRUE(f.keyPreview());
    EXPECT_TRUE(f.Image1->Visible());
    EXPECT_FALSE(f.Image5->Visible());
    EXPECT_FALSE(f.Image6->Visible());
    EXPECT_EQ(contentOf(t.v.volume.workImagePath()),
              pack::padded(t.v.volume.plan.books[1].pages[0]));
}

TEST(Selectors, PickingAPageWhileMagnifiedStartsFromTheTop) {
    Typing t;
    BookForm& f = *t.v.form;
    f.view.Magnified = True;
    f.view.PanStep = 3;
    f.Label8->setCaption("3");
    t.v.event([&] { f.Combo1->setListIndex(2); });
    EXPECT_EQ(f.view.PanStep, 0);
    EXPECT_EQ(f.Label8->Caption(), "0");
    EXPECT_EQ(f.view.Magnified, True);
    EXPECT_EQ(f.Combo1->Text(), "0003");
}

TEST(Selectors, EnterPictureClosesTheInstructionsAndLooksUp) {
    Typing t;
    BookForm& f = *t.v.form;
    f.Picture1->setVisible(true);
    f.Combo1->setText("3");
    t.v.event([&] { f.Picture5->onClick(); });
    EXPECT_FALSE(f.Picture1->Visible());
    EXPECT_EQ(f.Combo2->ListIndex(), 2);
    EXPECT_EQ(f.Combo1->Text(), "0003");
    EXPECT_EQ(f.TypedNumber, 3);
}
