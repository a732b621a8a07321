// A working folder that cannot take what the viewer writes: read-only, a full disk while the
// working image is written, the working image replaced by a folder. The viewer says which file
// it cannot write and stays on the page it shows; the saved place is never lost; what only
// helps the reader (the facing choice, the aids) is simply not remembered.
#include "platform/files.h"
#include "tests/support/viewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
QString cannotWrite(const QString& path) {
    return "IMPOSSIBILE SCRIVERE IL FILE " + QDir::toNativeSeparators(path);
}
} // namespace

TEST(WorkingFolderFaults, FullDiskWhileTheWorkingImageIsWrittenKeepsTheShownPage) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1].pages[3] = makeJpeg(QSize(900, 1300), Qt::darkYellow, "GRANDE");
    Viewer v(plan, Start::later);
    v.writeBookmark(kSavedPlace);
    ASSERT_FALSE(v.start());
    const QByteArray shown = contentOf(v.volume.workImagePath());
    ASSERT_EQ(shown, pack::padded(plan.books[1].pages[2]));
    ASSERT_GT(plan.books[1].pages[3].size(), shown.size() + 100);
    {
        // Room for the page shown and a little more, not for the larger next one.
        FileSizeLimit full(static_cast<rlim_t>(shown.size()) + 100);
        v.event([&] { v.form->Combo1->setListIndex(3); });
    }
    EXPECT_EQ(v.newBoxes(), QStringList({cannotWrite(v.volume.workImagePath())}));
    EXPECT_EQ(v.pageText(), "002d");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), shown);
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), kSavedPlace);
    EXPECT_EQ(filesIn(v.volume.workFolder()),
              QStringList({v.volume.plan.workFolderName + ".lib", "lab.jpg"}))
        << "no half-written file is left behind";
    // With room again the same page shows.
    v.event([&] { v.form->Combo1->setListIndex(3); });
    EXPECT_EQ(v.pageText(), "003s");
    EXPECT_TRUE(v.showing(1, 3));
}

TEST(WorkingFolderFaults, ARewriteLongerThenShorterLeavesExactlyTheNewBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lab.jpg"));
    ASSERT_TRUE(files::rewriteInPlace(path, QByteArray(5000, 'a')).ok());
    EXPECT_EQ(contentOf(path), QByteArray(5000, 'a'));
    ASSERT_TRUE(files::rewriteInPlace(path, QByteArray(300, 'b')).ok());
    EXPECT_EQ(contentOf(path), QByteArray(300, 'b'));
    ASSERT_TRUE(files::rewriteInPlace(path, QByteArray()).ok());
    EXPECT_EQ(contentOf(path), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("lab.jpg")});
}

TEST(WorkingFolderFaults, AFailedRewriteWritesBackWhatItWasToldTheFileHeld) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lab.jpg"));
    writeFile(path, QByteArray(1000, 'x'));
    FileSizeLimit full(2000);
    // Told: the window's own last page, written back without reading the file.
    EXPECT_FALSE(files::rewriteInPlace(path, QByteArray(5000, 'n'), QByteArray(1000, 'a')).ok());
    EXPECT_EQ(contentOf(path), QByteArray(1000, 'a'));
    // Not told: what the file held is read first and written back.
    EXPECT_FALSE(files::rewriteInPlace(path, QByteArray(5000, 'n')).ok());
    EXPECT_EQ(contentOf(path), QByteArray(1000, 'a'));
}

TEST(WorkingFolderFaults, WorkingImageReplacedByAFolderAtStartIsNamed) {
    Viewer v(Start::later);
    v.writeBookmark(kSavedPlace);
    ASSERT_TRUE(QDir().mkdir(v.volume.workImagePath()));
    ASSERT_FALSE(v.start());
    // The cover of the instructions and the remembered page both pass through it.
    EXPECT_EQ(v.newBoxes(), QStringList({cannotWrite(v.volume.workImagePath()),
                                         cannotWrite(v.volume.workImagePath())}));
    EXPECT_TRUE(v.form->isVisible());
    EXPECT_EQ(v.book(), 1);
    EXPECT_TRUE(QFileInfo(v.volume.workImagePath()).isDir());
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), kSavedPlace);
    // Closing with SI still saves the place, and says the working image could not be emptied.
    EXPECT_THROW(v.form->Image13_Click(0), ProgramEnded);
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 1\r\n 2\r\n");
    EXPECT_TRUE(
        v.platform.boxes.back().text.contains(QDir::toNativeSeparators(v.volume.workImagePath())));
}

