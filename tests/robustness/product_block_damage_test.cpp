// A damaged product data block in "Cartavox.exe": the program ends with a message and leaves
// the reader's saved place and everything else on disk as it was.
#include "app/product_block.h"
#include "tests/support/viewer.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const QString kBlockDamaged =
    QStringLiteral("I DATI DEL VOLUME in Cartavox.exe RISULTANO MANCANTI O CORROTTI");
const QString kFatalTitle = QStringLiteral("ATTENZIONE, CHIUDO IL PROGRAMMA");

// 1-based positions in an executable: its base digits, and the start of slot k of its block.
qint64 baseDigits(const QString& exe) {
    return block::basePosition(QFileInfo(exe).size());
}
qint64 slotAt(const QString& exe, int k) {
    return block::slotPosition(contentOf(exe).mid(baseDigits(exe) - 1, 8).toDouble(), k);
}

// A string record head claiming `length` characters: type 8, then the length.
QByteArray recordHead(int length) {
    return QByteArray("\x08\0", 2) + char(length & 0xff) + char(length >> 8);
}

// A viewer whose reader saved a place on an earlier run, started by expectEnds.
struct SavedViewer : Viewer {
    SavedViewer() : Viewer(Start::later) { writeBookmark(kSavedPlace); }
    [[nodiscard]] QString exe() const { return volume.path("Cartavox.exe"); }
    // Starts; expects the program to end after exactly one box with `text` and `title`, and the
    // working folder to hold the saved bookmark and nothing else.
    void expectEnds(const QString& text, const QString& title, bool pageShown = false) {
        ASSERT_TRUE(start());
        EXPECT_EQ(newBoxes(), QStringList({text}));
        EXPECT_EQ(platform.boxes.back().title, title);
        EXPECT_EQ(contentOf(volume.bookmarkPath()), kSavedPlace);
        QStringList files = {volume.plan.workFolderName + ".lib"};
        if (pageShown)
            files << "lab.jpg";
        EXPECT_EQ(filesIn(volume.workFolder()), files);
    }
};
} // namespace

TEST(DamagedBlock, BlockThatCannotBeReadEndsTheProgram) {
    using Damage = std::function<void(const QString& exe)>;
    const auto digits = [](const QByteArray& text) -> Damage {
        return [text](const QString& exe) { patchFile(exe, baseDigits(exe), text); };
    };
    const auto size = [](const QString& exe) { return QFileInfo(exe).size(); };
    // A base just outside the block's range, with a usable folder name where it points, so that
    // only the range refuses it.
    const auto base = [](const std::function<qint64(qint64 size)>& at) -> Damage {
        return [at](const QString& exe) {
            const qint64 b = at(QFileInfo(exe).size());
            patchFile(exe, baseDigits(exe), QByteArray::number(b).rightJustified(8, '0'));
            patchFile(exe, block::workFolderPosition(static_cast<double>(b)), "CVXTEST1");
        };
    };
    const std::pair<const char*, Damage> damages[] = {
        {"a folder in its place",
         [](const QString& exe) { ASSERT_TRUE(QFile::remove(exe) && QDir().mkdir(exe)); }},
        {"base digits that are no number", digits("ABCDEFGH")},
        // 35000 would put slot 0 at position 0, before the first byte of the file.
        {"base at the grid's start", base([](qint64) { return 35000; })},
        {"base before the grid", digits("00000100")},
        {"negative base", digits("-0000001")},
        {"base far past the end", digits("99999999")},
        {"base one byte past the end", base([](qint64 length) { return length + 1; })},
        {"base digits looked for 1000 bytes too early",
         [&](const QString& exe) { cutFile(exe, size(exe) - 1000); }},
        {"shorter than the base digits' distance from the end",
         [](const QString& exe) { cutFile(exe, 5000); }},
        {"empty", [](const QString& exe) { cutFile(exe, 0); }},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        SavedViewer v;
        damage(v.exe());
        v.expectEnds(kBlockDamaged, kFatalTitle);
    }
}

TEST(DamagedBlock, FreshStartWithADamagedBlockCreatesNothing) {
    Viewer v(Start::later);
    patchFile(v.volume.path("Cartavox.exe"), baseDigits(v.volume.path("Cartavox.exe")), "ABCDEFGH");
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList({kBlockDamaged}));
    EXPECT_TRUE(filesIn(v.volume.root()).isEmpty());
}

TEST(DamagedBlock, HeadingLongerThan64CharactersIsLeftBlank) {
    SavedViewer v;
    patchFile(v.exe(), slotAt(v.exe(), 3), recordHead(65));
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList());
    EXPECT_EQ(v.form->Label5[0]->Caption(), QString(64, ' '));
    EXPECT_EQ(v.form->Label1[1]->Caption(), QString::fromLatin1("C. Plinius Secundus\0", 20));
    // The saved place opens, and stays saved.
    EXPECT_TRUE(v.showing(1, 2));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), kSavedPlace);
}

TEST(DamagedBlock, BookRecordLongerThan64CharactersEndsNamingTheBook) {
    SavedViewer v;
    patchFile(v.exe(), slotAt(v.exe(), 8 + 1), recordHead(0xffff));
    v.expectEnds("IL programma NON RICONOSCE IL LIBRO: 1", kFatalTitle);
}

TEST(DamagedBlock, CoverCodeLongerThan64CharactersEndsAsAMissingFile) {
    SavedViewer v;
    patchFile(v.exe(), slotAt(v.exe(), 1), recordHead(200));
    // The saved book opens on its way before the cover archive is looked for.
    v.expectEnds("UN FILE di SISTEMA in: " + v.volume.folder() +
                     " RISULTA MANCANTE O CORROTTO\rCHIUDO IL PROGRAMMA",
                 "- A T T E N Z I O N E -", true);
    EXPECT_TRUE(v.showing(1, 0));
}
