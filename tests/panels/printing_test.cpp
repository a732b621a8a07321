// Printing the current sheet, with a scripted printer in place of the system's default one.
#include "app/bookform.h"
#include "platform/printer.h"
#include "tests/support/test_volume.h"

#include <QImageReader>
#include <atomic>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

using namespace cvx;
using namespace cvx::test;

namespace {
const QChar CR(13);

struct PrinterSetup {
    QString name;
    int orientation;
    QSizeF area;
    QString failure; // what printPage answers
};

struct PrintedPage {
    QImage image;
    QRectF area;
};

class ScriptedPrinter : public Printer {
  public:
    ScriptedPrinter(PrinterSetup setup, std::vector<PrintedPage>& log)
        : setup_(std::move(setup)), log_(log) {}
    QString DeviceName() const override { return setup_.name; }
    int Orientation() const override { return setup_.orientation; }
    QSizeF printableArea() const override { return setup_.area; }
    QString printPage(const QImage& image, const QRectF& area) override {
        if (setup_.failure.isEmpty())
            log_.push_back({image, area});
        return setup_.failure;
    }

  private:
    PrinterSetup setup_;
    std::vector<PrintedPage>& log_;
};

class PrintingPlatform : public FakePlatform {
  public:
    std::unique_ptr<Printer> defaultPrinter() override {
        if (!printer)
            return nullptr;
        return std::make_unique<ScriptedPrinter>(*printer, printed);
    }
    std::optional<PrinterSetup> printer;
    std::vector<PrintedPage> printed;
};

struct PrintViewer {
    explicit PrintViewer(std::optional<PrinterSetup> printer) {
        volume.configure(platform);
        platform.printer = std::move(printer);
        form = std::make_unique<BookForm>(platform);
        form->Form_Load();
    }
    // Shows a page of `pixels` as a small picture on the screen.
    void showPage(QSize pixels) {
        form->Image1->setStretch(true);
        form->Image1->setPicture(
            Picture::fromBytes(makeJpeg(pixels, QColor(240, 228, 200), "IV"), "page", nullptr));
        form->Image1->setGeometry(15, 15, pixels.width() * 3, pixels.height() * 3);
        ASSERT_TRUE(form->Image1->realize());
    }
    TestVolume volume;
    PrintingPlatform platform;
    std::unique_ptr<BookForm> form;
};

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

TEST(Printing, PortraitSheetIsConfirmedAndPrintedAtFullResolution) {
    PrintViewer v(kPortrait);
    v.showPage(QSize(600, 900));
    // On the screen the page is a fifth of its size; the print takes every pixel of the scan.
    EXPECT_EQ(v.form->Image1->shownImage().size(), QSize(120, 180));
    v.form->Image2_Click(0);
    v.form->Command2_Click();
    EXPECT_FALSE(v.form->Picture1->Visible());
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text, confirmation("VERTICALE", "200 x 287", "187 x 281"));
    EXPECT_EQ(v.platform.boxes[0].title, "LA STAMPA viene effettuata con i seguenti parametri:");
    EXPECT_EQ(v.platform.boxes[0].style, kStyleYesNoCritical);
    EXPECT_EQ(v.form->NoticeText, v.platform.boxes[0].text);
    EXPECT_EQ(v.form->MessageText, "VERTICALE");
    EXPECT_EQ(v.form->Picture4->Width(), 9000);
    EXPECT_EQ(v.form->Picture4->Height(), 13500);
    ASSERT_EQ(v.platform.printed.size(), 1u);
    EXPECT_EQ(v.platform.printed[0].image.size(), QSize(600, 900));
    EXPECT_EQ(v.platform.printed[0].area, QRectF(11, 1, 187, 281));
}

