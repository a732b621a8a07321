// Clicks on the hot zones of a started viewer: the turn strips behave exactly as the arrow
// keys, overlapping zones give the click to the upper one, and the magnifier's flags are set
// before the magnifier runs. The wheel over the page: the rule that reads notches and touchpad
// gestures as steps, and real wheel events on the window.
#include "tests/support/viewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
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

constexpr auto kNone = Qt::NoScrollPhase;

// A touchpad swipe from `time` ms: its start, `count` moves of `angle` 10 ms apart, its end,
// and as many moves again of momentum.
std::vector<WheelInput> swipe(int angle, int count, quint64 time) {
    std::vector<WheelInput> events{{{}, {}, Qt::ScrollBegin, time}};
    for (int i = 0; i < count; ++i)
        events.push_back({{0, angle}, {0, angle / 8}, Qt::ScrollUpdate, time += 10});
    events.push_back({{}, {}, Qt::ScrollEnd, time += 10});
    for (int i = 0; i < count; ++i)
        events.push_back({{0, angle}, {0, angle / 8}, Qt::ScrollMomentum, time += 10});
    return events;
}

void send(QWidget* target, const WheelInput& w) {
    const QPointF at = target->rect().center();
    QWheelEvent event(at, target->mapToGlobal(at), w.pixels, w.angle, Qt::NoButton, {}, w.phase,
                      false);
    event.setTimestamp(w.time);
    QApplication::sendEvent(target, &event);
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

TEST(WheelRule, ANotchIsAStepATouchpadGestureOneAndItsMomentumNone) {
    std::vector<WheelInput> twoSwipes = swipe(15, 40, 0);
    for (const WheelInput& w : swipe(15, 40, 1000))
        twoSwipes.push_back(w);
    const struct {
        const char* name;
        std::vector<WheelInput> events;
        int steps;
    } cases[] = {
        {"notches", {{{0, 120}, {}, kNone, 0}, {{0, 240}, {}, kNone, 10}}, 3},
        {"half notches", {{{0, -60}, {}, kNone, 0}, {{0, -60}, {}, kNone, 10}}, -1},
        {"turned back",
         {{{0, 90}, {}, kNone, 0}, {{0, -60}, {}, kNone, 10}, {{0, 90}, {}, kNone, 20}},
         0},
        {"a pause", {{{0, 90}, {}, kNone, 0}, {{0, 90}, {}, kNone, 10 + WheelRule::kPause}}, 0},
        {"a swipe", swipe(-15, 40, 0), -1},
        {"two swipes", twoSwipes, 2},
        {"pixel deltas", std::vector<WheelInput>(40, {{0, 15}, {0, 2}, kNone, 0}), 1},
    };
    for (const auto& c : cases) {
        WheelRule rule;
        int steps = 0;
        for (const WheelInput& w : c.events)
            steps += rule.take(w).vertical;
        EXPECT_EQ(steps, c.steps) << c.name;
    }
}

TEST(WheelOverThePage, ASwipeTurnsOnePageAndTheVolumesEndSaysSoOnce) {
    Viewer r;
    QWidget* area = r.form->SCHERMO->widget();
    for (const WheelInput& w : swipe(-15, 40, 0)) // towards the reader: forward
        send(area, w);
    EXPECT_EQ(r.book(), 0);
    EXPECT_EQ(r.pageText(), "0002");
    r.openAt(2, 2); // the last page of the volume
    (void)r.newBoxes();
    for (const WheelInput& w : swipe(-15, 40, 2000))
        send(area, w);
    for (quint64 i = 0; i < 5; ++i) // a notched wheel's flick
        send(area, {{0, -120}, {}, kNone, 4000 + 20 * i});
    EXPECT_EQ(r.newBoxes(), QStringList(2, "ATTENZIONE: Raggiunta la FINE del Libro"));
    EXPECT_TRUE(r.showing(2, 2));
}

TEST(WheelOverThePage, AHorizontalWheelPansAZoomedPageSideways) {
    Viewer r(largePageVolume());
    for (int i = 0; i < 5; ++i) // the scan far wider than the view
        r.key(187);             // +
    const QPointF before = r.form->ZoomView->layout().origin;
    send(r.form->ZoomView->widget(), {{120, 0}, {}, kNone, 0});
    EXPECT_NEAR(r.form->ZoomView->layout().origin.x(),
                before.x() + r.form->ZoomView->deviceSize().width() / 10, 1e-6);
    EXPECT_EQ(r.form->ZoomView->layout().origin.y(), before.y());
}

TEST(WheelOverThePage, AShortDragIsAClickAndUnderTheClosingPanelWheelAndDragsDoNothing) {
    Viewer r(largePageVolume());
    r.key(16); // Shift
    // On the magnified page a press on the forward strip that moved less than a pan step is
    // still a click.
    QWidget* strip = r.form->Image8[0]->widget();
    const QPoint on = strip->rect().center();
    QTest::mousePress(strip, Qt::LeftButton, {}, on);
    QTest::mouseMove(strip, on + QPoint(0, 12));
    QTest::mouseRelease(strip, Qt::LeftButton, {}, on + QPoint(0, 12));
    EXPECT_TRUE(r.showing(0, 1));
    r.key(16);
    r.key(27); // Esc
    QWidget* area = r.form->SCHERMO->widget();
    for (quint64 i = 0; i < 2; ++i)
        send(area, {{0, -120}, {}, kNone, 20 * i});
    r.key(16); // magnified under the panel, as specified
    const QPoint at = area->rect().center();
    const int steps = static_cast<int>(3 * r.form->Image1->Height() / 150);
    QTest::mousePress(area, Qt::LeftButton, {}, at);
    for (int y = 10; y < steps; y += 10)
        QTest::mouseMove(area, at - QPoint(0, y));
    QTest::mouseRelease(area, Qt::LeftButton, {}, at - QPoint(0, steps));
    EXPECT_EQ(r.form->view.PanStep, 0);
    EXPECT_THROW(r.key(83), ProgramEnded); // S keeps the place: the second page
    EXPECT_EQ(contentOf(r.volume.bookmarkPath()), " 0\r\n 1\r\n");
}
