// Printing the current sheet, with a scripted printer in place of the system's default one.
#include "platform/printer.h"
#include "tests/support/viewer.h"

#include <QImageReader>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace cvx;
using namespace cvx::test;

namespace {
const QChar CR(13);

// Shows a page of `pixels` as a small picture on the screen, a fifth of its size.
void showPage(Viewer& v, QSize pixels) {
    v.form->Image1->setStretch(true);
    v.form->Image1->setPicture(
        Picture::fromBytes(makeJpeg(pixels, QColor(240, 228, 200), "IV"), "page", nullptr));
    v.form->Image1->setGeometry(15, 15, pixels.width() * 3, pixels.height() * 3);
    ASSERT_TRUE(v.form->Image1->realize());
}

const PrinterSetup kPortrait{QStringLiteral("Ufficio"), 1, QSizeF(200, 287), {}};
const PrinterSetup kLandscape{QStringLiteral("Ufficio"), 2, QSizeF(287, 200), {}};

QString confirmation(const QString& orientation, const QString& page, const QString& image) {
    return QStringLiteral("NOME DELLA STAMPANTE: Ufficio") + CR +
           QStringLiteral("SENSO DI STAMPA: ") + orientation + CR + CR +
           QStringLiteral("DIMENSIONE pagina in mm.: ") + page + CR +
           QStringLiteral("DIMENSIONE immagine in mm.: ") + image + CR + CR +
           QStringLiteral("PER MODIFICARE I PARAMETRI") + CR +
           QStringLiteral("occorre modificare il settaggio della stampante") + CR + CR +
           QStringLiteral("PROSEGUO CON LA STAMPA?");
}
} // namespace

TEST(Printing, SheetIsConfirmedAndPrintedAtFullResolution) {
    const struct {
        PrinterSetup printer;
        QSize pixels;
        std::function<void(Viewer&)> print;
        const char *orientation, *paper, *image;
        QRectF area; // millimetres from the printable area's corner
    } cases[] = {
        {kPortrait,
         {600, 900},
         [](Viewer& v) { v.form->Command2_Click(); },
         "VERTICALE",
         "200 x 287",
         "187 x 281",
         {11, 1, 187, 281}},
        {kLandscape,
         {600, 900},
         [](Viewer& v) { v.form->Image10_Click(); },
         "ORIZZONTALE",
         "287 x 200",
         "130 x 196",
         {155, 1, 130, 196}},
        {kPortrait,
         {1000, 300},
         [](Viewer& v) { v.key(115); },
         "VERTICALE",
         "200 x 287",
         "200 x 60",
         {-2, 1, 200, 60}}, // F4; the width limits it, 2 mm inside the right edge
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.image);
        Viewer v;
        v.platform.printer = c.printer;
        showPage(v, c.pixels);
        EXPECT_EQ(v.shownImage().size(), c.pixels / 5);
        c.print(v);
        ASSERT_EQ(v.platform.boxes.size(), 1u);
        EXPECT_EQ(v.platform.boxes[0].text, confirmation(c.orientation, c.paper, c.image));
        EXPECT_EQ(v.platform.boxes[0].title,
                  "LA STAMPA viene effettuata con i seguenti parametri:");
        EXPECT_EQ(v.platform.boxes[0].style, kStyleYesNoCritical);
        // The print takes every pixel of the scan.
        ASSERT_EQ(v.platform.printed.size(), 1u);
        EXPECT_EQ(v.platform.printed[0].image.size(), c.pixels);
        EXPECT_EQ(v.platform.printed[0].area, c.area);
    }
}

TEST(Printing, AnsweringNoPrintsNothingAndTheInstructionsClose) {
    Viewer v;
    v.platform.printer = kPortrait;
    showPage(v, QSize(600, 900));
    v.form->Image2_Click(0);
    v.platform.answers = {kAnswerNo};
    v.form->Command2_Click();
    EXPECT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(v.platform.printed.empty());
    EXPECT_FALSE(v.form->Picture1->Visible());
    EXPECT_EQ(v.form->NoticeText, v.platform.boxes[0].text);
    EXPECT_EQ(v.form->MessageText, "VERTICALE");
    EXPECT_EQ(v.form->Picture4->Width(), 9000);
    EXPECT_EQ(v.form->Picture4->Height(), 13500);
}

