// Start-up on packed volumes: the remembered book and page, the directory of an archive, the
// cover picture of the instructions panel and its pointers.
#include "tests/support/viewer.h"

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

TEST(Bookmark, ThirdBookIsTheThirdArchiveInNameOrder) {
    Viewer v(Start::later);
    v.writeBookmark(" 2\r\n 1\r\n");
    ASSERT_FALSE(v.start());
    EXPECT_TRUE(v.platform.boxes.empty());
    EXPECT_TRUE(v.showing(2, 1));
    EXPECT_EQ(v.form->place.CurrentPageIndex, 1);
    EXPECT_EQ(v.form->place.ArchivePath, "dv00003.ex_");
    EXPECT_EQ(v.form->Combo2->Text(), "03 Lib.03 Tavole");
    EXPECT_EQ(v.form->place.NumberingKind, 2);
    EXPECT_EQ(v.form->place.FirstSide.text(), "D");
    EXPECT_EQ(v.form->place.FirstNumber, 1);
    EXPECT_EQ(v.form->List2.ListCount(), 3);
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"0003", "0005", "0007"}));
    EXPECT_TRUE(v.form->SCHERMO->Visible());
    EXPECT_TRUE(v.form->Image1->Visible());
    EXPECT_FALSE(v.shownImage().isNull());
}

TEST(Directory, SlotBeginningWithNulOrAllBlankEndsTheDirectory) {
    const struct {
        int slot;
        QByteArray text;
        QStringList labels;
    } cases[] = {{3, QByteArray(1, '\0'), {"001d", "002s", "002d"}},
                 {2, QByteArray(22, ' '), {"001d", "002s"}}};
    for (const auto& c : cases) {
        Viewer v(Start::later);
        patchSlot(v.volume.path("dv00002.ex_"), c.slot, 1, c.text);
        v.writeBookmark(" 1\r\n 4\r\n"); // beyond the directory's end: its last page
        ASSERT_FALSE(v.start());
        EXPECT_TRUE(v.platform.boxes.empty());
        EXPECT_EQ(v.form->List2.ListCount(), c.labels.size());
        EXPECT_EQ(v.form->Combo1->items(), c.labels);
        EXPECT_EQ(v.form->Combo1->ListIndex(), c.labels.size() - 1);
    }
}

TEST(Directory, AFullDirectoryHolds401Entries) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1] = makeBook("Grande", 1, 'D', 1, 401, QSize(8, 8));
    Viewer v(plan, Start::later);
    v.writeBookmark(" 1\r\n 400\r\n");
    ASSERT_FALSE(v.start());
    EXPECT_EQ(v.form->List2.ListCount(), 401);
    EXPECT_EQ(v.form->Combo1->ListCount(), 401);
    EXPECT_EQ(v.pageText(), "0401");
    EXPECT_TRUE(v.showing(1, 400));
}

TEST(Cover, WideCoverIsFittedIntoThePanelBoxAndThePointersFollowIt) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[2].pages[1] = makeJpeg(QSize(1126, 684), Qt::darkRed, "COPERTINA");
    plan.coverBook = 2;
    plan.coverEntry = 1;
    Viewer v(plan);
    EXPECT_TRUE(v.platform.boxes.empty());
    const BookForm& f = *v.form;
    EXPECT_EQ(f.CoverEntryName, "P0002");
    EXPECT_EQ(QRectF(f.Image4->Left(), f.Image4->Top(), f.Image4->Width(), f.Image4->Height()),
              QRectF(0, 30, 8445, 5130));
    EXPECT_TRUE(f.Image4->Stretch());
    EXPECT_EQ(f.Image4->picture().pixelSize(), QSize(1126, 684));
    const QPointF expected[6] = {{4147.5, 2565}, {7920, 2565}, {75, 2565},
                                 {4147.5, 4635}, {4147.5, 55}, {4147.5, 2565}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(QPointF(f.Image7[i]->Left(), f.Image7[i]->Top()), expected[i]) << i;
        EXPECT_FALSE(f.Image7[i]->Visible());
    }
    // The page, not the cover, is what the working image holds afterwards.
    EXPECT_TRUE(v.showing(0, 0));
}

TEST(Cover, TallCoverIsCentred) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[0] = makeJpeg(QSize(600, 900), Qt::darkBlue);
    Viewer v(plan);
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
    EXPECT_EQ(v.newBoxes(),
              QStringList({"IMPOSSIBILE LEGGERE LA COPERTINA DALL'ARCHIVIO dv00003.ex_"}));
    EXPECT_TRUE(v.showing(0, 0));
    EXPECT_EQ(v.pageText(), "0001");
    EXPECT_TRUE(v.form->Image4->picture().isNull());
}

TEST(Cover, MissingCoverArchiveEndsTheProgram) {
    pack::VolumeSpec plan = standardVolume();
    plan.coverBook = 7; // dv00008.ex_, not in the folder
    Viewer v(plan, Start::later);
    ASSERT_TRUE(v.start());
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(v.platform.boxes[0].text.startsWith("UN FILE di SISTEMA in: "));
}

TEST(Startup, DamagedRememberedPageIsReportedWithTheSelectorsFilled) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[0] = notAPicture();
    plan.coverBook = 1;
    Viewer v(plan);
    EXPECT_EQ(v.newBoxes(),
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
    EXPECT_EQ(v.pageText(), "0002");
    EXPECT_TRUE(v.form->Image1->Visible());
    EXPECT_TRUE(v.showing(0, 1));
}

TEST(Startup, DamagedFirstPageDoesNotStopTheRememberedOne) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1].pages[0] = notAPicture();
    Viewer v(plan, Start::later);
    v.writeBookmark(" 1\r\n 2\r\n");
    ASSERT_FALSE(v.start());
    EXPECT_TRUE(v.platform.boxes.empty());
    EXPECT_TRUE(v.showing(1, 2));
    EXPECT_EQ(v.pageText(), "002d");
}

TEST(Startup, VolumeWithoutArchivesEndsWithAMessage) {
    pack::VolumeSpec plan = standardVolume();
    plan.books.clear();
    Viewer v(plan, Start::later);
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList({"IL TESTO NON CORRISPONTE A NESSUN LIBRO VALIDO, "
                                         "L'ARCHIVIO RISULTA CORROTTO"}));
}
