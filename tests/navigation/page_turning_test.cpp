// Page turns across the books of a test volume (4 pages, 5 sheets' sides, 3 openings): inside a
// book, into the next and previous book, at both ends of the volume, while magnified and with
// the instructions panel open.
#include "tests/navigation/reader.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
constexpr int kRight = 39, kLeft = 37;
const QString kEnd = QStringLiteral("ATTENZIONE: Raggiunta la FINE del Libro");
const QString kNext = QStringLiteral("Apro il LIBRO seguente");
const QString kPrevious = QStringLiteral("Apro il LIBRO precedente");
} // namespace

TEST(PageTurning, ForwardAndBackInsideABook) {
    Reader r;
    ASSERT_TRUE(r.showing(0, 0));
    r.key(kRight);
    EXPECT_TRUE(r.showing(0, 1));
    EXPECT_EQ(r.form->place.CurrentPageIndex, 1);
    EXPECT_EQ(r.pageText(), r.form->Combo1->List(1));
    r.key(kRight);
    r.key(kLeft);
    EXPECT_TRUE(r.showing(0, 1));
    EXPECT_EQ(r.pageText(), r.form->Combo1->List(1));
    EXPECT_TRUE(r.newBoxes().isEmpty());
    EXPECT_TRUE(r.form->Image1->Visible());
    EXPECT_FALSE(r.form->Image5->Visible());
    EXPECT_FALSE(r.form->Image6->Visible());
}

TEST(PageTurning, PastTheLastPageTheNextBookOpensAtItsFirstPage) {
    Reader r;
    r.openAt(0, 3);
    bool turningShown = false;
    QString textDuringBox = QStringLiteral("?");
    r.platform.onBox = [&](const ShownBox&) {
        turningShown = r.form->Image6->Visible();
        textDuringBox = r.pageText();
    };
    r.key(kRight);
    ASSERT_EQ(r.newBoxes(), QStringList{kNext});
    EXPECT_EQ(r.platform.boxes.back().style, kStyleOk);
    EXPECT_TRUE(r.platform.boxes.back().title.isEmpty()); // the application's own title
    EXPECT_TRUE(turningShown);
    EXPECT_EQ(textDuringBox, ""); // past the list's end until the box is answered
    EXPECT_EQ(r.book(), 1);
    EXPECT_EQ(r.form->Combo2->Text(), r.form->Combo2->List(1));
    EXPECT_TRUE(r.showing(1, 0));
    EXPECT_EQ(r.form->place.CurrentPageIndex, 0);
    const QString first = r.form->Combo1->List(0);
    EXPECT_EQ(r.pageText(), first);
    EXPECT_EQ(r.form->place.PageLabel.text(), first.leftJustified(4, QLatin1Char(' ')).left(4));
    EXPECT_EQ(r.form->place.PageNumber, toInteger(numericValue(first)));
    EXPECT_FALSE(r.form->Image6->Visible());
    EXPECT_TRUE(r.form->keyPreview());
}

TEST(PageTurning, AtTheLastPageOfTheLastBookTheVolumeEnds) {
    Reader r;
    r.openAt(2, 2);
    r.key(kRight);
    ASSERT_EQ(r.newBoxes(), QStringList{kEnd});
    EXPECT_EQ(r.platform.boxes.back().style, kStyleOk);
    EXPECT_TRUE(r.platform.boxes.back().title.isEmpty());
    EXPECT_EQ(r.book(), 2);
    EXPECT_EQ(r.form->place.CurrentPageIndex, 2);
    EXPECT_EQ(r.form->Combo1->ListIndex(), 2);
    EXPECT_EQ(r.pageText(), r.form->Combo1->List(2));
    EXPECT_TRUE(r.showing(2, 2));
    EXPECT_TRUE(r.form->Image1->Visible());
    EXPECT_FALSE(r.form->Image6->Visible());
    // Again and again: the same refusal, the same page.
    r.key(kRight);
    EXPECT_EQ(r.newBoxes(), QStringList{kEnd});
    EXPECT_TRUE(r.showing(2, 2));
}

TEST(PageTurning, BeforeTheFirstPageThePreviousBookOpensAtItsLastPage) {
    Reader r;
    r.openAt(2, 0);
    r.key(kLeft);
    ASSERT_EQ(r.newBoxes(), QStringList{kPrevious});
    EXPECT_TRUE(r.platform.boxes.back().title.isEmpty());
    EXPECT_EQ(r.book(), 1);
    EXPECT_EQ(r.form->place.CurrentPageIndex, 4);
    EXPECT_EQ(r.pageText(), r.form->Combo1->List(4));
    EXPECT_TRUE(r.showing(1, 4));
    EXPECT_FALSE(r.form->Image5->Visible());
}

