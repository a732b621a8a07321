// The bookmark file, whatever it holds: the volume opens at a place that exists, and the file
// keeps what it held until the reader closes with a place to keep; a folder in its place ends
// the program with a message naming it, and the folder stays as it was.
#include "tests/support/viewer.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

TEST(DamagedBookmark, OpensAPlaceThatExistsAndLosesNothingSaved) {
    const struct {
        QByteArray content;
        int book, page;
        const char* label;
        bool kept; // two values: kept as they are until closing; else the file is emptied
    } cases[] = {
        {"", 0, 0, "0001", true},
        {" 2\r\n 1\r\n", 2, 1, "0005", true},
        {"1,-4", 1, 0, "001d", true},
        {" 1x\r\n 2y\r\n", 1, 2, "002d", true},
        {" 1.5\r\n 0.5\r\n", 2, 0, "0003", true},
        {" 1\r\n 99999999999999999999\r\n", 1, 4, "003d", true},
        {" 3\r\n 1\r\n", 0, 0, "0001", true}, // one past the last book
        {"-1\r\n 3\r\n", 0, 0, "0001", true},
        {"99999999999999999999,1", 0, 0, "0001", true},
        {"abc,xyz", 0, 0, "0001", true},
        {" 1\r\n", 0, 0, "0001", false},
        {QByteArray("\x00\x01\xff\xfe\x80\x7f", 6), 0, 0, "0001", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.toPercentEncoding().toStdString());
        Viewer v(Start::later);
        v.writeBookmark(c.content);
        ASSERT_FALSE(v.start());
        EXPECT_EQ(v.newBoxes(), QStringList());
        EXPECT_EQ(v.book(), c.book);
        EXPECT_EQ(v.form->Combo1->ListIndex(), c.page);
        EXPECT_EQ(v.pageText(), c.label);
        EXPECT_TRUE(v.showing(c.book, c.page));
        EXPECT_EQ(v.form->File2.ListCount(), 3); // the archives, not the working folder
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()), c.kept ? c.content : "");
        // Closing with SI writes the place shown.
        EXPECT_THROW(v.form->Image13_Click(0), ProgramEnded);
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()),
                  QStringLiteral(" %1\r\n %2\r\n").arg(c.book).arg(c.page).toLatin1());
    }
}

TEST(DamagedBookmark, FolderInItsPlaceEndsNamingItAndStays) {
    Viewer v(Start::later);
    ASSERT_TRUE(QDir().mkpath(v.volume.bookmarkPath()));
    writeFile(v.volume.bookmarkPath() + "/note.txt", "kept");
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.newBoxes(),
              QStringList({"IMPOSSIBILE CREARE IL FILE: " + v.volume.bookmarkPath()}));
    EXPECT_EQ(v.platform.boxes[0].title, "ATTENZIONE, CHIUDO IL PROGRAMMA");
    EXPECT_EQ(contentOf(v.volume.bookmarkPath() + "/note.txt"), "kept");
    EXPECT_FALSE(v.form->isVisible());
}
