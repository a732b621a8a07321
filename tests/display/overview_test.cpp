// The overview of a book's pages (F5), through real key, mouse and wheel events on the window:
// what it shows, how the keys move in it and out of it, and that only opening a page changes the
// reader's place.
#include "tests/support/viewer.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// The labels of the usual test volume's books, as the page selector shows them.
const QStringList kPages = {"0001", "0002", "0003", "0004"};
const QStringList kSheets = {"001d", "002s", "002d", "003s", "003d"};
const QStringList kOpenings = {"0003", "0005", "0007"};

struct Overview : Viewer {
    explicit Overview(const pack::VolumeSpec& plan = standardVolume()) : Viewer(plan) {
        focus(form->SCHERMO->widget());
    }
    [[nodiscard]] PageGrid& grid() const { return *form->Overview; }
    [[nodiscard]] bool open() const { return grid().Visible(); }
    [[nodiscard]] QStringList labels() const {
        QStringList all;
        for (int i = 0; i < grid().count(); ++i)
            all << grid().label(i);
        return all;
    }
    // Waits until every thumbnail asked for has come to its tile.
    void thumbnailsDone() {
        form->overview().thumbnails().waitIdle();
        QApplication::processEvents();
    }
    // The centre of tile `index`, in the grid's viewport.
    [[nodiscard]] QPoint tileCentre(int index) const {
        QListWidget* list = grid().list();
        return list->visualItemRect(list->item(index)).center();
    }
};
} // namespace

TEST(Overview, F5ShowsTheBookByItsLabelsAndLeavesThePlaceAsItWas) {
    Overview r;
    r.openAt(1, 2);
    const QByteArray bookmark = contentOf(r.volume.bookmarkPath());
    r.press(Qt::Key_F5);
    ASSERT_TRUE(r.open());
    EXPECT_EQ(r.labels(), kSheets);
    EXPECT_EQ(r.grid().highlighted(), 2); // the page being read
    EXPECT_EQ(QApplication::focusWidget(), r.grid().list());
    r.thumbnailsDone();
    for (int i = 0; i < kSheets.size(); ++i) {
        ASSERT_EQ(r.grid().tile(i), PageGrid::Tile::Thumbnail) << i;
        // Each tile shows its own page: the pages differ in hue.
        const QImage tile =
            r.grid().list()->item(i)->icon().pixmap(r.grid().thumbnailSize()).toImage();
        const QImage page = QImage::fromData(r.volume.plan.books[1].pages[i]).scaled(tile.size());
        EXPECT_LT(meanDifference(tile, page), 12) << i;
    }
    // Moving in the overview and leaving it change nothing of the reader's.
    r.press(Qt::Key_Right);
    r.press(Qt::Key_Tab);
    r.press(Qt::Key_F5);
    EXPECT_FALSE(r.open());
    EXPECT_TRUE(r.showing(1, 2));
    EXPECT_EQ(r.pageText(), "002d");
    EXPECT_EQ(r.form->Combo2->Text(), r.form->Combo2->List(1));
    EXPECT_EQ(contentOf(r.volume.bookmarkPath()), bookmark);
    EXPECT_EQ(QApplication::focusWidget(), r.form->SCHERMO->widget());
    // Esc closes it too, and does not open the closing panel.
    r.press(Qt::Key_F5);
    r.press(Qt::Key_Escape);
    EXPECT_FALSE(r.open());
    EXPECT_FALSE(r.form->Picture7->Visible());
    EXPECT_TRUE(r.newBoxes().isEmpty());
}

TEST(Overview, KeysMoveTheHighlightAndEnterOrAClickOpensThePage) {
    Overview r;
    r.openAt(1, 0);
    r.press(Qt::Key_F5);
    r.press(Qt::Key_Right);
    r.press(Qt::Key_Right);
    EXPECT_EQ(r.grid().highlighted(), 2);
    r.press(Qt::Key_End);
    EXPECT_EQ(r.grid().highlighted(), 4);
    r.press(Qt::Key_Home);
    EXPECT_EQ(r.grid().highlighted(), 0);
    r.press(Qt::Key_Right);
    r.press(Qt::Key_Return);
    EXPECT_FALSE(r.open());
    EXPECT_TRUE(r.showing(1, 1));
    EXPECT_EQ(r.pageText(), "002s");
    r.press(Qt::Key_F5);
    EXPECT_EQ(r.grid().highlighted(), 1);
    QTest::mouseClick(r.grid().list()->viewport(), Qt::LeftButton, {}, r.tileCentre(3));
    EXPECT_FALSE(r.open());
    EXPECT_TRUE(r.showing(1, 3));
    EXPECT_EQ(r.pageText(), "003s");
    EXPECT_TRUE(r.newBoxes().isEmpty());
}

TEST(Overview, TabAndTheBookKeysShowOtherBooksUntilAPageIsOpened) {
    Overview r;
    r.press(Qt::Key_F5);
    EXPECT_EQ(r.labels(), kPages);
    r.press(Qt::Key_Tab);
    EXPECT_EQ(r.labels(), kSheets);
    EXPECT_EQ(r.grid().highlighted(), 0); // no page of this book is being read
    EXPECT_EQ(r.form->Combo2->Text(), r.form->Combo2->List(1));
    r.press(Qt::Key_Tab);
    EXPECT_EQ(r.labels(), kOpenings);
    r.press(Qt::Key_F1);
    EXPECT_EQ(r.labels(), kPages);
    EXPECT_EQ(QApplication::focusWidget(), r.grid().list()); // Tab never left the grid
    // The book selector's pick shows its book in the grid.
    r.event([&] { r.form->Combo2->onPick(1); });
    EXPECT_TRUE(r.open());
    EXPECT_EQ(r.labels(), kSheets);
    EXPECT_TRUE(r.showing(0, 0));
    EXPECT_EQ(r.book(), 0);
    r.press(Qt::Key_End);
    r.press(Qt::Key_Enter);
    EXPECT_EQ(r.book(), 1);
    EXPECT_TRUE(r.showing(1, 4));
    EXPECT_EQ(r.pageText(), "003d");
}

