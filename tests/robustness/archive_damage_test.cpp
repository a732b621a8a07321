// Damaged book archives: cut short, directory slots pointing outside or holding no numbers,
// entries too short to restore or that are no picture, pictures of absurd size, and archives
// that do not match the book records. Each ends in a message naming the archive, with the
// viewer on the page it showed, or in a clean end; the saved place is never touched.
#include "tests/robustness/damage.h"

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
    DamagedBook() : Viewer(standardVolume()) { writeBookmark(kSavedPlace); }
    [[nodiscard]] QString archive() const { return volume.path("dv00002.ex_"); }
    void setSlotField(int slot, int column, const QByteArray& text) const {
        QByteArray t = slotText(archive(), slot);
        t.replace(column - 1, text.size(), text);
        setSlotText(archive(), slot, t);
    }
    [[nodiscard]] QByteArray packedPage(int book, int page) const {
        return pack::padded(volume.plan.books[book].pages[page]);
    }
    void expectSavedPlaceKept() const { EXPECT_EQ(contentOf(volume.bookmarkPath()), kSavedPlace); }
    void expectShowing(const char* label, int book, int page) const {
        EXPECT_EQ(form->Combo2->ListIndex(), book);
        EXPECT_EQ(form->Combo1->Text(), label);
        EXPECT_EQ(contentOf(volume.workImagePath()), packedPage(book, page));
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
    v.event([&] { v.form->Form_KeyDown(kRightArrow, 0); }); // onto 003d, the cut entry
    EXPECT_EQ(v.boxTexts(), QStringList({unreadable("003d", "dv00002.ex_")}));
    EXPECT_EQ(v.platform.boxes.back().title, kAttention);
    v.expectShowing("003s", 1, 3);
    v.expectSavedPlaceKept();
}

TEST(DamagedArchive, CutInsideItsDirectoryIsReportedWhenTheBookIsChosen) {
    Viewer v;
    cutFile(v.volume.path("dv00002.ex_"), 300); // slot texts 0 and 1, no entry data
    ASSERT_FALSE(v.start());
    emit v.form->Combo2->combo()->activated(1);
    EXPECT_EQ(v.boxTexts(), QStringList({unreadable("001d", "dv00002.ex_")}));
    EXPECT_EQ(v.form->Combo2->ListIndex(), 0);
    EXPECT_EQ(v.form->Combo1->Text(), "0001");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(v.volume.plan.books[0].pages[0]));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
    // Another book still opens.
    emit v.form->Combo2->combo()->activated(2);
    EXPECT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.form->Combo1->Text(), "0003");
}

TEST(DamagedArchive, CutBeforeItsDirectoryHasNoPageToShow) {
    Viewer v;
    cutFile(v.volume.path("dv00002.ex_"), 100);
    ASSERT_FALSE(v.start());
    emit v.form->Combo2->combo()->activated(1);
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(v.platform.boxes[0].text.contains("dv00002.ex_"))
        << v.platform.boxes[0].text.toStdString();
    EXPECT_EQ(v.form->Combo2->ListIndex(), 0);
    EXPECT_EQ(v.form->Combo1->Text(), "0001");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(v.volume.plan.books[0].pages[0]));
}

TEST(DamagedArchive, RememberedBookCutShortIsReportedAndTheSavedPlaceKept) {
    DamagedBook v;
    cutFile(v.archive(), 294); // slot texts 0 and 1: the saved page 2 becomes the last, 1
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.boxTexts(), QStringList({unreadable("002s", "dv00002.ex_")}));
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
        v.setSlotField(2, d.column, d.text); // the remembered page, 002d
        ASSERT_FALSE(v.start());
        EXPECT_EQ(v.boxTexts(), QStringList({unreadable("002d", "dv00002.ex_")}));
        v.expectSavedPlaceKept();
        // The reader turns on to the next page, which is sound.
        v.event([&] { v.form->Form_KeyDown(kRightArrow, 0); });
        EXPECT_EQ(v.platform.boxes.size(), 1u);
        v.expectShowing("003s", 1, 3);
    }
}

TEST(DamagedArchive, EntryShorterThanTheRestorationNeedsIsReported) {
    DamagedBook v;
    v.setSlotField(3, 16, "0007704"); // one byte short of a head byte's partner
    ASSERT_FALSE(v.start());
    ASSERT_TRUE(v.platform.boxes.empty());
    v.event([&] { v.form->Form_KeyDown(kRightArrow, 0); });
    EXPECT_EQ(v.boxTexts(), QStringList({unreadable("003s", "dv00002.ex_")}));
    v.expectShowing("002d", 1, 2);
    v.expectSavedPlaceKept();
}

