// Zooming beyond the presentation in force, the wheel and drags over the page: the pure zoom
// arithmetic against figures worked out by hand, the region decode against Qt's own decode,
// and the window through real key, wheel and mouse events.
#include "display/zoom_geometry.h"
#include "platform/jpeg_region.h"
#include "tests/support/viewer.h"

#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QTest>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

TEST(ZoomGeometry, StepsStopAtTheScansOwnPixelsAndAtTwice) {
    // From a fitted page at 0.18: steps of the square root of 2, then 1, 1.414, 2, and 2 again.
    std::vector<double> in{0.18};
    for (int i = 0; i < 8; ++i)
        in.push_back(zoom::scaleIn(in.back()));
    const std::vector<double> expected{0.18, 0.254558, 0.36, 0.509117, 0.72, 1, 1.414214, 2, 2};
    for (std::size_t i = 0; i < in.size(); ++i)
        EXPECT_NEAR(in[i], expected[i], 1e-6) << i;
    EXPECT_NEAR(zoom::scaleOut(2, 0.18), 1.414214, 1e-6);
    EXPECT_NEAR(zoom::scaleOut(1.414214, 0.18), 1, 1e-6);
    EXPECT_NEAR(zoom::scaleOut(1, 0.18), 0.707107, 1e-6);
    EXPECT_EQ(zoom::scaleOut(0.24, 0.18), 0.18); // the presentation: the zoom ends
}

TEST(ZoomGeometry, AnchorStaysAndTheScanCoversTheView) {
    // Scan point (400, 400) lies under the anchor (300, 250) at scale 0.5 from origin (100, 50).
    const zoom::Layout in = zoom::zoomedAbout({{100, 50}, 0.5}, 1, {300, 250});
    EXPECT_EQ(in, (zoom::Layout{{-100, -150}, 1}));
    // A 1000 x 800 scan at scale 1 in a 600 x 400 view: no empty band at an edge; a scan
    // narrower than the view is centred.
    EXPECT_EQ(zoom::clamped({{50, -500}, 1}, {1000, 800}, {600, 400}),
              (zoom::Layout{{0, -400}, 1}));
    EXPECT_EQ(zoom::clamped({{-300, -100}, 1}, {200, 800}, {600, 400}),
              (zoom::Layout{{200, -100}, 1}));
    EXPECT_EQ(zoom::visibleRect(in, {600, 400}), QRectF(100, 150, 600, 400));
    // A quarter of the view each way: 150 and 100 scan pixels at scale 1, within the scan.
    EXPECT_EQ(zoom::neededRect(in, {1000, 800}, {600, 400}, 0.25), QRect(0, 50, 850, 600));
}

TEST(ZoomRegion, APartDecodedAtAScaleIsThatPartOfTheWholeDecode) {
    QImage scan(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < scan.height(); ++y)
        for (int x = 0; x < scan.width(); ++x)
            scan.setPixel(x, y,
                          qRgb(x * 255 / 1600, y * 255 / 1200, (x / 100 + y / 100) % 2 * 255));
    const QByteArray jpeg = jpegBytes(scan, 95);
    EXPECT_EQ(regionScale(0.3), 3);
    EXPECT_EQ(regionScale(0.125), 1);
    EXPECT_EQ(regionScale(1.7), 8);
    const QRect wanted(530, 410, 300, 200);
    for (const int m : {8, 4, 3}) {
        const ScanRegion region = decodeRegion(jpeg, wanted, m);
        ASSERT_FALSE(region.image.isNull()) << m;
        EXPECT_TRUE(region.scanArea.contains(QRectF(wanted))) << m;
        EXPECT_LT(region.scanArea.width(), 1600) << m; // not the whole width
        // Qt's own decode of the whole scan at M/8, cut where the region lies.
        QByteArray copy = jpeg;
        QBuffer buffer(&copy);
        QImageReader reader(&buffer);
        reader.setScaledSize(QSize((1600 * m + 7) / 8, (1200 * m + 7) / 8));
        const QImage whole = reader.read().convertToFormat(QImage::Format_RGB32);
        const QRect cut((region.scanArea.topLeft() * m / 8).toPoint(), region.image.size());
        const QImage part = whole.copy(cut);
        int off = 0;
        for (int y = 0; y < part.height(); y += 7)
            for (int x = 0; x < part.width(); x += 7)
                off += qAbs(qGreen(part.pixel(x, y)) - qGreen(region.image.pixel(x, y))) > 24;
        EXPECT_LT(off, part.width() * part.height() / 49 / 50) << m; // under 2 % of the samples
    }
    EXPECT_TRUE(decodeRegion(jpeg, QRect(2000, 0, 10, 10), 8).image.isNull()); // off the scan
    EXPECT_TRUE(decodeRegion("no picture", wanted, 8).image.isNull());
}