TEST(Overview, OtherCommandsCloseItFirstAndItsOwnKeysDoNothingElse) {
    Overview r;
    r.press(Qt::Key_F5);
    r.press(Qt::Key_Plus); // no zoom under the overview
    EXPECT_FALSE(r.form->zoomed());
    r.type("3"); // not a command: the overview stays
    EXPECT_TRUE(r.open());
    r.press(Qt::Key_F2); // the page selector's key: the overview closes, then the key works
    EXPECT_FALSE(r.open());
    EXPECT_TRUE(r.form->Combo1->combo()->hasFocus());
    EXPECT_TRUE(r.showing(0, 0));
}

TEST(Overview, OpeningAPageWhileMagnifiedKeepsTheMagnifier) {
    Overview r(largePageVolume());
    r.press(Qt::Key_Shift);
    ASSERT_TRUE(r.form->view.Magnified);
    r.press(Qt::Key_F5);
    r.press(Qt::Key_Right);
    r.press(Qt::Key_Return);
    EXPECT_TRUE(r.showing(0, 1));
    EXPECT_TRUE(r.form->view.Magnified);
    EXPECT_EQ(r.form->view.PanStep, 0);
}

TEST(Overview, ADamagedPageSaysSoAndOpeningItGivesTheMessage) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1].pages[1] = notAPicture();
    Overview r(plan);
    r.openAt(1, 0);
    r.press(Qt::Key_F5);
    r.thumbnailsDone();
    EXPECT_EQ(r.grid().tile(1), PageGrid::Tile::Damaged);
    EXPECT_EQ(r.grid().tile(2), PageGrid::Tile::Thumbnail);
    EXPECT_EQ(r.labels(), kSheets);
    r.press(Qt::Key_Right);
    r.press(Qt::Key_Return);
    EXPECT_EQ(r.newBoxes(),
              QStringList{"IMPOSSIBILE LEGGERE LA PAGINA 002s DALL'ARCHIVIO dv00002.ex_"});
    EXPECT_TRUE(r.showing(1, 0));
    EXPECT_EQ(r.pageText(), "001d");
}

TEST(Overview, TheWheelScrollsTheGridAndNeverTurnsThePageUnderIt) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0] = makeBook("01 Lib.01 Antiporta", 1, 'D', 1, 80);
    Overview r(plan);
    r.press(Qt::Key_F5);
    QWidget* viewport = r.grid().list()->viewport();
    QScrollBar* bar = r.grid().list()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const auto wheel = [&](int notches) {
        const QPointF at = viewport->rect().center();
        QWheelEvent event(at, viewport->mapToGlobal(at), {}, QPoint(0, notches * 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    wheel(1); // up at the top: nothing to scroll
    EXPECT_EQ(bar->value(), 0);
    wheel(-3);
    EXPECT_GT(bar->value(), 0);
    for (int i = 0; i < 40; ++i) // on past the bottom
        wheel(-3);
    EXPECT_EQ(bar->value(), bar->maximum());
    r.press(Qt::Key_Escape);
    EXPECT_EQ(r.pageText(), "0001");
    EXPECT_TRUE(r.newBoxes().isEmpty());
}

TEST(Overview, OnlyTheTilesNearTheViewKeepTheirThumbnails) {
    // The tiles in view and as many again on each side, within the book.
    EXPECT_EQ(keptTiles({10, 19}, 80), std::make_pair(0, 29));
    EXPECT_EQ(keptTiles({60, 69}, 80), std::make_pair(50, 79));
    EXPECT_EQ(keptTiles({30, 39}, 80), std::make_pair(20, 49));
    EXPECT_EQ(keptTiles({-1, -1}, 80), std::make_pair(-1, -1));
    pack::VolumeSpec plan = standardVolume();
    plan.books[0] = makeBook("01 Lib.01 Antiporta", 1, 'D', 1, 80, QSize(600, 900));
    Overview r(plan);
    r.press(Qt::Key_F5);
    r.thumbnailsDone();
    const auto thumbnails = [&] {
        std::vector<int> shown;
        for (int i = 0; i < r.grid().count(); ++i)
            if (r.grid().tile(i) == PageGrid::Tile::Thumbnail)
                shown.push_back(i);
        return shown;
    };
    const auto kept = keptTiles(r.grid().inView(), 80);
    ASSERT_LT(kept.second, 79);
    EXPECT_EQ(thumbnails().front(), 0);
    EXPECT_EQ(thumbnails().back(), kept.second);
    r.press(Qt::Key_End);
    r.thumbnailsDone();
    EXPECT_EQ(thumbnails().front(), keptTiles(r.grid().inView(), 80).first);
    EXPECT_EQ(thumbnails().back(), 79);
    r.press(Qt::Key_F5);
    EXPECT_EQ(r.grid().count(), 0);
}

TEST(Overview, EachTileIsAnnouncedByItsLabel) {
    Overview r;
    r.openAt(2, 1);
    r.press(Qt::Key_F5);
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(r.grid().list());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->text(QAccessible::Name), "Pagine del libro");
    QStringList spoken;
    for (int i = 0; i < grid->childCount(); ++i)
        if (QAccessibleInterface* tile = grid->child(i))
            spoken << tile->text(QAccessible::Name);
    for (const QString& label : kOpenings)
        EXPECT_TRUE(spoken.contains(label)) << label.toStdString();
}
