// Damaged book archives: cut short, directory slots pointing outside or holding no numbers,
// entries too short to restore, pictures of absurd size, and archives
// that do not match the book records. Each ends in a message naming the archive, with the
// viewer on the page it showed, or in a clean end; the saved place is never touched.
#include "tests/support/viewer.h"

#include <QComboBox>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace cvx;
using namespace cvx::test;

namespace {
constexpr std::int16_t kRightArrow = 39;
const QString kAttention = QStringLiteral("- A T T E N Z I O N E -");

QString unreadable(const QString& label, const QString& archive) {
    return QStringLiteral("IMPOSSIBILE LEGGERE LA PAGINA %1 DALL'ARCHIVIO %2").arg(label, archive);
}

// Book 1 (sheets 001d 002s 002d 003s 003d) is the one damaged; the reader saved page 002d.
struct DamagedBook : Viewer {
    DamagedBook() : Viewer(Start::later) { writeBookmark(kSavedPlace); }
    [[nodiscard]] QString archive() const { return volume.path("dv00002.ex_"); }
    void expectSavedPlaceKept() const { EXPECT_EQ(contentOf(volume.bookmarkPath()), kSavedPlace); }
    void expectShowing(const char* label, int book, int page) const {
        EXPECT_EQ(pageText(), label);
        EXPECT_TRUE(showing(book, page));
        EXPECT_TRUE(form->Image1->Visible());
    }
};

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

TEST(DamagedArchive, CutInsideItsEntriesKeepsTheShownPage) {
    DamagedBook v;
    cutFile(v.archive(), QFileInfo(v.archive()).size() - 10); // the last entry loses its end
    ASSERT_FALSE(v.start());
    ASSERT_TRUE(v.platform.boxes.empty());
    v.event([&] { v.form->Combo1->setListIndex(3); });
    v.expectShowing("003s", 1, 3);
    v.key(kRightArrow); // onto 003d, the cut entry
    EXPECT_EQ(v.newBoxes(), QStringList({unreadable("003d", "dv00002.ex_")}));
    EXPECT_EQ(v.platform.boxes.back().title, kAttention);
    v.expectShowing("003s", 1, 3);
    v.expectSavedPlaceKept();
}

TEST(DamagedArchive, CutInOrBeforeItsDirectoryIsReportedWhenTheBookIsChosen) {
    // 300 bytes: slot texts 0 and 1, no entry data; 100 bytes: no directory at all.
    for (const int length : {300, 100}) {
        Viewer v(Start::later);
        cutFile(v.volume.path("dv00002.ex_"), length);
        ASSERT_FALSE(v.start());
        emit v.form->Combo2->combo()->activated(1);
        const QStringList boxes = v.newBoxes();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0].contains("dv00002.ex_")) << boxes[0].toStdString();
        EXPECT_EQ(v.book(), 0);
        EXPECT_EQ(v.pageText(), "0001");
        EXPECT_TRUE(v.showing(0, 0));
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
        // Another book still opens.
        emit v.form->Combo2->combo()->activated(2);
        EXPECT_EQ(v.newBoxes(), QStringList());
        EXPECT_EQ(v.pageText(), "0003");
    }
}

TEST(DamagedArchive, RememberedBookCutShortIsReportedAndTheSavedPlaceKept) {
    DamagedBook v;
    cutFile(v.archive(), 294); // slot texts 0 and 1: the saved page 2 becomes the last, 1
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList({unreadable("002s", "dv00002.ex_")}));
    EXPECT_TRUE(v.form->isVisible());
    v.expectSavedPlaceKept();
    emit v.form->Combo2->combo()->activated(0);
    EXPECT_EQ(v.platform.boxes.size(), 1u);
    v.expectShowing("0001", 0, 0);
}

TEST(DamagedArchive, SlotsOutsideTheFileOrWithoutNumbersAreReportedByPage) {
    // Columns 6-15 hold the position, 16-22 the length.
    const struct {
        int column;
        QByteArray text;
    } damages[] = {{6, "0999999999"}, {6, "0000000000"}, {6, "00000x0001"}, {6, "9999999999"},
                   {16, "9999999"},   {16, "00x7705"},   {16, "-000001"},   {16, "       "}};
    for (const auto& d : damages) {
        SCOPED_TRACE(d.text.constData());
        DamagedBook v;
        patchSlot(v.archive(), 2, d.column, d.text); // the remembered page, 002d
        ASSERT_FALSE(v.start());
        EXPECT_EQ(v.newBoxes(), QStringList({unreadable("002d", "dv00002.ex_")}));
        v.expectSavedPlaceKept();
        // The reader turns on to the next page, which is sound.
        v.key(kRightArrow);
        EXPECT_EQ(v.platform.boxes.size(), 1u);
        v.expectShowing("003s", 1, 3);
    }
}

