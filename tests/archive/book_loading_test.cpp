// Start-up on packed volumes: the remembered book and page, the directory of an archive, the
// cover picture of the instructions panel and its pointers.
#include "tests/archive/archive_fixtures.h"

#include "archive/archive_layout.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// Book, page position and page label on screen after start-up.
struct Place {
    int book;
    int page;
    QString label;
};

Place placeOf(const BookForm& f) {
    return {f.Combo2->ListIndex(), f.Combo1->ListIndex(), f.Combo1->Text()};
}

void expectPlace(const Viewer& v, int book, int page, const char* label) {
    const Place p = placeOf(*v.form);
    EXPECT_EQ(p.book, book);
    EXPECT_EQ(p.page, page);
    EXPECT_EQ(p.label, label);
    EXPECT_EQ(v.form->place.CurrentPageIndex, page);
    EXPECT_EQ(v.form->place.ArchivePath, pack::archiveName(book));
    // The working image holds that page as it was packed.
    EXPECT_EQ(contentOf(v.volume.workImagePath()),
              pack::padded(v.volume.plan.books[book].pages[page]));
    EXPECT_TRUE(v.form->SCHERMO->Visible());
    EXPECT_TRUE(v.form->Image1->Visible());
}
} // namespace

TEST(Bookmark, EmptyOpensTheFirstBookAtItsFirstPage) {
    Viewer v;
    ASSERT_FALSE(v.start());
    EXPECT_TRUE(v.platform.boxes.empty());
    expectPlace(v, 0, 0, "0001");
    EXPECT_EQ(v.form->List2.ListCount(), 4);
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"0001", "0002", "0003", "0004"}));
    EXPECT_FALSE(shownPage(*v.form).isNull());
}

TEST(Bookmark, ThirdBookIsTheThirdArchiveInNameOrder) {
    Viewer v;
    v.writeBookmark(" 2\r\n 1\r\n");
    ASSERT_FALSE(v.start());
    EXPECT_TRUE(v.platform.boxes.empty());
    expectPlace(v, 2, 1, "0005");
    EXPECT_EQ(v.form->place.ArchivePath, "dv00003.ex_");
    EXPECT_EQ(v.form->Combo2->Text(), "03 Lib.03 Tavole");
    EXPECT_EQ(v.form->place.NumberingKind, 2);
    EXPECT_EQ(v.form->place.FirstSide.text(), "D");
    EXPECT_EQ(v.form->place.FirstNumber, 1);
    EXPECT_TRUE(v.form->List1.List(2).startsWith("03 Lib.03 Tavole"));
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"0003", "0005", "0007"}));
}

TEST(Bookmark, PageBeyondTheLastOpensTheLastPage) {
    Viewer v;
    v.writeBookmark(" 1\r\n 250\r\n");
    ASSERT_FALSE(v.start());
    expectPlace(v, 1, 4, "003d");
}

TEST(Bookmark, NegativePageOpensTheFirstPage) {
    Viewer v;
    v.writeBookmark("1,-4");
    ASSERT_FALSE(v.start());
    expectPlace(v, 1, 0, "001d");
}

TEST(Bookmark, BookThatDoesNotExistOpensTheFirstBook) {
    for (const QByteArray& bookmark :
         {QByteArray(" 7\r\n 2\r\n"), QByteArray("-1\r\n 2\r\n"), QByteArray("99999999999999,2")}) {
        Viewer v;
        v.writeBookmark(bookmark);
        ASSERT_FALSE(v.start()) << bookmark.constData();
        EXPECT_TRUE(v.platform.boxes.empty());
        expectPlace(v, 0, 0, "0001");
    }
}

TEST(Bookmark, GarbageOpensTheFirstBookAndTheViewerStaysUsable) {
    for (const QByteArray& bookmark : {QByteArray("\x01\x02\xff\xfe garbage \x7f", 15),
                                       QByteArray("abc,xyz"), QByteArray(" 1\r\n")}) {
        Viewer v;
        v.writeBookmark(bookmark);
        ASSERT_FALSE(v.start());
        EXPECT_TRUE(v.platform.boxes.empty());
        expectPlace(v, 0, 0, "0001");
        EXPECT_EQ(v.form->File2.ListCount(), 3); // the archives, not the working folder
        v.event([&] { v.form->Combo2->setListIndex(1); });
        EXPECT_EQ(v.form->Combo1->Text(), "001d");
        EXPECT_TRUE(v.platform.boxes.empty());
    }
}

TEST(Directory, SlotBeginningWithNulEndsTheDirectory) {
    Viewer v;
    QByteArray slot = slotText(v.volume.path("dv00002.ex_"), 3);
    slot[0] = '\0';
    setSlotText(v.volume.path("dv00002.ex_"), 3, slot);
    v.writeBookmark(" 1\r\n 0\r\n");
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.form->List2.ListCount(), 3);
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"001d", "002s", "002d"}));
}

TEST(Directory, AllBlankSlotEndsTheDirectory) {
    Viewer v;
    setSlotText(v.volume.path("dv00002.ex_"), 2, QByteArray(22, ' '));
    v.writeBookmark(" 1\r\n 4\r\n");
    ASSERT_FALSE(v.start());
    EXPECT_TRUE(v.platform.boxes.empty());
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"001d", "002s"}));
    EXPECT_EQ(v.form->Combo1->ListIndex(), 1);
}