TEST(WorkingFolderFaults, ReadOnlyWorkingFolderIsNamedAndTheSavedPlaceKept) {
    Viewer v(Start::later);
    v.writeBookmark(kSavedPlace);
    writeFile(v.volume.workImagePath(), "old page");
    const FilePermissionsObeyed obeyed;
    setMode(v.volume.workImagePath(), 0444);
    setMode(v.volume.bookmarkPath(), 0444);
    setMode(v.volume.workFolder(), 0555);
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList({cannotWrite(v.volume.workImagePath()),
                                         cannotWrite(v.volume.workImagePath())}));
    EXPECT_TRUE(v.form->isVisible());
    EXPECT_EQ(v.pageText(), "002d");
    // Closing with SI cannot save: it says so, and the place saved before stays.
    EXPECT_THROW(v.form->Image13_Click(0), ProgramEnded);
    const QString last = v.platform.boxes.back().text;
    EXPECT_TRUE(last.startsWith("La pagina corrente non e' stata salvata nel file: " +
                                QDir::toNativeSeparators(v.volume.bookmarkPath())))
        << last.toStdString();
    EXPECT_TRUE(last.contains(QDir::toNativeSeparators(v.volume.workImagePath())));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), kSavedPlace);
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "old page");
    EXPECT_EQ(filesIn(v.volume.workFolder()),
              QStringList({v.volume.plan.workFolderName + ".lib", "lab.jpg"}));
    setMode(v.volume.workFolder(), 0755);
}

TEST(WorkingFolderFaults, ReadOnlyDriveRootEndsBeforeAnythingIsShown) {
    Viewer v(Start::later);
    const FilePermissionsObeyed obeyed;
    setMode(v.volume.root(), 0555);
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList({"IMPOSSIBILE CREARE LA CARTELLA DI LAVORO: " +
                                         v.volume.root() + v.volume.plan.workFolderName + "/"}));
    EXPECT_TRUE(filesIn(v.volume.root()).isEmpty());
    setMode(v.volume.root(), 0755);
}

TEST(WorkingFolderFaults, ReadOnlyFolderWithAWritableBookmarkStillSavesThePlace) {
    Viewer v;
    v.openAt(0, 3);
    const FilePermissionsObeyed obeyed;
    setMode(v.volume.workFolder(), 0555); // no temporary file can be made beside the bookmark
    EXPECT_THROW(v.form->Image13_Click(0), ProgramEnded);
    setMode(v.volume.workFolder(), 0755);
    EXPECT_EQ(v.newBoxes(), QStringList());
    EXPECT_EQ(v.platform.exitStatus, kExitNormal);
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), " 0\r\n 3\r\n");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), "");
}

TEST(WorkingFolderFaults, ReadOnlyFolderLeavesFacingPagesAndInkAidsWorkingButUnremembered) {
    Viewer v;
    v.openAt(0, 3);
    const FilePermissionsObeyed obeyed;
    setMode(v.volume.workFolder(), 0555); // neither choice can be kept
    const QStringList before = QDir(v.volume.workFolder()).entryList(QDir::Files);
    v.press(Qt::Key_F6);
    EXPECT_TRUE(v.form->facing().shown());
    ImageControl& page = v.form->facing().page(v.form->facing().page(1).Visible() ? 1 : 0);
    const QImage plain = page.shownImage();
    ASSERT_FALSE(plain.isNull());
    v.press(Qt::Key_F7);
    v.press(Qt::Key_End); // the brightness to its top
    v.press(Qt::Key_F7);  // closing the panel keeps the aids, as far as it can
    EXPECT_NE(page.shownImage(), plain);
    setMode(v.volume.workFolder(), 0755);
    EXPECT_EQ(v.newBoxes(), QStringList());
    EXPECT_EQ(QDir(v.volume.workFolder()).entryList(QDir::Files), before);
}

TEST(WorkingFolderFaults, LinksInTheWorkingFolderAreReplacedNeverWrittenThrough) {
    // Each answer with the bookmark and the working image both links to a file elsewhere.
    for (const auto& [answer, bookmark] : {std::pair{0, " 0\r\n 2\r\n"}, std::pair{1, ""}}) {
        SCOPED_TRACE(answer);
        Viewer v;
        const QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("altro.txt"));
        writeFile(target, "not the viewer's");
        for (const QString& path : {v.volume.bookmarkPath(), v.volume.workImagePath()})
            ASSERT_TRUE(QFile::remove(path) && QFile::link(target, path));
        v.openAt(0, 2);
        EXPECT_THROW(v.form->Image13_Click(static_cast<std::int16_t>(answer)), ProgramEnded);
        EXPECT_EQ(v.newBoxes(), QStringList());
        EXPECT_EQ(contentOf(target), "not the viewer's");
        for (const QString& path : {v.volume.bookmarkPath(), v.volume.workImagePath()})
            EXPECT_FALSE(QFileInfo(path).isSymLink());
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()), bookmark);
    }
}
