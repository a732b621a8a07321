// The book and page selectors: characters typed into them, the Enter key and the Enter picture,
// and what a pick of a book or a page shows.
#include "tests/support/viewer.h"

#include <QComboBox>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

TEST(PageSelectorKeys, DigitsAndAFullStopOnlyAtMostFive) {
    Viewer v;
    BookForm& f = *v.form;
    // Every code the page selector's key handler sees, and what it lets through: the codes next
    // to the digits ('/' and ':') are discarded with letters, blanks and quotes.
    f.Combo1->setText("12");
    const std::pair<int, int> codes[] = {{'0', '0'}, {'9', '9'}, {',', '.'}, {'.', '.'}, {8, 8},
                                         {'a', 0},   {' ', 0},   {'"', 0},   {'/', 0},   {':', 0}};
    for (const auto& [in, out] : codes) {
        int code = in;
        f.Combo1_KeyPress(code);
        EXPECT_EQ(code, out) << in;
    }
    // The same through real keys, with the fifth character the last.
    v.focus(f.Combo1->widget());
    f.Combo1->setText(QString());
    v.type(QStringLiteral("1a2, \"5"));
    EXPECT_EQ(f.Combo1->Text(), "12.5");
    v.type(QStringLiteral("67"));
    EXPECT_EQ(f.Combo1->Text(), "12.56");
    v.press(Qt::Key_Backspace);
    EXPECT_EQ(f.Combo1->Text(), "12.5");
    EXPECT_TRUE(v.platform.boxes.empty());
}

TEST(PageSelectorKeys, EnterLooksThePageUpOnceAndAddsNothing) {
    Viewer v;
    BookForm& f = *v.form;
    v.focus(f.Combo1->widget());
    f.Combo1->setText(QString());
    v.type(QStringLiteral("9999"));
    v.press(Qt::Key_Return);
    // One lookup: the one message that no page carries 9999, then the last page of the last
    // book whose first number it passes.
    EXPECT_EQ(
        v.newBoxes(),
        QStringList{"IL NUMERO DIGITATO NON CORRISPONDE a nessuna pagina dell'intero TESTO\r"});
    EXPECT_EQ(v.book(), 2);
    EXPECT_EQ(v.pageText(), "0007");
    EXPECT_EQ(f.Combo1->ListCount(), 3);
    EXPECT_EQ(f.Combo1->combo()->count(), 3);
}

TEST(BookSelectorKeys, TypingChangesNothing) {
    Viewer v;
    BookForm& f = *v.form;
    v.focus(f.Combo2->widget());
    const QString before = f.Combo2->Text();
    v.type(QStringLiteral("x1 "));
    v.press(Qt::Key_Backspace);
    EXPECT_EQ(f.Combo2->Text(), before);
    EXPECT_EQ(v.book(), 0);
    int code = 'q';
    f.Combo2_KeyPress(code);
    EXPECT_EQ(code, 13);
}

TEST(Selectors, PickingABookOpensItAtItsFirstPageWithKeyPreview) {
    Viewer v;
    BookForm& f = *v.form;
    f.setKeyPreview(false);
    f.Picture1->setVisible(true);
    f.Image1->setTop(-300);
    v.event([&] { f.Combo2->setListIndex(1); });
    EXPECT_EQ(f.place.ArchivePath, "dv00002.ex_");
    EXPECT_EQ(v.pageText(), "001d");
    EXPECT_EQ(f.place.CurrentPageIndex, 0);
    EXPECT_EQ(f.Combo1->ListIndex(), -1);
    EXPECT_FALSE(f.Picture1->Visible());
    EXPECT_TRUE(f.keyPreview());
    EXPECT_TRUE(f.Image1->Visible());
    EXPECT_EQ(f.Image1->Top(), 15);
    EXPECT_FALSE(f.Image5->Visible());
    EXPECT_FALSE(f.Image6->Visible());
    EXPECT_TRUE(v.showing(1, 0));
}

TEST(Selectors, PickingAPageWhileMagnifiedStartsFromTheTop) {
    Viewer v;
    BookForm& f = *v.form;
    f.view.Magnified = True;
    f.view.PanStep = 3;
    f.Label8->setCaption("3");
    v.event([&] { f.Combo1->setListIndex(2); });
    EXPECT_EQ(f.view.PanStep, 0);
    EXPECT_EQ(f.Label8->Caption(), "0");
    EXPECT_EQ(f.view.Magnified, True);
    EXPECT_EQ(v.pageText(), "0003");
}

TEST(Selectors, EnterPictureClosesTheInstructionsAndLooksUp) {
    Viewer v;
    BookForm& f = *v.form;
    f.Picture1->setVisible(true);
    f.Combo1->setText("3");
    v.event([&] { f.Picture5->onClick(); });
    EXPECT_FALSE(f.Picture1->Visible());
    EXPECT_EQ(v.book(), 2);
    EXPECT_EQ(v.pageText(), "0003");
    EXPECT_EQ(f.TypedNumber, 3);
}