TEST(DamagedArchive, EntryShorterThanTheRestorationNeedsIsReported) {
    DamagedBook v;
    patchSlot(v.archive(), 3, 16, "0007704"); // one byte short of a head byte's partner
    ASSERT_FALSE(v.start());
    ASSERT_TRUE(v.platform.boxes.empty());
    v.key(kRightArrow);
    EXPECT_EQ(v.newBoxes(), QStringList({unreadable("003s", "dv00002.ex_")}));
    v.expectShowing("002d", 1, 2);
    v.expectSavedPlaceKept();
}

TEST(DamagedArchive, CoverEntryTooShortIsReportedAndTheVolumeOpens) {
    DamagedBook v;
    patchSlot(v.volume.path("dv00001.ex_"), 0, 16, "0000010");
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.newBoxes(),
              QStringList({"IMPOSSIBILE LEGGERE LA COPERTINA DALL'ARCHIVIO dv00001.ex_"}));
    v.expectShowing("002d", 1, 2);
    v.expectSavedPlaceKept();
}

TEST(DamagedArchive, PictureOfAbsurdSizeIsRefusedBeforeItIsDecoded) {
    // 65000 x 65000 pixels: 16 GB in full. A progressive JPEG is buffered at full size by the
    // decoder whatever size is asked, so only its header may be read.
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        pack::VolumeSpec plan = standardVolume();
        plan.books[0].pages[1] = claimingSize(65000, 65000, progressive);
        Viewer v(plan);
        const long before = peakKilobytes();
        v.event([&] { v.form->Combo1->setListIndex(1); });
        EXPECT_LT(peakKilobytes() - before, 64L * 1024);
        EXPECT_EQ(v.newBoxes(),
                  QStringList({unreadable("0002", "dv00001.ex_") + QChar(13) +
                               "L'IMMAGINE dv00001.ex_ E' TROPPO GRANDE: 65000 x 65000 PIXEL, AL "
                               "MASSIMO 256 MILIONI DI PIXEL"}));
        EXPECT_EQ(v.pageText(), "0001");
        EXPECT_TRUE(v.showing(0, 0));
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
    }
}

TEST(DamagedArchive, LargestPictureAllowedIsDecodedOnlyAtTheSizeShown) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[1] = claimingSize(16000, 16000, false); // 256 million pixels
    Viewer v(plan);
    const long before = peakKilobytes();
    v.event([&] { v.form->Combo1->setListIndex(1); });
    EXPECT_LT(peakKilobytes() - before, 256 * 1024L);
    EXPECT_TRUE(v.platform.boxes.empty()) << v.newBoxes().join('\n').toStdString();
    EXPECT_EQ(v.form->Combo1->Text(), "0002");
    EXPECT_EQ(v.form->Image1->picture().pixelSize(), QSize(16000, 16000));
    EXPECT_LE(v.shownImage().height(), 1024);
}

TEST(DamagedArchive, PictureLimitNamesTheFileAndTheSize) {
    QString error;
    EXPECT_TRUE(Picture::fromBytes(claimingSize(16001, 16000, true), "lab.jpg", &error).isNull());
    EXPECT_EQ(error, "L'IMMAGINE lab.jpg E' TROPPO GRANDE: 16001 x 16000 PIXEL, AL MASSIMO 256 "
                     "MILIONI DI PIXEL");
    EXPECT_FALSE(Picture::fromBytes(claimingSize(16000, 16000, true), "lab.jpg", &error).isNull());
}

TEST(DamagedArchive, MissingArchiveOfABookRecordEndsAsAMissingFile) {
    DamagedBook v;
    ASSERT_TRUE(QFile::remove(v.archive()));
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList({"UN FILE di SISTEMA in: " + v.volume.folder() +
                                         " RISULTA MANCANTE O CORROTTO\rCHIUDO IL PROGRAMMA"}));
    v.expectSavedPlaceKept();
    EXPECT_EQ(filesIn(v.volume.workFolder()), QStringList({v.volume.plan.workFolderName + ".lib"}));
}

TEST(DamagedArchive, MoreArchivesThanBookRecordsEndNamingTheBook) {
    DamagedBook v;
    ASSERT_TRUE(QFile::copy(v.volume.path("dv00003.ex_"), v.volume.path("dv00004.ex_")));
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList({"IL programma NON RICONOSCE IL LIBRO: 3"}));
    EXPECT_EQ(v.platform.boxes[0].title, "ATTENZIONE, CHIUDO IL PROGRAMMA");
    v.expectSavedPlaceKept();
}