TEST(Directory, SlotTextsAreKeptTrimmed) {
    Viewer v;
    ASSERT_FALSE(v.start());
    const QString first = v.form->List2.List(0);
    EXPECT_EQ(first, QString::fromLatin1(slotText(v.volume.path("dv00001.ex_"), 0)).trimmed());
    EXPECT_EQ(first.left(5), "P0001");
    EXPECT_EQ(v.form->place.EntryName, "P0001");
}

TEST(Directory, AFullDirectoryHolds401Entries) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1] = makeBook("Grande", 1, 'D', 1, 401, QSize(8, 8));
    Viewer v(plan);
    v.writeBookmark(" 1\r\n 400\r\n");
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.form->List2.ListCount(), 401);
    EXPECT_EQ(v.form->Combo1->ListCount(), 401);
    EXPECT_EQ(v.form->Combo1->Text(), "0401");
    EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(plan.books[1].pages[400]));
}

TEST(Cover, WideCoverIsFittedIntoThePanelBoxAndThePointersFollowIt) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[2].pages[1] = makeJpeg(QSize(1126, 684), Qt::darkRed, "COPERTINA");
    plan.coverBook = 2;
    plan.coverEntry = 1;
    Viewer v(plan);
    ASSERT_FALSE(v.start());
    EXPECT_TRUE(v.platform.boxes.empty());
    const BookForm& f = *v.form;
    EXPECT_EQ(f.CoverEntryName, "P0002");
    EXPECT_DOUBLE_EQ(f.Image4->Width(), 8445);
    EXPECT_DOUBLE_EQ(f.Image4->Height(), 5130);
    EXPECT_DOUBLE_EQ(f.Image4->Left(), 0);
    EXPECT_DOUBLE_EQ(f.Image4->Top(), 30);
    EXPECT_TRUE(f.Image4->Stretch());
    EXPECT_EQ(f.Image4->picture().pixelSize(), QSize(1126, 684));
    const double expected[6][2] = {{4147.5, 2565}, {7920, 2565}, {75, 2565},
                                   {4147.5, 4635}, {4147.5, 55}, {4147.5, 2565}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(f.Image7[i]->Left(), expected[i][0]) << i;
        EXPECT_DOUBLE_EQ(f.Image7[i]->Top(), expected[i][1]) << i;
        EXPECT_FALSE(f.Image7[i]->Visible());
    }
    // The page, not the cover, is what the working image holds afterwards.
    EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(plan.books[0].pages[0]));
}

TEST(Cover, TallCoverIsCentred) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[0] = makeJpeg(QSize(600, 900), Qt::darkBlue);
    Viewer v(plan);
    ASSERT_FALSE(v.start());
    // 9000 x 13500 twips into 8445 x 10260: limited by the height, 6840 wide.
    EXPECT_NEAR(v.form->Image4->Width(), 6840, 0.01);
    EXPECT_NEAR(v.form->Image4->Height(), 10260, 0.01);
    EXPECT_NEAR(v.form->Image4->Left(), 802.5, 0.01);
}

TEST(Cover, DamagedCoverIsReportedAndTheVolumeStillOpens) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[2].pages[2] = notAPicture();
    plan.coverBook = 2;
    plan.coverEntry = 2;
    Viewer v(plan);
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.boxTexts(),
              QStringList({"IMPOSSIBILE LEGGERE LA COPERTINA DALL'ARCHIVIO dv00003.ex_"}));
    expectPlace(v, 0, 0, "0001");
    EXPECT_TRUE(v.form->Image4->picture().isNull());
}

TEST(Cover, MissingCoverArchiveEndsTheProgram) {
    pack::VolumeSpec plan = standardVolume();
    plan.coverBook = 7; // dv00008.ex_, not in the folder
    Viewer v(plan);
    ASSERT_TRUE(v.start());
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(v.platform.boxes[0].text.startsWith("UN FILE di SISTEMA in: "));
}

TEST(Startup, DamagedRememberedPageIsReportedWithTheSelectorsFilled) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[0] = notAPicture();
    plan.coverBook = 1;
    Viewer v(plan);
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.boxTexts(),
              QStringList({"IMPOSSIBILE LEGGERE LA PAGINA 0001 DALL'ARCHIVIO dv00001.ex_"}));
    EXPECT_EQ(v.platform.boxes[0].title, "- A T T E N Z I O N E -");
    EXPECT_EQ(v.platform.boxes[0].style, kStyleCritical);
    EXPECT_EQ(v.form->Combo2->ListCount(), 3);
    EXPECT_EQ(v.form->Combo1->ListCount(), 4);
    EXPECT_TRUE(v.form->SCHERMO->Visible());
    EXPECT_TRUE(v.form->isVisible());
    // The reader goes on to a page that can be read.
    v.event([&] { v.form->Combo1->setListIndex(1); });
    EXPECT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.form->Combo1->Text(), "0002");
    EXPECT_TRUE(v.form->Image1->Visible());
    EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(plan.books[0].pages[1]));
}

TEST(Startup, DamagedFirstPageDoesNotStopTheRememberedOne) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1].pages[0] = notAPicture();
    Viewer v(plan);
    v.writeBookmark(" 1\r\n 2\r\n");
    ASSERT_FALSE(v.start());
    EXPECT_TRUE(v.platform.boxes.empty());
    expectPlace(v, 1, 2, "002d");
}

TEST(Startup, VolumeWithoutArchivesEndsWithAMessage) {
    pack::VolumeSpec plan = standardVolume();
    plan.books.clear();
    Viewer v(plan);
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.boxTexts(), QStringList({"IL TESTO NON CORRISPONTE A NESSUN LIBRO VALIDO, "
                                         "L'ARCHIVIO RISULTA CORROTTO"}));
}
