// A damaged product data block in "Cartavox.exe": the program ends with a message and leaves
// the reader's saved place and everything else on disk as it was.
#include "tests/robustness/damage.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const QString kBlockDamaged =
    QStringLiteral("I DATI DEL VOLUME in Cartavox.exe RISULTANO MANCANTI O CORROTTI");

// A viewer whose reader saved a place on an earlier run.
struct SavedViewer : Viewer {
    SavedViewer() { writeBookmark(kSavedPlace); }
    [[nodiscard]] QString exe() const { return volume.path("Cartavox.exe"); }
    // Starts; expects the program to end after exactly one box with `text` and `title`, and the
    // working folder to hold the saved bookmark and nothing else.
    void expectEnds(const QString& text, const QString& title, bool pageShown = false) {
        ASSERT_TRUE(start());
        EXPECT_EQ(boxTexts(), QStringList({text}));
        EXPECT_EQ(platform.boxes.back().title, title);
        EXPECT_EQ(contentOf(volume.bookmarkPath()), kSavedPlace);
        QStringList files = {volume.plan.workFolderName + ".lib"};
        if (pageShown)
            files << "lab.jpg";
        EXPECT_EQ(filesIn(volume.root() + volume.plan.workFolderName), files);
    }
};

const QString kFatalTitle = QStringLiteral("ATTENZIONE, CHIUDO IL PROGRAMMA");
const QString kMissingTitle = QStringLiteral("- A T T E N Z I O N E -");

QString missingFileText(const Viewer& v) {
    return "UN FILE di SISTEMA in: " + QDir::toNativeSeparators(v.volume.folder()) +
           " RISULTA MANCANTE O CORROTTO\rCHIUDO IL PROGRAMMA";
}
} // namespace

TEST(DamagedBlock, MissingExecutableEndsAndKeepsTheSavedPlace) {
    SavedViewer v;
    ASSERT_TRUE(QFile::remove(v.exe()));
    v.expectEnds(missingFileText(v), kMissingTitle);
}

TEST(DamagedBlock, ExecutableThatIsAFolderEndsAsADamagedBlock) {
    SavedViewer v;
    ASSERT_TRUE(QFile::remove(v.exe()));
    ASSERT_TRUE(QDir().mkdir(v.exe()));
    v.expectEnds(kBlockDamaged, kFatalTitle);
}

TEST(DamagedBlock, BaseDigitsThatAreNoNumberEndTheProgram) {
    SavedViewer v;
    patchFile(v.exe(), baseDigitsPosition(v.volume), "ABCDEFGH");
    v.expectEnds(kBlockDamaged, kFatalTitle);
}

TEST(DamagedBlock, BaseBeforeTheStartOfTheGridEndsTheProgram) {
    // 35000 would put slot 0 at position 0, before the first byte of the file.
    for (const QByteArray& digits :
         {QByteArray("00035000"), QByteArray("00000100"), QByteArray("-0000001")}) {
        SCOPED_TRACE(digits.constData());
        SavedViewer v;
        patchFile(v.exe(), baseDigitsPosition(v.volume), digits);
        v.expectEnds(kBlockDamaged, kFatalTitle);
    }
}

TEST(DamagedBlock, BasePastTheEndOfTheFileEndsTheProgram) {
    SavedViewer v;
    const qint64 length = QFileInfo(v.exe()).size();
    patchFile(v.exe(), baseDigitsPosition(v.volume),
              QByteArray::number(length + 1).rightJustified(8, '0'));
    v.expectEnds(kBlockDamaged, kFatalTitle);
    SavedViewer huge;
    patchFile(huge.exe(), baseDigitsPosition(huge.volume), "99999999");
    huge.expectEnds(kBlockDamaged, kFatalTitle);
}

TEST(DamagedBlock, ExecutableCutShortEndsTheProgram) {
    SavedViewer cut; // the base digits are then looked for 1000 bytes too early
    cutFile(cut.exe(), QFileInfo(cut.exe()).size() - 1000);
    cut.expectEnds(kBlockDamaged, kFatalTitle);
    SavedViewer stub; // shorter than the distance of the base digits from the end
    cutFile(stub.exe(), 5000);
    stub.expectEnds(kBlockDamaged, kFatalTitle);
    SavedViewer empty;
    cutFile(empty.exe(), 0);
    empty.expectEnds(kBlockDamaged, kFatalTitle);
}

TEST(DamagedBlock, FreshStartWithADamagedBlockCreatesNothing) {
    Viewer v;
    patchFile(v.volume.path("Cartavox.exe"), baseDigitsPosition(v.volume), "ABCDEFGH");
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.boxTexts(), QStringList({kBlockDamaged}));
    EXPECT_TRUE(filesIn(v.volume.root()).isEmpty());
}

TEST(DamagedBlock, HeadingLongerThan64CharactersIsLeftBlank) {
    SavedViewer v;
    patchFile(v.exe(), slotPosition(v.volume, 3), recordHead(65));
    ASSERT_FALSE(v.start());
    EXPECT_TRUE(v.platform.boxes.empty()) << v.boxTexts().join('\n').toStdString();
    EXPECT_EQ(v.form->Label5[0]->Caption(), QString(64, ' '));
    EXPECT_EQ(v.form->Label1[1]->Caption(), QString::fromLatin1("C. Plinius Secundus\0", 20));
    // The saved place opens, and stays saved.
    EXPECT_EQ(v.form->Combo2->ListIndex(), 1);
    EXPECT_EQ(v.form->Combo1->ListIndex(), 2);
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), kSavedPlace);
}

TEST(DamagedBlock, BookRecordLongerThan64CharactersEndsNamingTheBook) {
    SavedViewer v;
    patchFile(v.exe(), slotPosition(v.volume, 8 + 1), recordHead(0xffff));
    v.expectEnds("IL programma NON RICONOSCE IL LIBRO: 1", kFatalTitle);
}

TEST(DamagedBlock, CoverCodeLongerThan64CharactersEndsAsAMissingFile) {
    SavedViewer v;
    patchFile(v.exe(), slotPosition(v.volume, 1), recordHead(200));
    // The saved book opens on its way before the cover archive is looked for.
    v.expectEnds(missingFileText(v), kMissingTitle, true);
    EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(v.volume.plan.books[1].pages[0]));
}
