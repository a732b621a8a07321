// Start-up: the product data block, the working folder, the screen check and layout, the fatal
// exits and the order of the steps, on volumes built here.
#include "app/screen_rules.h"
#include "tests/support/viewer.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

TEST(Startup, FirstStartCreatesTheWorkingFolderAndShowsTheTitles) {
    Viewer v;
    EXPECT_TRUE(v.platform.boxes.empty());
    EXPECT_TRUE(v.form->isVisible());
    EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
    EXPECT_TRUE(QFile::exists(v.volume.workImagePath()));
    // Titles are stored with a final NUL, which is not shown.
    EXPECT_EQ(v.form->Label5[0]->Caption(), QString::fromLatin1("Historia Naturalis\0", 19));
    EXPECT_EQ(v.form->Label5[0]->label()->text(), "Historia Naturalis");
    EXPECT_EQ(v.form->Label1[3]->label()->text(), "Venezia");
    EXPECT_EQ(v.form->Label7->label()->text(), "1472");
    EXPECT_EQ(v.form->CoverArchiveName, "dv00001.ex_");
    EXPECT_EQ(numericValue(v.form->CoverEntryNumber), 0);
    ASSERT_EQ(v.form->List1.ListCount(), 3);
    EXPECT_EQ(v.form->List1.List(1).size(), 60);
    EXPECT_EQ(v.form->Combo2->List(1), "02 Lib.02 Primo libro");
    EXPECT_EQ(v.form->Label10->Caption(), "1280 x 1024 pixel");
    EXPECT_TRUE(v.form->keyPreview());
}

TEST(Startup, LabelWithLeadingBlanksIsTrimmedOrRejected) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1].label = QStringLiteral("  Secondo");
    Viewer accepted(plan);
    EXPECT_EQ(accepted.form->Combo2->List(1), "Secondo");
    // As many blanks as the label has letters, or no label at all.
    for (const QString& label : {QStringLiteral("   AB"), QString()}) {
        plan.books[1].label = label;
        Viewer rejected(plan, Start::later);
        ASSERT_TRUE(rejected.start());
        ASSERT_EQ(rejected.platform.boxes.size(), 1u);
        EXPECT_EQ(rejected.platform.boxes[0].text, "IL programma NON RICONOSCE IL LIBRO: 1");
        EXPECT_EQ(rejected.platform.boxes[0].title, "ATTENZIONE, CHIUDO IL PROGRAMMA");
        EXPECT_EQ(rejected.platform.boxes[0].style, kStyleCritical);
    }
}

TEST(Startup, FolderNameKeepsItsTrailingBlanks) {
    pack::VolumeSpec plan = standardVolume();
    plan.workFolderName = QStringLiteral("CVX     ");
    Viewer v(plan);
    EXPECT_EQ(v.form->WorkFolderName, "CVX     ");
    EXPECT_TRUE(QFile::exists(v.volume.root() + "CVX     /CVX     .lib"));
}

TEST(WorkingFolder, WhatItHoldsIsKeptAndAMissingFileComesBack) {
    for (const bool withBookmark : {true, false}) {
        Viewer v(Start::later);
        ASSERT_TRUE(QDir().mkpath(v.volume.workFolder()));
        if (withBookmark)
            writeFile(v.volume.bookmarkPath(), "");
        writeFile(v.volume.workFolder() + "/other.txt", "keep");
        ASSERT_FALSE(v.start());
        EXPECT_EQ(contentOf(v.volume.bookmarkPath()), "");
        EXPECT_TRUE(QFile::exists(v.volume.workImagePath()));
        EXPECT_EQ(contentOf(v.volume.workFolder() + "/other.txt"), "keep");
    }
}

TEST(WorkingFolder, FolderThatCannotBeCreatedEndsWithAMessage) {
    Viewer v(Start::later);
    writeFile(v.volume.workFolder(), ""); // a file in the way of the folder
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.newBoxes(), QStringList{"IMPOSSIBILE CREARE LA CARTELLA DI LAVORO: " +
                                        v.volume.workFolder() + "/"});
}

TEST(ScreenCheck, ThresholdsAreStrict) {
    EXPECT_EQ(screen::fit(15359), screen::Fit::TooNarrow);
    EXPECT_EQ(screen::fit(15360), screen::Fit::Narrow);
    EXPECT_EQ(screen::fit(19199), screen::Fit::Narrow);
    EXPECT_EQ(screen::fit(19200), screen::Fit::Fine);
}

TEST(ScreenCheck, NarrowScreenIsAdvisedBeforeAnythingElse) {
    Viewer v(Start::later);
    v.platform.screen = QSize(1024, 768);
    bool windowShown = true;
    bool folderThere = true;
    v.platform.onBox = [&](const ShownBox&) {
        windowShown = v.form->isVisible();
        folderThere = QFile::exists(v.volume.workFolder());
    };
    ASSERT_FALSE(v.start());
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    const ShownBox& box = v.platform.boxes[0];
    EXPECT_EQ(box.title, "N O T A");
    EXPECT_EQ(box.style, kStyleCritical);
    EXPECT_EQ(box.text, QStringLiteral("La definizione schermo risulta di 1024 x 768 pixel\r") +
                            "Si consiglia la definizione schermo orizzontale MINIMA di 1280 pixel\r"
                            "La lettura di alcuni testi, con caratteri molto piccoli, potrebbe "
                            "essere difficoltosa.");
    EXPECT_FALSE(windowShown);
    EXPECT_FALSE(folderThere);
    EXPECT_TRUE(QFile::exists(v.volume.bookmarkPath()));
}

