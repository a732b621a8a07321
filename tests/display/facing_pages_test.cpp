// Facing pages (F6) through real keys, clicks and the wheel on the window: pairs by the labels,
// turns by an opening across books with their messages, every other command showing the single
// page first, the choice kept across starts, and the next opening read ahead.
#include "tests/support/viewer.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace cvx;
using namespace cvx::test;

namespace {
struct Facing : Viewer {
    explicit Facing(const pack::VolumeSpec& plan = standardVolume(), Start when = Start::now)
        : Viewer(plan, when) {
        if (form)
            focus(form->SCHERMO->widget());
    }
    [[nodiscard]] bool shown() const { return form->facing().shown(); }
    // The labels of the pages on the left and on the right, found by their bytes; "-" for a side
    // left empty, "" when the view is hidden.
    [[nodiscard]] QString sides() const {
        if (!shown())
            return {};
        QStringList labels;
        for (const int side : {0, 1}) {
            const ImageControl& page = form->facing().page(side);
            const auto& pages = volume.plan.books[book()].pages;
            QString label = page.Visible() ? QStringLiteral("?") : QStringLiteral("-");
            for (int i = 0; page.Visible() && i < pages.size(); ++i)
                if (page.picture().bytes() == pack::padded(pages[i]))
                    label = form->Combo1->List(i);
            labels << label;
        }
        return labels.join(' ');
    }
    void wheel(int notches) {
        QWidget* area = form->SCHERMO->widget();
        const QPointF at(area->width() / 2.0, area->height() / 2.0);
        QWheelEvent event(at, area->mapToGlobal(at), {}, QPoint(0, notches * 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area, &event);
    }
    void clickZone(int index) {
        const ImageControl& z = *form->Image8[index];
        clickAt(z.Left() + z.Width() / 2, z.Top() + z.Height() / 2);
    }
    [[nodiscard]] QString choiceFile() const {
        return volume.workFolder() + QStringLiteral("/facciate.cfg");
    }
};
} // namespace

TEST(FacingPages, TurnsByOpeningsPairedByTheirLabelsAcrossBooks) {
    Facing r; // pages 0001-0004 from the right, then sheets 001d-003d from the right
    r.press(Qt::Key_F6);
    EXPECT_EQ(r.sides(), "- 0001"); // the book starts on the right
    r.press(Qt::Key_Right);
    EXPECT_EQ(r.sides(), "0002 0003");
    EXPECT_EQ(r.pageText(), "0002"); // the selector and the bookmark name the left page
    EXPECT_TRUE(r.showing(0, 1));
    EXPECT_TRUE(r.form->SCHERMO->widget()->accessibleName().endsWith("pagine 0002 e 0003"));
    r.wheel(-1);                    // towards the reader: forward
    EXPECT_EQ(r.sides(), "0004 -"); // the last page alone
    r.clickZone(0);
    EXPECT_EQ(r.newBoxes(), QStringList{"Apro il LIBRO seguente"});
    EXPECT_EQ(r.book(), 1);
    EXPECT_EQ(r.sides(), "- 001d");
    r.press(Qt::Key_Right);
    EXPECT_EQ(r.sides(), "002s 002d");
    r.press(Qt::Key_Left);
    r.press(Qt::Key_Left);
    EXPECT_EQ(r.newBoxes(), QStringList{"Apro il LIBRO precedente"});
    EXPECT_EQ(r.sides(), "0004 -");
    r.wheel(1);
    EXPECT_EQ(r.sides(), "0002 0003"); // landed on 0003: its left page is named
    EXPECT_EQ(r.pageText(), "0002");
    EXPECT_TRUE(r.showing(0, 1));
    r.press(Qt::Key_F6);
    EXPECT_FALSE(r.shown());
    r.press(Qt::Key_Right);
    EXPECT_EQ(r.pageText(), "0003"); // single pages again
}

TEST(FacingPages, AGapInTheNumbersAndTheVolumesEndLeavePagesAlone) {
    pack::VolumeSpec plan = largePageVolume(); // two books of pages from the right: 3 and 2
    plan.books[0] = makeBook(QStringLiteral("01 Lib.01 Antiporta"), 1, QLatin1Char('D'), 1, 4);
    Facing r(plan, Start::later);
    const QStringList archives = filesIn(r.volume.folder()).filter(QStringLiteral(".ex_"));
    patchSlot(r.volume.path(archives[0]), 2, 2, "0005"); // 0001 0002 0005 0006: no 0003, 0004
    patchSlot(r.volume.path(archives[0]), 3, 2, "0006");
    ASSERT_FALSE(r.start());
    r.focus(r.form->SCHERMO->widget());
    r.openAt(0, 1);
    r.press(Qt::Key_F6);
    EXPECT_EQ(r.sides(), "0002 -"); // never paired by position
    r.press(Qt::Key_Right);
    EXPECT_EQ(r.sides(), "- 0005");
    r.openAt(1, 1);
    r.press(Qt::Key_F6);
    EXPECT_EQ(r.sides(), "0002 -");
    (void)r.newBoxes();
    r.press(Qt::Key_Right);
    EXPECT_EQ(r.newBoxes(), QStringList{"ATTENZIONE: Raggiunta la FINE del Libro"});
    EXPECT_EQ(r.sides(), "0002 -");
    EXPECT_EQ(r.pageText(), "0002");
}

TEST(FacingPages, EveryOtherCommandShowsTheSinglePageFirst) {
    for (const Qt::Key key : {Qt::Key_Shift, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_F3, Qt::Key_F4,
                              Qt::Key_Escape, Qt::Key_F5, Qt::Key_Plus}) {
        Facing r(largePageVolume());
        r.press(Qt::Key_F6);
        r.press(Qt::Key_Right);
        ASSERT_EQ(r.sides(), "0002 0003") << key;
        r.press(key);
        EXPECT_FALSE(r.shown()) << key;
        EXPECT_TRUE(r.showing(0, 1)) << key; // the named page, as the commands find it
    }
    Facing r;
    r.press(Qt::Key_F6);
    r.clickZone(4); // the lens
    EXPECT_FALSE(r.shown());
    EXPECT_EQ(r.form->view.Magnified, True);
    r.press(Qt::Key_Shift);
    r.press(Qt::Key_Right); // the choice holds: the next turn shows the opening again
    EXPECT_EQ(r.sides(), "0002 0003");
    r.openAt(2, 0); // a book of openings is shown as it is, and turns one at a time
    EXPECT_FALSE(r.shown());
    r.press(Qt::Key_Right);
    EXPECT_EQ(r.pageText(), "0005");
}

TEST(FacingPages, TheChoiceIsKeptInItsOwnFileAcrossStarts) {
    Facing r;
    r.press(Qt::Key_F6);
    EXPECT_EQ(contentOf(r.choiceFile()), "1\n");
    const QByteArray bookmark = contentOf(r.volume.bookmarkPath());
    for (const auto& [content, facing] :
         {std::pair<QByteArray, bool>{"1\n", true}, {"0\n", false}, {"sì", false}, {"", false}}) {
        writeFile(r.choiceFile(), content);
        r.start();
        EXPECT_EQ(r.shown(), facing) << content.toStdString();
    }
    // A pipe in its place is never opened: the start does not wait for a writer.
    QFile::remove(r.choiceFile());
    ASSERT_EQ(::mkfifo(QFile::encodeName(r.choiceFile()).constData(), 0600), 0);
    r.start();
    EXPECT_FALSE(r.shown());
    EXPECT_EQ(contentOf(r.volume.bookmarkPath()), bookmark);
}

TEST(FacingPages, TheNextOpeningIsReadAheadAtItsFacingSize) {
    Facing r(largePageVolume()); // 0001, 0002-0003; then 0001, 0002
    r.press(Qt::Key_F6);
    for (const auto& [key, sides] : {std::pair{Qt::Key_Right, "0002 0003"},
                                     {Qt::Key_Right, "- 0001"}, // the next book
                                     {Qt::Key_Left, "0002 0003"}}) {
        r.form->readAhead().waitIdle();
        const ReadAhead::Stats before = r.form->readAhead().stats();
        r.press(key);
        EXPECT_EQ(r.sides(), sides);
        EXPECT_EQ(r.form->readAhead().stats().misses, before.misses) << sides;
        EXPECT_GT(r.form->readAhead().stats().hits, before.hits);
    }
    r.press(Qt::Key_Right); // "- 0001" of the second book: back, the first book's 0003, 0002, 0001
    r.form->readAhead().waitIdle();
    EXPECT_EQ(r.form->facing().around().size(), 4u); // and this book's 0002
    EXPECT_EQ(r.form->readAhead().cachedPages(), 5);
}