// Qt's decode limit is process-wide: no thread may lower it while another decodes a page above
// 64 megapixels (256 MB of pixels) at full resolution for the printer.
TEST(Printing, LargePagePrintsWhileAnotherThreadDecodes) {
    PrintViewer v(kPortrait);
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

TEST(Printing, LandscapePaper) {
    PrintViewer v(kLandscape);
    v.showPage(QSize(600, 900));
    v.form->Image10_Click();
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text, confirmation("ORIZZONTALE", "287 x 200", "130 x 196"));
    ASSERT_EQ(v.platform.printed.size(), 1u);
    EXPECT_EQ(v.platform.printed[0].area, QRectF(155, 1, 130, 196));
}

TEST(Printing, F4AsksTheSameConfirmation) {
    PrintViewer v(kPortrait);
    v.showPage(QSize(600, 900));
    v.platform.answers = {kAnswerNo};
    v.form->Form_KeyDown(115, 0);
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text, confirmation("VERTICALE", "200 x 287", "187 x 281"));
    EXPECT_TRUE(v.platform.printed.empty());
}

TEST(Printing, WidePictureFillsTheWidth) {
    PrintViewer v(kPortrait);
    v.showPage(QSize(1000, 300));
    v.form->Command2_Click();
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text, confirmation("VERTICALE", "200 x 287", "200 x 60"));
    ASSERT_EQ(v.platform.printed.size(), 1u);
    EXPECT_EQ(v.platform.printed[0].area, QRectF(-2, 1, 200, 60));
    EXPECT_EQ(v.platform.printed[0].image.size(), QSize(1000, 300));
}

TEST(Printing, AnsweringNoPrintsNothing) {
    PrintViewer v(kPortrait);
    v.showPage(QSize(600, 900));
    v.form->Image2_Click(0);
    v.platform.answers = {kAnswerNo};
    v.form->Command2_Click();
    EXPECT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(v.platform.printed.empty());
    EXPECT_FALSE(v.form->Picture1->Visible());
}

TEST(Printing, NoDefaultPrinterIsSaidAndTheViewerGoesOn) {
    PrintViewer v(std::nullopt);
    v.showPage(QSize(600, 900));
    v.form->handleEvent([&] { v.form->Command2_Click(); });
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_TRUE(v.platform.boxes[0].text.contains("stampante"));
    EXPECT_EQ(v.platform.boxes[0].style, kStyleCritical);
    EXPECT_FALSE(v.platform.ended);
    // Once a printer is there, printing works.
    v.platform.printer = kPortrait;
    v.form->handleEvent([&] { v.form->Command2_Click(); });
    EXPECT_EQ(v.platform.printed.size(), 1u);
}

TEST(Printing, FailingPrinterIsSaid) {
    PrinterSetup broken = kPortrait;
    broken.failure = QStringLiteral("carta esaurita");
    PrintViewer v(broken);
    v.showPage(QSize(600, 900));
    v.form->handleEvent([&] { v.form->Command2_Click(); });
    ASSERT_EQ(v.platform.boxes.size(), 2u);
    EXPECT_TRUE(v.platform.boxes[1].text.contains("Ufficio"));
    EXPECT_TRUE(v.platform.boxes[1].text.contains("carta esaurita"));
    EXPECT_FALSE(v.platform.ended);
}

TEST(Printing, PrinterWithoutAreaIsRefused) {
    PrinterSetup odd = kPortrait;
    odd.area = QSizeF(0, 0);
    PrintViewer v(odd);
    v.showPage(QSize(600, 900));
    v.form->Command2_Click();
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].style, kStyleCritical);
    EXPECT_TRUE(v.platform.printed.empty());
}

TEST(Printing, NoPageShownIsSaid) {
    PrintViewer v(kPortrait);
    v.form->Image1->setPicture(Picture());
    v.form->Command2_Click();
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].style, kStyleCritical);
    EXPECT_TRUE(v.platform.printed.empty());
}

TEST(Printing, CountdownWaitsWhileTheConfirmationIsOpen) {
    PrintViewer v(kPortrait);
    v.showPage(QSize(600, 900));
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
