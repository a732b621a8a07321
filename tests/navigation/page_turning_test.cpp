// Page turns across the books of a test volume (4 pages, 5 sheets' sides, 3 openings): inside a
// book, into the next and previous book, at both ends of the volume, while magnified and with
// the instructions panel open.
#include "tests/support/viewer.h"

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
constexpr int kRight = 39, kLeft = 37;
const QString kEnd = QStringLiteral("ATTENZIONE: Raggiunta la FINE del Libro");
const QString kNext = QStringLiteral("Apro il LIBRO seguente");
const QString kPrevious = QStringLiteral("Apro il LIBRO precedente");
} // namespace

TEST(PageTurning, InsideABookAcrossBooksAndAtBothEndsOfTheVolume) {
    const struct {
        int book, page, key;
        QString box; // none when empty; shown in an OK box with the application's own title
        int toBook, toPage;
    } turns[] = {
        {0, 0, kRight, {}, 0, 1},       {0, 1, kLeft, {}, 0, 0},
        {0, 3, kRight, kNext, 1, 0},    {1, 4, kRight, kNext, 2, 0},
        {2, 0, kLeft, kPrevious, 1, 4}, {0, 0, kLeft, kPrevious, 0, 3}, // the first book again
        {2, 2, kRight, kEnd, 2, 2},
    };
    for (const auto& t : turns) {
        SCOPED_TRACE(testing::Message() << t.book << "/" << t.page << " key " << t.key);
        Viewer r;
        r.openAt(t.book, t.page);
        bool turningShown = false;
        QString textDuringBox = QStringLiteral("?");
        r.platform.onBox = [&](const ShownBox&) {
            turningShown = r.form->Image6->Visible();
            textDuringBox = r.pageText();
        };
        r.key(t.key);
        EXPECT_EQ(r.newBoxes(), t.box.isEmpty() ? QStringList() : QStringList{t.box});
        if (!t.box.isEmpty()) {
            EXPECT_EQ(r.platform.boxes.back().style, kStyleOk);
            EXPECT_TRUE(r.platform.boxes.back().title.isEmpty());
        }
        const QString label = r.form->Combo1->List(t.toPage);
        if (t.box == kNext) { // the turning picture, and past the list's end, until answered
            EXPECT_TRUE(turningShown);
            EXPECT_EQ(textDuringBox, "");
            EXPECT_EQ(r.form->place.PageLabel.text(), label.leftJustified(4, ' ').left(4));
        }
        EXPECT_EQ(r.book(), t.toBook);
        EXPECT_EQ(r.form->Combo2->Text(), r.form->Combo2->List(t.toBook));
        EXPECT_EQ(r.form->place.CurrentPageIndex, t.toPage);
        EXPECT_EQ(r.pageText(), label);
        EXPECT_TRUE(r.showing(t.toBook, t.toPage));
        EXPECT_TRUE(r.form->Image1->Visible());
        EXPECT_FALSE(r.form->Image5->Visible());
        EXPECT_FALSE(r.form->Image6->Visible());
        EXPECT_TRUE(r.form->keyPreview());
    }
}

TEST(PageTurning, MagnifiedPagesStayMagnifiedFromTheirTop) {
    Viewer r(largePageVolume());
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
    Viewer r;
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