namespace {
constexpr int kRight = 39, kShift = 16;

// A reader at the keyboard and mouse of the active window, on pages larger than the screen.
struct Zooming : Viewer {
    Zooming() : Viewer(largePageVolume()) { QApplication::setActiveWindow(form.get()); }
    QWidget* area() const { return form->SCHERMO->widget(); }
    // A wheel turned by `notches` (positive away from the reader) at `at` pixels of the area.
    void wheel(QWidget* target, QPoint at, int notches, Qt::KeyboardModifiers modifiers = {}) {
        QWheelEvent event(at, target->mapToGlobal(at), {}, QPoint(0, notches * 120), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
    // The scan point the zoomed view shows at `at` device pixels.
    QPointF scanAt(QPointF at) const {
        const zoom::Layout& l = form->ZoomView->layout();
        return (at - l.origin) / l.scale;
    }
    // Waits until the zoomed view draws a region decoded for its scale.
    void sharp() {
        for (int i = 0; i < 200; ++i) {
            QApplication::processEvents();
            if (form->ZoomView->region().scaleNum == regionScale(form->ZoomView->layout().scale))
                return;
            QThread::msleep(5);
        }
        FAIL() << "no sharp region";
    }
};
} // namespace

TEST(WheelOverThePage, TurnsFittedPagesAndPansMagnifiedOnes) {
    Zooming r;
    const QPoint middle = r.area()->rect().center();
    r.wheel(r.area(), middle, -1); // towards the reader: forward
    EXPECT_TRUE(r.showing(0, 1));
    r.wheel(r.area(), middle, 1);
    EXPECT_TRUE(r.showing(0, 0));
    r.openAt(1, 1); // the last page of the last book
    r.wheel(r.area(), middle, -1);
    EXPECT_EQ(r.newBoxes().last(), "ATTENZIONE: Raggiunta la FINE del Libro");
    EXPECT_TRUE(r.showing(1, 1));
    r.key(kShift);
    r.wheel(QApplication::widgetAt(r.area()->mapToGlobal(middle)), middle, -2); // over a zone
    EXPECT_EQ(r.form->view.PanStep, 2);
    EXPECT_EQ(r.form->Label8->Caption(), "2");
}

TEST(Zoom, KeysZoomAboutTheCentreUpToTwiceAndBack) {
    Zooming r;
    const QRect page = r.form->Image1->widget()->geometry();
    const std::array<bool, 8> zones = r.zones();
    const QPointF centre = r.form->viewCentre();
    const double fitted = page.width() / 1600.0;
    r.press(Qt::Key_Plus);
    ASSERT_TRUE(r.form->zoomed());
    const QPointF shown = r.scanAt(centre);
    r.press(Qt::Key_Plus);
    EXPECT_NEAR(r.form->ZoomView->layout().scale, zoom::scaleIn(zoom::scaleIn(fitted)), 1e-9);
    EXPECT_NEAR(r.scanAt(centre).x(), shown.x(), 0.5);
    r.sharp();
    for (int i = 0; i < 8; ++i)
        r.press(Qt::Key_Plus);
    EXPECT_EQ(r.form->ZoomView->layout().scale, zoom::kMaxScale);
    for (int i = 0; i < 12 && r.form->zoomed(); ++i)
        r.press(Qt::Key_Minus);
    EXPECT_FALSE(r.form->zoomed());
    EXPECT_FALSE(r.form->ZoomView->Visible());
    // The presentation as it was, zones included.
    EXPECT_EQ(r.form->Image1->widget()->geometry(), page);
    EXPECT_EQ(r.zones(), zones);
    EXPECT_TRUE(r.showing(0, 0));
}

TEST(Zoom, CtrlWheelKeepsThePointUnderThePointerAndTheEdgeAtTheEdge) {
    Zooming r;
    const QPoint inside = r.form->Image1->widget()->geometry().center() + QPoint(40, 30);
    r.wheel(r.area(), inside, 1, Qt::ControlModifier); // starts the zoom over the page
    ASSERT_TRUE(r.form->zoomed());
    for (int i = 0; i < 5 && r.form->ZoomView->layout().scale < 1; ++i)
        r.press(Qt::Key_Plus);
    ASSERT_EQ(r.form->ZoomView->layout().scale, 1); // the scan now far larger than the view
    QWidget* view = r.form->ZoomView->widget();
    const qreal ratio = view->devicePixelRatioF();
    const QPointF under = r.scanAt(QPointF(inside) * ratio);
    r.wheel(view, inside, 1, Qt::ControlModifier);
    EXPECT_NEAR(r.scanAt(QPointF(inside) * ratio).x(), under.x(), 0.5);
    EXPECT_NEAR(r.scanAt(QPointF(inside) * ratio).y(), under.y(), 0.5);
    // Dragged against its left edge, the scan stays there when the pointer zooms at that edge.
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(view, QPoint(view->width() - 10, 10));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() - 10, 10));
    EXPECT_EQ(r.scanAt(QPointF(0, 0)).x(), 0);
    r.wheel(view, QPoint(0, view->height() / 2), -1, Qt::ControlModifier);
    EXPECT_EQ(r.form->ZoomView->layout().scale, 1);
    EXPECT_EQ(r.scanAt(QPointF(0, 0)).x(), 0);
}

