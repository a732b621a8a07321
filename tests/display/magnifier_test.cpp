// The magnifier on a loose page: sizes and places of both presentations, a sharp magnified
// picture, a working image that is no picture, and two windows sharing the working image.
#include "tests/support/viewer.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
QRectF placeOf(const BookForm& f) {
    return {f.Image1->Left(), f.Image1->Top(), f.Image1->Width(), f.Image1->Height()};
}

void expectPlace(const BookForm& f, const QRectF& expected) {
    const QRectF shown = placeOf(f);
    EXPECT_NEAR(shown.left(), expected.left(), 0.01);
    EXPECT_NEAR(shown.top(), expected.top(), 0.01);
    EXPECT_NEAR(shown.width(), expected.width(), 0.01);
    EXPECT_NEAR(shown.height(), expected.height(), 0.01);
}
} // namespace

TEST(Magnifier, BothPresentationsInA9030By7030Area) {
    // Natural sizes of 15 twips a pixel in a usable area of 9000 x 7000: reduced, the larger
    // ratio limits the page, which rests on the area's lower edge (Top = 7030 - height);
    // magnified, the width ratio does, at Top 15; neither ever enlarges a page.
    const struct {
        QSize pixels;
        QRectF reduced, magnified;
    } cases[] = {
        {{800, 1200}, {2181.67, 30, 4666.67, 7000}, {15, 15, 9000, 13500}},
        {{400, 300}, {1515, 2530, 6000, 4500}, {1515, 15, 6000, 4500}},
        {{1200, 600}, {15, 2530, 9000, 4500}, {15, 15, 9000, 4500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pixels.width() << " x " << c.pixels.height());
        Viewer v;
        v.showLoosePage(c.pixels);
        BookForm& f = *v.form;
        expectPlace(f, c.reduced);
        f.Label8->setCaption(QStringLiteral("3"));
        f.Image8_Click(4);
        EXPECT_EQ(f.view.Magnified, True);
        expectPlace(f, c.magnified);
        EXPECT_TRUE(f.Image1->Visible());
        EXPECT_TRUE(f.Image1->Stretch());
        EXPECT_NEAR(f.Image8[0]->Width(), c.magnified.width() / 12, 0.01); // the zones follow
        f.view.PanStep = 4;
        f.Image8_Click(5);
        EXPECT_EQ(f.view.Magnified, False);
        EXPECT_EQ(f.view.PanStep, 0);
        expectPlace(f, c.reduced);
        EXPECT_EQ(f.Label8->Caption(), "3"); // neither presentation touches the counter
    }
}

TEST(Magnifier, MagnifiedPageIsDecodedAtTheSizeShown) {
    Viewer v;
    v.showLoosePage();
    // Fine vertical stripes, 2 pixels black and 2 white: a blurred enlargement loses them.
    QImage stripes(800, 1200, QImage::Format_RGB32);
    stripes.fill(Qt::white);
    QPainter p(&stripes);
    for (int x = 0; x < stripes.width(); x += 4)
        p.fillRect(x, 0, 2, stripes.height(), Qt::black);
    p.end();
    BookForm& f = *v.form;
    f.PageData = jpegBytes(stripes, 95);
    f.writeWorkImage();
    f.Image8_Click(4);
    const QImage shown = v.shownImage();
    ASSERT_EQ(shown.size(), QSize(600, 900));
    // What a full decode scaled to the shown size gives ...
    const QImage full = f.Image1->picture().fullResolution();
    const QImage reference = full.scaled(600, 900, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // ... and what enlarging the fitted picture would give instead.
    const QImage enlarged = full.scaled(311, 467, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .scaled(600, 900, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double sharp = meanDifference(shown, reference);
    const double blurred = meanDifference(enlarged, reference);
    EXPECT_LT(sharp, blurred / 4) << "shown " << sharp << ", enlarged " << blurred;
}

TEST(Magnifier, UnreadableWorkingImageKeepsThePageShown) {
    Viewer v;
    v.showLoosePage(QSize(400, 600));
    BookForm& f = *v.form;
    (void)v.newBoxes();
    const QImage before = v.shownImage();
    const QRectF place = placeOf(f);
    const QByteArray truncatedHeader = makeJpeg(QSize(400, 600), Qt::white).left(120);
    for (const QByteArray& bytes : {QByteArray(), QByteArray("not a picture"), truncatedHeader}) {
        f.PageData = bytes;
        f.writeWorkImage();
        v.event([&] { f.Image8_Click(4); });
        const QStringList boxes = v.newBoxes();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0].contains(f.WorkImagePath)) << boxes[0].toStdString();
        EXPECT_FALSE(v.platform.ended);
        EXPECT_EQ(f.view.Magnified, False);
        EXPECT_EQ(v.zones(), (std::array{true, true, false, false, true, false, false, false}));
        EXPECT_TRUE(f.Image1->Visible());
        EXPECT_EQ(placeOf(f), place);
        EXPECT_EQ(v.shownImage(), before);
    }
    // The viewer stays usable: a readable working image magnifies again.
    f.PageData = makeJpeg(QSize(400, 600), Qt::white);
    f.writeWorkImage();
    v.event([&] { f.Image8_Click(4); });
    EXPECT_EQ(v.newBoxes(), QStringList());
    EXPECT_EQ(f.view.Magnified, True);
}

TEST(Magnifier, TwoWindowsOfOneVolumeEachMagnifyTheirOwnPage) {
    Viewer a;
    a.openAt(0, 1);
    // A second window of the same volume, as a second viewer started by the same reader.
    FakePlatform otherPlatform;
    otherPlatform.root = a.platform.root;
    otherPlatform.folder = a.platform.folder;
    BookForm b(otherPlatform);
    b.Form_Load();
    b.handleEvent([&] { b.Combo1->setListIndex(3); });
    const QByteArray pageOfA = pack::padded(a.volume.plan.books[0].pages[1]);
    a.key(16, 1); // Shift: A's page magnified, not the one B wrote last
    EXPECT_EQ(a.form->view.Magnified, True);
    EXPECT_EQ(a.form->Image1->picture().bytes(), pageOfA);
    EXPECT_TRUE(a.showing(0, 1));
    EXPECT_THROW(b.Image13_Click(1), ProgramEnded); // B closes, emptying the working image
    EXPECT_EQ(contentOf(a.volume.workImagePath()), "");
    for (const Flag after : {False, True}) {
        a.key(16, 1);
        EXPECT_EQ(a.newBoxes(), QStringList());
        EXPECT_EQ(a.form->view.Magnified, after);
        EXPECT_EQ(a.form->Image1->picture().bytes(), pageOfA);
    }
}