TEST(PageTurning, BeforeTheFirstPageOfTheFirstBookItOpensAgainAtItsLastPage) {
    Reader r;
    r.key(kLeft);
    ASSERT_EQ(r.newBoxes(), QStringList{kPrevious});
    EXPECT_EQ(r.book(), 0);
    EXPECT_EQ(r.form->place.CurrentPageIndex, 3);
    EXPECT_EQ(r.pageText(), r.form->Combo1->List(3));
    EXPECT_TRUE(r.showing(0, 3));
}

TEST(PageTurning, MagnifiedPagesStayMagnifiedFromTheirTop) {
    Reader r(largePageVolume());
    BookForm& f = *r.form;
    f.Image8_Click(4);
    f.PAGSU();
    f.PAGSU();
    ASSERT_EQ(f.view.PanStep, 2);
    ASSERT_LT(f.Image1->Top(), 0);
    const auto expectMagnifiedAtTop = [&] {
        EXPECT_EQ(f.view.Magnified, True);
        EXPECT_EQ(f.view.PanStep, 0);
        EXPECT_EQ(f.Label8->Caption(), "0");
        EXPECT_DOUBLE_EQ(f.Image1->Top(), 15);
        EXPECT_NEAR(f.Image1->Width(), 19140, 0.01);
        EXPECT_TRUE(f.Image8[2]->Enabled());
        EXPECT_FALSE(f.Image8[3]->Enabled());
        EXPECT_TRUE(f.Image8[5]->Enabled());
        EXPECT_FALSE(f.Image8[4]->Enabled());
    };
    r.key(kRight); // inside the book
    EXPECT_TRUE(r.showing(0, 1));
    expectMagnifiedAtTop();
    f.PAGSU();
    r.key(kRight);
    r.key(kRight); // into the next book
    EXPECT_TRUE(r.showing(1, 0));
    expectMagnifiedAtTop();
    r.key(kRight);
    f.PAGSU();
    r.key(kRight); // the end of the volume: the last page again, from its top
    EXPECT_EQ(r.newBoxes(), (QStringList{kNext, kEnd}));
    EXPECT_TRUE(r.showing(1, 1));
    expectMagnifiedAtTop();
    f.PAGSU();
    r.key(kLeft);
    EXPECT_TRUE(r.showing(1, 0));
    expectMagnifiedAtTop();
}

TEST(PageTurning, ForwardTurnClosesTheInstructionsAndBackwardTurnLeavesThemOpen) {
    Reader r;
    r.openAt(0, 1);
    BookForm& f = *r.form;
    r.key(114); // F3 opens the panel
    ASSERT_TRUE(f.Picture1->Visible());
    r.key(kLeft);
    EXPECT_TRUE(r.showing(0, 0));
    EXPECT_TRUE(f.Picture1->Visible());
    r.key(kRight);
    EXPECT_TRUE(r.showing(0, 1));
    EXPECT_FALSE(f.Picture1->Visible());

    // A backward turn that changes the book closes it, since showing the book's page does.
    r.openAt(1, 0);
    r.key(114);
    ASSERT_TRUE(f.Picture1->Visible());
    r.key(kLeft);
    EXPECT_EQ(r.book(), 0);
    EXPECT_FALSE(f.Picture1->Visible());
}

TEST(PageTurning, UnreadablePageKeepsThePageShown) {
    Reader r;
    r.openAt(0, 1);
    // Cut the first book's archive inside the entry of its third page: the turn to it fails.
    const qint64 third = numericValue(columns(r.form->List2.List(2), 6, 10));
    ASSERT_GT(third, 0);
    ASSERT_TRUE(QFile::resize(r.volume.path(r.form->File2.List(0)), third + 99));
    (void)r.newBoxes(); // only the boxes from here on
    r.key(kRight);
    const QStringList boxes = r.newBoxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(r.form->place.ArchivePath)) << boxes[0].toStdString();
    EXPECT_TRUE(r.showing(0, 1));
    EXPECT_EQ(r.form->place.CurrentPageIndex, 1);
    EXPECT_EQ(r.pageText(), r.form->Combo1->List(1));
    EXPECT_TRUE(r.form->Image1->Visible());
    EXPECT_FALSE(r.form->Image6->Visible());
    r.key(kLeft);
    EXPECT_TRUE(r.showing(0, 0));
}
