// The magnifier on a loose page: sizes and places of both presentations, the zones they
// switch, a sharp magnified picture, and a working image that is missing or damaged.
#include "tests/display/loose_page.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const Zones kReducedZones{true, true, false, false, true, false, false, false};
const Zones kMagnifiedZones{true, true, true, false, false, true, false, false};

// Fine vertical stripes, 2 pixels black and 2 white: a blurred enlargement loses them.
QByteArray stripedJpeg(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int x = 0; x < size.width(); x += 4)
        p.fillRect(x, 0, 2, size.height(), Qt::black);
    p.end();
    return jpegBytes(image, 95);
}

double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage y = b.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(int(x.constScanLine(row)[col]) - int(y.constScanLine(row)[col]));
    return sum / (double(x.width()) * x.height());
}
} // namespace

TEST(Magnifier, PortraitPageIsMagnifiedToTheWidthAndReducedOntoTheLowerEdge) {
    LoosePage page; // 800 x 1200 pixels: natural 12000 x 18000 twips
    BookForm& f = *page.form;
    EXPECT_NEAR(f.Image1->Width(), 4666.67, 0.01);
    EXPECT_NEAR(f.Image1->Height(), 7000, 0.01);
    EXPECT_NEAR(f.Image1->Left(), 2181.67, 0.01);
    EXPECT_NEAR(f.Image1->Top(), 30, 0.01); // a height-limited page rests 30 below the top
    EXPECT_EQ(zonesEnabled(f), kReducedZones);

    f.Label8->setCaption(QStringLiteral("3"));
    f.Image8_Click(4);
    EXPECT_EQ(f.view.Magnified, True);
    EXPECT_FLOAT_EQ(f.view.PageScale, 4.0f / 3);
    EXPECT_NEAR(f.Image1->Width(), 9000, 0.01);
    EXPECT_NEAR(f.Image1->Height(), 13500, 0.01);
    EXPECT_NEAR(f.Image1->Left(), 15, 0.01);
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 15);
    EXPECT_TRUE(f.Image1->Visible());
    EXPECT_TRUE(f.Image1->Stretch());
    EXPECT_EQ(zonesEnabled(f), kMagnifiedZones);
    EXPECT_NEAR(f.Image8[0]->Width(), 750, 0.01); // zones follow the magnified width

    f.view.PanStep = 4;
    f.Image8_Click(5);
    EXPECT_EQ(f.view.Magnified, False);
    EXPECT_EQ(f.view.PanStep, 0);
    EXPECT_NEAR(f.Image1->Height(), 7000, 0.01);
    EXPECT_NEAR(f.Image1->Top(), 30, 0.01);
    EXPECT_EQ(zonesEnabled(f), kReducedZones);
    EXPECT_EQ(f.Label8->Caption(), "3"); // neither presentation touches the counter
}

TEST(Magnifier, PictureSmallerThanTheAreaIsNeverEnlarged) {
    LoosePage page(QSize(400, 300)); // natural 6000 x 4500
    BookForm& f = *page.form;
    EXPECT_DOUBLE_EQ(f.Image1->Width(), 6000);
    EXPECT_DOUBLE_EQ(f.Image1->Height(), 4500);
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 2530);
    f.Image8_Click(4);
    EXPECT_DOUBLE_EQ(f.Image1->Width(), 6000);
    EXPECT_DOUBLE_EQ(f.Image1->Height(), 4500);
    EXPECT_DOUBLE_EQ(f.Image1->Left(), 1515);
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 15);
}

TEST(Magnifier, WideSheetOnlyMovesToTheTopAndSwitchesTheZones) {
    LoosePage page(QSize(1200, 600)); // natural 18000 x 9000
    BookForm& f = *page.form;
    EXPECT_DOUBLE_EQ(f.Image1->Width(), 9000);
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 2530);
    f.Image8_Click(4);
    EXPECT_DOUBLE_EQ(f.Image1->Width(), 9000);
    EXPECT_DOUBLE_EQ(f.Image1->Height(), 4500);
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 15);
    EXPECT_EQ(zonesEnabled(f), kMagnifiedZones);
}

TEST(Magnifier, MagnifiedPageIsDecodedAtTheSizeShown) {
    LoosePage page;
    page.writeWorkImage(stripedJpeg(QSize(800, 1200)));
    BookForm& f = *page.form;
    f.Image8_Click(4);
    const QImage shown = f.Image1->shownImage();
    ASSERT_EQ(shown.size(), QSize(600, 900));
    // What a full decode scaled to the shown size gives ...
    const QImage reference = f.Image1->picture().fullResolution().scaled(
        600, 900, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // ... and what enlarging the fitted picture would give instead.
    const QImage enlarged = f.Image1->picture()
                                .fullResolution()
                                .scaled(311, 467, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .scaled(600, 900, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double sharp = meanDifference(shown, reference);
    const double blurred = meanDifference(enlarged, reference);
    EXPECT_LT(sharp, blurred / 4) << "shown " << sharp << ", enlarged " << blurred;
}

TEST(Magnifier, MissingOrDamagedWorkingImageKeepsThePageShown) {
    LoosePage page(QSize(400, 600));
    BookForm& f = *page.form;
    const QImage before = f.Image1->shownImage();
    const double width = f.Image1->Width();
    QByteArray truncatedHeader = makeJpeg(QSize(400, 600), Qt::white).left(120);
    const QByteArray cases[] = {QByteArray(), QByteArray("not a picture at all"), truncatedHeader};
    for (const QByteArray& bytes : cases) {
        page.writeWorkImage(bytes);
        f.handleEvent([&] { f.Image8_Click(4); });
        ASSERT_FALSE(page.platform.boxes.empty());
        EXPECT_TRUE(page.platform.boxes.back().text.contains(f.WorkImagePath))
            << page.platform.boxes.back().text.toStdString();
        EXPECT_FALSE(page.platform.ended);
        EXPECT_EQ(f.view.Magnified, False);
        EXPECT_EQ(zonesEnabled(f), kReducedZones);
        EXPECT_TRUE(f.Image1->Visible());
        EXPECT_DOUBLE_EQ(f.Image1->Width(), width);
        EXPECT_EQ(f.Image1->shownImage(), before);
    }
    QFile::remove(f.WorkImagePath);
    f.handleEvent([&] { f.Form_KeyDown(16, 1); });
    EXPECT_EQ(page.platform.boxes.size(), 4u);
    EXPECT_TRUE(page.platform.boxes.back().text.contains(f.WorkImagePath));
    EXPECT_EQ(f.view.Magnified, False);

    // The viewer stays usable: a readable working image magnifies again.
    page.writeWorkImage(makeJpeg(QSize(400, 600), Qt::white));
    f.handleEvent([&] { f.Image8_Click(4); });
    EXPECT_EQ(page.platform.boxes.size(), 4u);
    EXPECT_EQ(f.view.Magnified, True);
}
