// Zooming beyond the presentation in force, the wheel and drags over the page: the pure zoom
// arithmetic against figures worked out by hand, the region decode against libjpeg's whole
// decode, and the window through real key, wheel and mouse events.
#include "display/zoom_geometry.h"
#include "platform/jpeg_region.h"
#include "tests/support/viewer.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
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

TEST(ZoomRegion, APartsPixelsAreExactAtEveryScaleAndCorner) {
    // 3232 x 4848 at 3/8 is 1212 x 1818 output pixels; the part reaching their far corner
    // covers the scan to its far corner exactly, not to 4847.999.
    EXPECT_EQ(region::outputSize({3232, 4848}, 3), QSize(1212, 1818));
    EXPECT_EQ(region::coveredScan(QRect(1001, 1699, 211, 119), 3, {3232, 4848}),
              QRect(2670, 4531, 562, 317));
    EXPECT_EQ(region::outputPart(QRect(2670, 4531, 562, 317), 3), QRect(1001, 1699, 211, 119));
    for (const QSize scan : {QSize(3233, 4847), QSize(1001, 757), QSize(9, 7)})
        for (int m = 1; m <= 8; ++m)
            for (const QPoint corner : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                const QSize size(scan.width() / 3 + 1, scan.height() / 3 + 1);
                const QRect wanted(corner.x() * (scan.width() - size.width()),
                                   corner.y() * (scan.height() - size.height()), size.width(),
                                   size.height());
                const QRect part = region::outputPart(wanted, m);
                EXPECT_TRUE(QRect({}, region::outputSize(scan, m)).contains(part)) << m;
                EXPECT_TRUE(region::coveredScan(part, m, scan).contains(wanted))
                    << m << " " << wanted.x() << "," << wanted.y();
            }
}

namespace {
// Every channel of the parts at the four corners of `jpeg`, decoded at every M/8, against the
// same pixels of its whole decode at M/8.
void expectCornersAsTheWhole(const QByteArray& jpeg, QSize scan, const QString& name) {
    for (int m = 1; m <= 8; ++m) {
        const QImage whole = decodeRegion(jpeg, QRect({}, scan), m).image;
        ASSERT_EQ(whole.size(), region::outputSize(scan, m)) << name.toStdString() << m;
        const QSize size(scan.width() / 3 + 1, scan.height() / 3 + 1);
        for (const QPoint corner : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
            const QRect wanted(QPoint(corner.x() * (scan.width() - size.width()),
                                      corner.y() * (scan.height() - size.height())),
                               size);
            const ScanRegion r = decodeRegion(jpeg, wanted, m);
            ASSERT_EQ(r.image.size(), r.part.size()) << name.toStdString() << m;
            EXPECT_TRUE(region::coveredScan(r.part, m, scan).contains(wanted));
            const QImage expected = whole.copy(r.part).convertToFormat(QImage::Format_RGB32);
            const QImage got = r.image.convertToFormat(QImage::Format_RGB32);
            int off = 0;
            for (int y = 0; y < got.height(); ++y)
                for (int x = 0; x < got.width(); ++x)
                    for (const int shift : {0, 8, 16})
                        off += qAbs(int(got.pixel(x, y) >> shift & 255) -
                                    int(expected.pixel(x, y) >> shift & 255)) > 24;
            EXPECT_EQ(off, 0) << name.toStdString() << " at " << m << "/8, corner " << corner.x()
                              << corner.y();
        }
    }
}
} // namespace

TEST(ZoomRegion, APartIsThatPartOfTheWholeDecodeInEveryChannel) {
    QImage scan(1001, 757, QImage::Format_RGB32);
    for (int y = 0; y < scan.height(); ++y)
        for (int x = 0; x < scan.width(); ++x)
            scan.setPixel(x, y, qRgb(x / 4, y / 3, (x / 50 + y / 50) % 2 * 200 + (x + y) / 40));
    expectCornersAsTheWhole(jpegBytes(scan, 95), scan.size(), QStringLiteral("synthetic"));
    // The corpus's variants that decode: subsamplings, progressive, grey, CMYK.
    QDirIterator it(qEnvironmentVariable("CARTAVOX_CORPUS") + QStringLiteral("/jpeg-variants"));
    int variants = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        QImageReader reader(it.filePath());
        const QSize size = reader.size(); // the photographs' variants repeat the others
        if (!reader.canRead() || size.width() * size.height() > 1000000 ||
            !file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray jpeg = file.readAll();
        if (!decodeRegion(jpeg, QRect({}, size), 8).image.isNull() && ++variants)
            expectCornersAsTheWhole(jpeg, size, it.fileName());
    }
    EXPECT_GE(variants, 15);
    EXPECT_TRUE(decodeRegion(jpegBytes(scan), QRect(2000, 0, 10, 10), 8).image.isNull());
    EXPECT_TRUE(decodeRegion("no picture", QRect(0, 0, 10, 10), 8).image.isNull());
}