TEST(ScreenCheck, TooNarrowScreenEndsBeforeAnythingIsCreated) {
    Viewer v(Start::later);
    v.platform.screen = QSize(800, 600);
    ASSERT_TRUE(v.start());
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].title, "ATTENZIONE, CHIUDO IL PROGRAMMA");
    EXPECT_TRUE(v.platform.boxes[0].text.startsWith(
        "La definizione orizzontale MINIMA dello schermo deve essere di 1024 pixel\r!!!"));
    EXPECT_EQ(v.platform.exitStatus, kExitFailure);
    EXPECT_TRUE(QDir(v.volume.root()).isEmpty());
}

TEST(ScreenLayout, FiguresForA1280By1024Screen) {
    Viewer v;
    BookForm& f = *v.form;
    EXPECT_EQ(f.Width(), 19200);
    EXPECT_EQ(f.Height(), 15360);
    EXPECT_EQ(f.SCHERMO->Left(), 15);
    EXPECT_EQ(f.SCHERMO->Top(), 365);
    EXPECT_EQ(f.SCHERMO->Width(), 19170);
    EXPECT_EQ(f.SCHERMO->Height(), 14980);
    EXPECT_EQ(f.Picture3->Left(), 2595);
    EXPECT_EQ(f.Picture6->Left(), 2595);
    EXPECT_EQ(f.Picture2->Left(), 1920);
    EXPECT_EQ(f.Picture2->Top(), 780);
    EXPECT_DOUBLE_EQ(f.Picture7->Left(), (19170 - 4725) / 2.0);
    EXPECT_DOUBLE_EQ(f.Picture7->Top(), (14980 - 3045) / 2.0);
    EXPECT_EQ(f.Picture1->Height(), 15360 - 365);
    EXPECT_FALSE(f.Picture1->Visible());
    EXPECT_FALSE(f.Picture7->Visible());
    EXPECT_FALSE(f.Picture9->Visible());
    EXPECT_FALSE(f.Image5->Visible());
    EXPECT_FALSE(f.Image6->Visible());
    EXPECT_TRUE(f.Image2[0]->Visible());
    EXPECT_FALSE(f.Image2[1]->Visible());
    EXPECT_EQ(f.Label8->Caption(), "0");
    EXPECT_EQ(f.view.Magnified, False);
    // The widget gets the nearest pixels.
    EXPECT_EQ(f.SCHERMO->widget()->geometry(), QRect(1, 24, 1278, 999));
}

TEST(FatalExits, MissingExecutableNamesTheFolder) {
    Viewer v(Start::later);
    ASSERT_TRUE(QFile::remove(v.volume.path("Cartavox.exe")));
    ASSERT_TRUE(v.start());
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text, "UN FILE di SISTEMA in: " + v.volume.folder() +
                                            " RISULTA MANCANTE O CORROTTO\rCHIUDO IL PROGRAMMA");
    EXPECT_EQ(v.platform.boxes[0].title, "- A T T E N Z I O N E -");
    EXPECT_EQ(v.platform.boxes[0].style, kStyleOk);
    EXPECT_EQ(v.platform.exitStatus, kExitFailure);
    EXPECT_TRUE(QDir(v.volume.root()).isEmpty());
}

TEST(FatalExits, StartedFromTheRootNamesTheRootWithItsSeparator) {
    Viewer v(Start::later);
    v.platform.folder = QStringLiteral("/");
    ASSERT_FALSE(QFile::exists("/Cartavox.exe"));
    ASSERT_TRUE(v.start());
    EXPECT_EQ(v.platform.boxes[0].text,
              "UN FILE di SISTEMA in: / RISULTA MANCANTE O CORROTTO\rCHIUDO IL PROGRAMMA");
}

TEST(FatalExits, ErroreShowsEvenAnEmptyText) {
    Viewer v(Start::later);
    v.form = std::make_unique<BookForm>(v.platform);
    v.form->MessageText.clear();
    EXPECT_THROW(v.form->ERRORE(), ProgramEnded);
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text, "");
    EXPECT_EQ(v.platform.boxes[0].title, "ATTENZIONE, CHIUDO IL PROGRAMMA");
    EXPECT_EQ(v.platform.exitStatus, kExitFailure);
}

TEST(FatalExits, FailureNoProcedureHandlesEndsWithAFailureStatus) {
    Viewer v;
    EXPECT_THROW(v.form->handleEvent([] { throw RuntimeError(QStringLiteral("Overflow")); }),
                 ProgramEnded);
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text, "Errore di esecuzione: Overflow");
    EXPECT_EQ(v.platform.exitStatus, kExitFailure);
}
