// A damaged bookmark file: the volume opens at a place that exists, and the file keeps what it
// held until the reader closes with a place to keep; a folder in its place ends the program
// with a message naming it, and the folder stays as it was.
#include "tests/robustness/damage.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
struct Case {
    const char* what;
    QByteArray content;
    int book;
    int page;
    QByteArray leftOnDisk; // the bookmark after start-up
};

// Closes with SI on the place shown; true when the program ended.
bool closeKeepingThePlace(Viewer& v) {
    try {
        v.form->Image13_Click(0);
    } catch (const ProgramEnded&) {
        return true;
    }
    return false;
}
} // namespace

TEST(DamagedBookmark, OpensAPlaceThatExistsAndLosesNothingSaved) {
    const Case cases[] = {
        // Two values: kept as they are until closing.
        {"letters", "abc,xyz", 0, 0, "abc,xyz"},
        {"letters after digits", " 1x\r\n 2y\r\n", 1, 2, " 1x\r\n 2y\r\n"},
        {"negative book", "-1\r\n 3\r\n", 0, 0, "-1\r\n 3\r\n"},
        {"negative page", " 2\r\n-7\r\n", 2, 0, " 2\r\n-7\r\n"},
        {"huge book", "99999999999999999999,1", 0, 0, "99999999999999999999,1"},
        {"huge page", " 1\r\n 99999999999999999999\r\n", 1, 4, " 1\r\n 99999999999999999999\r\n"},
        {"fraction", " 1.5\r\n 0.5\r\n", 2, 0, " 1.5\r\n 0.5\r\n"},
        // Fewer than two values: the working folder is prepared afresh, the file emptied.
        {"one line", " 1\r\n", 0, 0, ""},
        {"binary garbage", QByteArray("\x00\x01\xff\xfe\x80\x7f", 6), 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Viewer v;
        v.writeBookmark(c.content);
        ASSERT_FALSE(v.start());
        EXPECT_TRUE(v.platform.boxes.empty()) << v.boxTexts().join('\n').toStdString();
        EXPECT_EQ(v.form->Combo2->ListIndex(), c.book);
        EXPECT_EQ(v.form->Combo1->ListIndex(), c.page);
        EXPECT_EQ(contentOf(v.volume.workImagePath()),
                  pack::padded(v.volume.plan.books[c.book].pages[c.page]));
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()), c.leftOnDisk);
        // Closing with SI writes the place shown.
        EXPECT_TRUE(closeKeepingThePlace(v));
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()),
                  QStringLiteral(" %1\r\n %2\r\n").arg(c.book).arg(c.page).toLatin1());
    }
}

TEST(DamagedBookmark, FolderInItsPlaceEndsNamingItAndStays) {
    Viewer v;
    ASSERT_TRUE(QDir().mkpath(v.volume.bookmarkPath()));
    writeFile(v.volume.bookmarkPath() + "/note.txt", "kept");
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.boxTexts(),
              QStringList({"IMPOSSIBILE CREARE IL FILE: " + v.volume.bookmarkPath()}));
    EXPECT_EQ(v.platform.boxes[0].title, "ATTENZIONE, CHIUDO IL PROGRAMMA");
    EXPECT_EQ(contentOf(v.volume.bookmarkPath() + "/note.txt"), "kept");
    EXPECT_FALSE(v.form->isVisible());
}