TEST(ZoomRegion, AProgressiveScanIsDecodedOnceAndCut) {
    QFile file(qEnvironmentVariable("CARTAVOX_CORPUS") + "/jpeg-variants/jd_progressive3.jpg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray jpeg = file.readAll();
    const ScanRegion first = decodeRegion(jpeg, QRect(10, 10, 50, 50), 4);
    ASSERT_EQ(first.whole.size(), region::outputSize({650, 470}, 4));
    // The next part is cut from the whole decode given back, not decoded again.
    QImage marked = first.whole.copy();
    marked.setPixel(100, 100, qRgb(1, 2, 3));
    const ScanRegion next = decodeRegion(jpeg, QRect(150, 150, 100, 100), 4, marked);
    ASSERT_TRUE(next.part.contains(100, 100));
    EXPECT_EQ(next.image.pixel(QPoint(100, 100) - next.part.topLeft()), qRgb(1, 2, 3));
}

namespace {
constexpr int kRight = 39, kShift = 16;

// A reader at the keyboard and mouse of the active window, on pages larger than the screen.
struct Zooming : Viewer {
    Zooming() : Viewer(largePageVolume()) { QApplication::setActiveWindow(form.get()); }
    // The first book's pages of `page` scan pixels.
    explicit Zooming(QSize page) : Viewer(pagesOf(page)) {
        QApplication::setActiveWindow(form.get());
    }
    static pack::VolumeSpec pagesOf(QSize page) {
        pack::VolumeSpec plan = largePageVolume();
        plan.books[0] =
            makeBook(QStringLiteral("01 Lib.01 Antiporta"), 1, QLatin1Char('D'), 1, 1, page);
        return plan;
    }
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
            if (!form->zoom().running() &&
                form->ZoomView->region().scaleNum == regionScale(form->ZoomView->layout().scale))
                return;
            QThread::msleep(5);
        }
        FAIL() << "no sharp region";
    }
    // Drags the zoomed page from corner to corner until its lower right corner is in view.
    void toFarCorner() {
        QWidget* view = form->ZoomView->widget();
        for (int i = 0; i < 8; ++i) {
            QTest::mousePress(view, Qt::LeftButton, {},
                              QPoint(view->width() - 1, view->height() - 1));
            QTest::mouseMove(view, QPoint(0, 0));
            QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(0, 0));
        }
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
    QWidget* zone = r.area()->childAt(middle);
    ASSERT_NE(zone, nullptr);
    r.wheel(zone, middle, -2); // over a zone
    EXPECT_EQ(r.form->view.PanStep, 2);
    EXPECT_EQ(r.form->Label8->Caption(), "2");
}

TEST(Zoom, KeysZoomAboutTheCentreUpToTwiceAndBack) {
    Zooming r;
    const QRect page = r.form->Image1->widget()->geometry();
    const std::array<bool, 8> zones = r.zones();
    const QPointF centre = r.form->viewCentre();
    const double fitted = page.width() * r.area()->devicePixelRatioF() / 1600.0;
    r.press(Qt::Key_Plus);
    ASSERT_TRUE(r.form->zoomed());
    const QPointF shown = r.scanAt(centre);
    r.press(Qt::Key_Plus);
    EXPECT_NEAR(r.form->ZoomView->layout().scale, zoom::scaleIn(zoom::scaleIn(fitted)), 1e-9);
    EXPECT_NEAR(r.scanAt(centre).y(), shown.y(), 0.5); // across, it may be centred
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

TEST(Zoom, APartOnTheScreenIsNeverAskedForAgain) {
    Zooming r(QSize(3232, 4848));
    for (int i = 0; i < 16; ++i) {
        r.press(i < 8 ? Qt::Key_Plus : Qt::Key_Minus);
        if (!r.form->zoomed())
            break;
        r.toFarCorner();
        r.sharp();
        const int asked = r.form->zoom().decodesAsked();
        for (int wait = 0; wait < 10; ++wait) {
            QApplication::processEvents();
            QThread::msleep(3);
        }
        EXPECT_EQ(r.form->zoom().decodesAsked(), asked) << "step " << i;
        const QSizeF view = r.form->ZoomView->deviceSize();
        if (r.form->ZoomView->layout().scale * 4848 > view.height()) {
            EXPECT_NEAR(r.scanAt(QPointF(view.width(), view.height())).y(), 4848, 1e-6);
        }
    }
    EXPECT_FALSE(r.form->zoomed());
}

TEST(Zoom, CtrlWheelKeepsThePointUnderThePointerAndTheEdgeAtTheEdge) {
    Zooming r;
    const QPoint inside = r.form->Image1->widget()->geometry().center() + QPoint(40, 30);
    r.wheel(r.area(), inside, 1, Qt::ControlModifier); // starts the zoom over the page
    ASSERT_TRUE(r.form->zoomed());
    for (int i = 0; i < 5 && r.form->ZoomView->layout().scale < 1; ++i)
        r.press(Qt::Key_Plus);
    // The scan now taller than the view (at a device pixel ratio of 2 it may still be narrower,
    // and then is centred across).
    ASSERT_EQ(r.form->ZoomView->layout().scale, 1);
    QWidget* view = r.form->ZoomView->widget();
    const qreal ratio = view->devicePixelRatioF();
    const QPointF under = r.scanAt(QPointF(inside) * ratio);
    r.wheel(view, inside, 1, Qt::ControlModifier);
    EXPECT_NEAR(r.scanAt(QPointF(inside) * ratio).y(), under.y(), 0.5);
    // Dragged against its top edge, the scan stays there when the pointer zooms at that edge.
    for (int i = 0; i < 3; ++i) {
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(view, QPoint(10, view->height() - 10));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(10, view->height() - 10));
    }
    EXPECT_EQ(r.scanAt(QPointF(0, 0)).y(), 0);
    r.wheel(view, QPoint(view->width() / 2, 0), -1, Qt::ControlModifier);
    EXPECT_EQ(r.form->ZoomView->layout().scale, 1);
    EXPECT_EQ(r.scanAt(QPointF(0, 0)).y(), 0);
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