TEST(Zoom, DragsMoveTheZoomedPageAndAPressIsNoClick) {
    Zooming r;
    for (int i = 0; i < 3; ++i)
        r.press(Qt::Key_Plus);
    QWidget* view = r.form->ZoomView->widget();
    const QPointF before = r.form->ZoomView->layout().origin;
    const QPoint at = view->rect().center();
    QTest::mousePress(view, Qt::LeftButton, {}, at);
    QTest::mouseMove(view, at + QPoint(-40, -30));
    QTest::mouseRelease(view, Qt::LeftButton, {}, at + QPoint(-40, -30));
    const qreal ratio = view->devicePixelRatioF();
    EXPECT_EQ(r.form->ZoomView->layout().origin, before + QPointF(-40, -30) * ratio);
    // Over the forward strip's place, a click is no turn while zoomed.
    const QPoint strip = r.form->Image8[0]->widget()->geometry().center();
    QTest::mouseClick(view, Qt::LeftButton, {}, strip);
    EXPECT_TRUE(r.showing(0, 0));
    EXPECT_TRUE(r.form->zoomed());
}

TEST(Zoom, ACommandEndsTheZoomFirstThenRunsAsAlways) {
    Zooming r;
    r.press(Qt::Key_Plus);
    r.press(Qt::Key_Right);
    EXPECT_FALSE(r.form->zoomed());
    EXPECT_TRUE(r.showing(0, 1));
    r.press(Qt::Key_Plus);
    r.press(Qt::Key_Shift);
    EXPECT_FALSE(r.form->zoomed());
    EXPECT_EQ(r.form->view.Magnified, True);
    r.press(Qt::Key_Plus); // zoomed over the magnified page, then back to it with its pan step
    r.key(kRight);
    EXPECT_FALSE(r.form->zoomed());
    EXPECT_TRUE(r.showing(0, 2));
    EXPECT_EQ(r.form->view.Magnified, True);
}

TEST(DragOverThePage, AMagnifiedPageMovesByWholePanStepsAndIsNotClicked) {
    Zooming r;
    r.key(kShift);
    // Starts on the lower band, whose click would move the page a step too.
    QWidget* band = r.form->Image8[2]->widget();
    const QPoint start = band->rect().center();
    const double step = r.form->Image1->Height() / 10 / 15;
    QTest::mousePress(band, Qt::LeftButton, {}, start);
    for (int y = 10; y <= int(2.5 * step); y += 10)
        QTest::mouseMove(band, start - QPoint(0, y));
    QTest::mouseRelease(band, Qt::LeftButton, {}, start - QPoint(0, int(2.5 * step)));
    EXPECT_EQ(r.form->view.PanStep, 2);
    // Fitted, a press and release on the forward strip stays a click.
    r.key(kShift);
    QTest::mouseClick(r.form->Image8[0]->widget(), Qt::LeftButton);
    EXPECT_TRUE(r.showing(0, 1));
}
