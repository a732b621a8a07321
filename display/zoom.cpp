// Beyond the presentation in force: the page zoomed up to twice the scan's own pixels, the wheel
// and drags over the page. A zoom lies over the page as it is presented and changes nothing of
// it: ending the zoom shows the presentation again exactly as it was, zones and pan included.
// Only the part of the scan in view, and a margin for dragging, is decoded, on a thread of its
// own; until it comes, the decode already on the screen is drawn enlarged.
#include "app/bookform.h"

#include <QThreadPool>
#include <cmath>
#include <cstdlib>

namespace cvx {

namespace {
// A wheel's notch, in eighths of a degree.
constexpr int kNotch = 120;
// Around what is in view, a quarter of the view each way is decoded, for dragging.
constexpr double kMargin = 0.25;
// Scales this close are one.
constexpr double kSame = 1e-9;

// Whole notches in `pending` eighths of a degree, the rest left there; positive away from the
// reader.
int takeNotches(int& pending, int angle) {
    pending += angle;
    const int notches = pending / kNotch;
    pending -= notches * kNotch;
    return notches;
}
} // namespace

bool BookForm::startZoom() {
    const Picture& page = Image1->picture();
    if (page.isNull() || !Image1->Visible())
        return false;
    const qreal ratio = SCHERMO->widget()->devicePixelRatioF();
    const QRect shown = Image1->widget()->geometry();
    const QSize scan = page.pixelSize();
    const double presentation = shown.width() * ratio / scan.width();
    if (zoom::scaleIn(presentation) <= presentation + kSame)
        return false; // shown at the largest scale already
    const int generation = zoomState.generation + 1;
    zoomState = {};
    zoomState.active = true;
    zoomState.presentation = presentation;
    zoomState.scan = scan;
    zoomState.bytes = page.bytes();
    zoomState.generation = generation;
    ZoomView->setGeometry(0, 0, SCHERMO->Width(), SCHERMO->Height());
    // The decode on the screen, the whole scan, until the part in view is decoded sharper.
    ZoomView->setRegion({Image1->paintedImage(), QRectF(QPointF(0, 0), QSizeF(scan)), 0});
    ZoomView->setLayout({QPointF(shown.topLeft()) * ratio, presentation});
    ZoomView->setVisible(true);
    return true;
}

void BookForm::zoomBy(int steps, QPointF anchor) {
    if (!zoomState.active && (steps <= 0 || !startZoom()))
        return;
    zoom::Layout layout = ZoomView->layout();
    for (int i = 0; i < std::abs(steps); ++i) {
        const double scale = steps > 0 ? zoom::scaleIn(layout.scale)
                                       : zoom::scaleOut(layout.scale, zoomState.presentation);
        if (scale <= zoomState.presentation + kSame)
            return endZoom();
        layout = zoom::zoomedAbout(layout, scale, anchor);
    }
    showZoom(layout);
}

void BookForm::endZoom() {
    if (!zoomState.active)
        return;
    const int generation = zoomState.generation + 1;
    zoomState = {};
    zoomState.generation = generation; // a region still coming is dropped
    ZoomView->setVisible(false);
    ZoomView->setRegion({});
}

QPointF BookForm::viewCentre() const {
    return QPointF(SCHERMO->widget()->rect().center()) * SCHERMO->widget()->devicePixelRatioF();
}

void BookForm::showZoom(const zoom::Layout& layout) {
    ZoomView->setLayout(zoom::clamped(layout, QSizeF(zoomState.scan), ZoomView->deviceSize()));
    requestRegion();
}

void BookForm::requestRegion() {
    const zoom::Layout& layout = ZoomView->layout();
    const QSizeF size = ZoomView->deviceSize();
    const QSizeF scan(zoomState.scan);
    const int scale = regionScale(layout.scale);
    const QRectF visible = zoom::visibleRect(layout, size) & QRectF(QPointF(0, 0), scan);
    const auto covers = [&](const QRectF& area, int scaleNum) {
        return scaleNum == scale && area.contains(visible);
    };
    if (covers(ZoomView->region().scanArea, ZoomView->region().scaleNum) ||
        (zoomState.pending && covers(QRectF(zoomState.requested), zoomState.requestedScale)))
        return;
    const QRect wanted = zoom::neededRect(layout, scan, size, kMargin);
    const int generation = ++zoomState.generation;
    zoomState.pending = true;
    zoomState.requested = wanted;
    zoomState.requestedScale = scale;
    zoomDecoder_->start([this, bytes = zoomState.bytes, wanted, scale, generation] {
        const ScanRegion region = decodeRegion(bytes, wanted, scale);
        QMetaObject::invokeMethod(
            this, [this, region, generation] { takeRegion(generation, region); },
            Qt::QueuedConnection);
    });
}

void BookForm::takeRegion(int generation, const ScanRegion& region) {
    if (!zoomState.active || generation != zoomState.generation)
        return; // asked for a view since left
    zoomState.pending = false;
    if (region.image.isNull())
        return; // damaged data: the decode on the screen stays
    ZoomView->setRegion(region);
    requestRegion(); // the view may have moved on meanwhile
}

void BookForm::zoomWheel(QPoint angle, Qt::KeyboardModifiers modifiers, QPointF at) {
    const int notches = takeNotches(wheelAngle_, angle.y());
    if (modifiers & Qt::ControlModifier)
        return zoomBy(notches, at);
    // A notch pans a tenth of the view.
    const zoom::Layout& layout = ZoomView->layout();
    showZoom(
        {layout.origin + QPointF(0, notches * ZoomView->deviceSize().height() / 10), layout.scale});
}

void BookForm::zoomDrag(QPointF delta) {
    const zoom::Layout& layout = ZoomView->layout();
    showZoom({layout.origin + delta, layout.scale});
}

void BookForm::pageWheel(QPoint angle, Qt::KeyboardModifiers modifiers, QPointF at) {
    const int notches = takeNotches(wheelAngle_, angle.y());
    if (modifiers & Qt::ControlModifier)
        return zoomBy(notches, at);
    // A notch away from the reader goes back, towards the reader forward: as the arrows fitted,
    // as Up and Down magnified.
    for (int i = 0; i < std::abs(notches); ++i) {
        if (view.Magnified == True)
            notches > 0 ? PAGGIU() : PAGSU();
        else
            notches > 0 ? PagIndietro() : PagAvanti();
    }
}

bool BookForm::startPageDrag() {
    dragRest_ = 0;
    return view.Magnified == True && !zoomState.active;
}

void BookForm::pageDrag(QPointF delta) {
    // Whole pan steps, as the keys make them: the page follows the pointer up or down.
    const double step =
        Image1->Height() / 10 / kTwipsPerPixel * SCHERMO->widget()->devicePixelRatioF();
    if (step <= 0)
        return;
    dragRest_ += delta.y();
    for (; dragRest_ <= -step; dragRest_ += step)
        PAGSU();
    for (; dragRest_ >= step; dragRest_ -= step)
        PAGGIU();
}

} // namespace cvx
