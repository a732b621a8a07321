// Clicks on the hot zones of a started viewer: the turn strips behave exactly as the arrow
// keys, overlapping zones give the click to the upper one, and the magnifier's flags are set
// before the magnifier runs.
#include "tests/support/viewer.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// A point well inside zone `i` and inside the viewing area.
QPointF insideZone(const BookForm& f, int i) {
    const ImageControl& z = *f.Image8[i];
    return {z.Left() + z.Width() / 2,
            z.Top() + std::min(z.Height(), f.SCHERMO->Height() - z.Top()) / 2};
}
} // namespace

TEST(MouseDispatch, TheTurnStripsTurnAsTheArrowKeysDo) {
    const struct {
        int book, page, zone;
        QStringList boxes;
        int toBook, toPage;
    } clicks[] = {
        {1, 1, 0, {}, 1, 2},
        {2, 2, 0, {"ATTENZIONE: Raggiunta la FINE del Libro"}, 2, 2},
        {0, 0, 1, {"Apro il LIBRO precedente"}, 0, 3},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(testing::Message() << c.book << "/" << c.page << " zone " << c.zone);
        Viewer r;
        r.openAt(c.book, c.page);
        const QPointF p = insideZone(*r.form, c.zone);
        ASSERT_EQ(r.zoneAt(p.x(), p.y()), c.zone);
        (void)r.newBoxes(); // only the boxes from here on
        r.clickAt(p.x(), p.y());
        EXPECT_EQ(r.newBoxes(), c.boxes);
        EXPECT_EQ(r.book(), c.toBook);
        EXPECT_EQ(r.form->place.CurrentPageIndex, c.toPage);
        EXPECT_TRUE(r.showing(c.toBook, c.toPage));
    }
}

TEST(MouseDispatch, WhereTheForwardStripLiesOverTheLowerBandThePageTurns) {
    Viewer r(largePageVolume());
    BookForm& f = *r.form;
    f.Image8_Click(4);
    const ImageControl& strip = *f.Image8[0];
    const ImageControl& band = *f.Image8[2];
    ASSERT_TRUE(band.Enabled());
    // Both contain this point: the strip's middle column, the band's middle row.
    const double x = strip.Left() + strip.Width() / 4;
    const double y = band.Top() + band.Height() / 2;
    ASSERT_GT(band.Left() + band.Width(), x);
    ASSERT_EQ(r.zoneAt(x, y), 0);
    r.clickAt(x, y);
    EXPECT_TRUE(r.showing(0, 1));
    EXPECT_EQ(f.view.PanStep, 0);
    EXPECT_DOUBLE_EQ(f.Image1->Top(), 15);
    // A little to the left only the band lies there: the page moves up instead.
    const double inBand = strip.Left() - 200;
    ASSERT_EQ(r.zoneAt(inBand, y), 2);
    r.clickAt(inBand, y);
    EXPECT_TRUE(r.showing(0, 1));
    EXPECT_EQ(f.view.PanStep, 1);
}

TEST(MouseDispatch, ZonesSixAndSevenDoWhatTwoAndThreeDo) {
    Viewer a(largePageVolume());
    Viewer b(largePageVolume());
    a.form->Image8_Click(4);
    b.form->Image8_Click(4);
    a.form->Image8_Click(2);
    b.form->Image8_Click(6);
    EXPECT_EQ(a.form->view.PanStep, 1);
    EXPECT_EQ(b.form->view.PanStep, 1);
    EXPECT_DOUBLE_EQ(a.form->Image1->Top(), b.form->Image1->Top());
    a.form->Image8_Click(2);
    b.form->Image8_Click(6);
    a.form->Image8_Click(3);
    b.form->Image8_Click(7);
    EXPECT_EQ(b.form->view.PanStep, 1);
    EXPECT_DOUBLE_EQ(a.form->Image1->Top(), b.form->Image1->Top());
    EXPECT_EQ(a.form->Label8->Caption(), b.form->Label8->Caption());
}

TEST(MouseDispatch, MagnifierFlagsAreSetBeforeTheMagnifierRuns) {
    Viewer r;
    BookForm& f = *r.form;
    // With a folder in the working image's place the magnifier fails at once: the flags show
    // what the click had already set.
    ASSERT_TRUE(QFile::remove(r.volume.workImagePath()) && QDir().mkdir(r.volume.workImagePath()));
    EXPECT_THROW(f.Image8_Click(4), PageUnreadable);
    EXPECT_EQ(f.view.Magnified, True);
    f.view.PanStep = 3;
    EXPECT_THROW(f.Image8_Click(5), PageUnreadable);
    EXPECT_EQ(f.view.Magnified, False);
    EXPECT_EQ(f.view.PanStep, 0);
}

TEST(MouseDispatch, OtherIndexesAndDisabledZonesDoNothing) {
    Viewer r;
    BookForm& f = *r.form;
    f.Image8_Click(8);
    f.Image8_Click(-1);
    EXPECT_TRUE(r.showing(0, 0));
    EXPECT_EQ(f.view.Magnified, False);
    // The closing panel takes the zones away: clicks on the page reach nothing.
    f.Command1_Click();
    const QPointF centre = insideZone(f, 4);
    const QPointF right = insideZone(f, 0);
    EXPECT_EQ(r.zoneAt(centre.x(), centre.y()), -1);
    r.clickAt(centre.x(), centre.y());
    r.clickAt(right.x(), right.y());
    EXPECT_EQ(f.view.Magnified, False);
    EXPECT_TRUE(r.showing(0, 0));
    EXPECT_TRUE(r.newBoxes().isEmpty());
}