// Qt's decode limit is process-wide: no thread may lower it while another decodes a page above
// 64 megapixels (256 MB of pixels) at full resolution for the printer.
TEST(Printing, LargePagePrintsWhileAnotherThreadDecodes) {
    Viewer v;
    v.platform.printer = kPortrait;
    QImage large(8300, 8300, QImage::Format_RGB32);
    large.fill(QColor(240, 228, 200));
    v.form->Image1->setPicture(Picture::fromBytes(jpegBytes(large), "page", nullptr));
    large = QImage();
    const Picture small = Picture::fromBytes(makeJpeg(QSize(8, 8), Qt::gray), "small", nullptr);
    std::atomic<bool> printing = true;
    std::thread reading([&] { // decodes as the read-ahead does, at sizes that defeat its cache
        for (int i = 0; printing; ++i)
            (void)small.scaled(QSize(4 + i % 2, 4));
    });
    for (int i = 0; i < 3; ++i)
        v.form->Command2_Click();
    printing = false;
    reading.join();
    EXPECT_EQ(QImageReader::allocationLimit(), Picture::kAllocationLimitMb); // as set at start-up
    EXPECT_EQ(v.platform.boxes.size(), 3u) << v.platform.boxes.back().text.toStdString();
    ASSERT_EQ(v.platform.printed.size(), 3u);
    EXPECT_EQ(v.platform.printed[2].image.size(), QSize(8300, 8300));
}

TEST(Printing, WhatCannotBePrintedIsSaidAndTheViewerGoesOn) {
    PrinterSetup broken = kPortrait, odd = kPortrait;
    broken.failure = QStringLiteral("carta esaurita");
    odd.area = QSizeF(0, 0);
    const struct {
        std::optional<PrinterSetup> printer;
        bool page;
        const char* said; // the last box
    } cases[] = {
        {std::nullopt, true, "Nessuna stampante predefinita"},
        {odd, true, "La stampante Ufficio non indica l'area di stampa"},
        {kPortrait, false, "Nessuna pagina da stampare."},
        {broken, true, "La stampante Ufficio non ha stampato la pagina: carta esaurita."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        Viewer v;
        v.platform.printer = c.printer;
        if (c.page)
            showPage(v, QSize(600, 900));
        else
            v.form->Image1->setPicture(Picture());
        v.event([&] { v.form->Command2_Click(); });
        ASSERT_FALSE(v.platform.boxes.empty());
        EXPECT_TRUE(v.platform.boxes.back().text.startsWith(c.said))
            << v.platform.boxes.back().text.toStdString();
        EXPECT_EQ(v.platform.boxes.back().style, kStyleCritical);
        EXPECT_TRUE(v.platform.printed.empty());
        EXPECT_FALSE(v.platform.ended);
        // Once a printer that works is there, printing works.
        v.platform.printer = kPortrait;
        showPage(v, QSize(600, 900));
        v.event([&] { v.form->Command2_Click(); });
        EXPECT_EQ(v.platform.printed.size(), 1u);
    }
}

TEST(Printing, CountdownWaitsWhileTheConfirmationIsOpen) {
    Viewer v;
    v.platform.printer = kPortrait;
    showPage(v, QSize(600, 900));
    v.form->Command1_Click();
    int during = -1;
    v.platform.answers = {kAnswerNo};
    v.platform.onBox = [&](const ShownBox&) {
        v.form->Timer1.tick();
        during = v.form->CountdownTicks;
    };
    v.form->handleEvent([&] { v.form->Command2_Click(); });
    EXPECT_EQ(during, 80);
    v.form->Timer1.tick();
    EXPECT_EQ(v.form->CountdownTicks, 79);
}

TEST(Printing, AQueuesLandscapeOptionIsReadAsOrientationRequestedIs) {
    const std::pair<const char*, int> cases[] = {
        {"landscape", 2},
        {"nolandscape", 1},
        {"landscape=false", 1},
        {"orientation-requested=4", 2},
        {"orientation-requested=3 landscape", 1},
        {"media=A4 sides=one-sided", 0},
    };
    for (const auto& [options, orientation] : cases)
        EXPECT_EQ(optionsOrientation(options), orientation) << options;
}