TEST(DamagedArchive, CoverEntryTooShortIsReportedAndTheVolumeOpens) {
    DamagedBook v;
    setSlotText(v.volume.path("dv00001.ex_"), 0,
                slotText(v.volume.path("dv00001.ex_"), 0).left(15) + "0000010");
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.boxTexts(),
              QStringList({"IMPOSSIBILE LEGGERE LA COPERTINA DALL'ARCHIVIO dv00001.ex_"}));
    v.expectShowing("002d", 1, 2);
    v.expectSavedPlaceKept();
}

TEST(DamagedArchive, EntryThatIsNoPictureIsReportedWhenTurnedTo) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1].pages[3] = notAPicture(); // 003s
    Viewer v(plan);
    v.writeBookmark(kSavedPlace);
    ASSERT_FALSE(v.start());
    v.event([&] { v.form->Form_KeyDown(kRightArrow, 0); });
    EXPECT_EQ(v.boxTexts(), QStringList({unreadable("003s", "dv00002.ex_")}));
    EXPECT_EQ(v.form->Combo1->Text(), "002d");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(plan.books[1].pages[2]));
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), kSavedPlace);
}

TEST(DamagedArchive, PictureOfAbsurdSizeIsRefusedBeforeItIsDecoded) {
    // 65000 x 65000 pixels: 16 GB in full. A progressive JPEG is buffered at full size by the
    // decoder whatever size is asked, so only its header may be read.
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        pack::VolumeSpec plan = standardVolume();
        plan.books[0].pages[1] = claimingSize(65000, 65000, progressive);
        Viewer v(plan);
        ASSERT_FALSE(v.start());
        const long before = peakKilobytes();
        v.event([&] { v.form->Combo1->setListIndex(1); });
        EXPECT_LT(peakKilobytes() - before, 64L * 1024);
        EXPECT_EQ(v.boxTexts(),
                  QStringList({unreadable("0002", "dv00001.ex_") + QChar(13) +
                               "L'IMMAGINE dv00001.ex_ E' TROPPO GRANDE: 65000 x 65000 PIXEL, AL "
                               "MASSIMO 256 MILIONI DI PIXEL"}));
        EXPECT_EQ(v.form->Combo1->Text(), "0001");
        EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(plan.books[0].pages[0]));
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
    }
}

TEST(DamagedArchive, LargestPictureAllowedIsDecodedOnlyAtTheSizeShown) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[1] = claimingSize(16000, 16000, false); // 256 million pixels
    Viewer v(plan);
    ASSERT_FALSE(v.start());
    const long before = peakKilobytes();
    v.event([&] { v.form->Combo1->setListIndex(1); });
    EXPECT_LT(peakKilobytes() - before, 256 * 1024L);
    EXPECT_TRUE(v.platform.boxes.empty()) << v.boxTexts().join('\n').toStdString();
    EXPECT_EQ(v.form->Combo1->Text(), "0002");
    EXPECT_EQ(v.form->Image1->picture().pixelSize(), QSize(16000, 16000));
    EXPECT_LE(shownPage(*v.form).height(), 1024);
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
    EXPECT_EQ(v.boxTexts(), QStringList({"UN FILE di SISTEMA in: " + v.volume.folder() +
                                         " RISULTA MANCANTE O CORROTTO\rCHIUDO IL PROGRAMMA"}));
    v.expectSavedPlaceKept();
    EXPECT_EQ(filesIn(v.volume.root() + v.volume.plan.workFolderName),
              QStringList({v.volume.plan.workFolderName + ".lib"}));
}

TEST(DamagedArchive, MoreArchivesThanBookRecordsEndNamingTheBook) {
    DamagedBook v;
    ASSERT_TRUE(QFile::copy(v.volume.path("dv00003.ex_"), v.volume.path("dv00004.ex_")));
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.boxTexts(), QStringList({"IL programma NON RICONOSCE IL LIBRO: 3"}));
    EXPECT_EQ(v.platform.boxes[0].title, "ATTENZIONE, CHIUDO IL PROGRAMMA");
    v.expectSavedPlaceKept();
}
