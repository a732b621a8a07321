// The window's wiring of the zoom (display/zoom_control.h): the page it starts from, the keys'
// and the wheel's entry points; and the wheel and drags over the page that is not zoomed.
#include "app/bookform.h"

#include <cstdlib>

namespace cvx {

namespace {
// A wheel's notch, in eighths of a degree.
constexpr int kNotch = 120;

// Whole notches in `pending` eighths of a degree, the rest left there; positive away from the
// reader.
int takeNotches(int& pending, int angle) {
    pending += angle;
    const int notches = pending / kNotch;
    pending -= notches * kNotch;
    return notches;
}
} // namespace

std::optional<ZoomStart> BookForm::zoomStart() {
    const Picture& page = Image1->picture();
    if (page.isNull() || !Image1->Visible())
        return {};
    const qreal ratio = SCHERMO->widget()->devicePixelRatioF();
    const QRect shown = Image1->widget()->geometry();
    ZoomView->setGeometry(0, 0, SCHERMO->Width(), SCHERMO->Height());
    return ZoomStart{page.bytes(), page.pixelSize(), Image1->paintedImage(),
                     QRectF(QPointF(shown.topLeft()) * ratio, QSizeF(shown.size()) * ratio)};
}

void BookForm::zoomBy(int steps, QPointF anchor) {
    if (!zoom_->active()) {
        const std::optional<ZoomStart> page = steps > 0 ? zoomStart() : std::nullopt;
        if (!page || !zoom_->start(*page))
            return;
        facing_->leave(); // the single page is what is zoomed
    }
    zoom_->zoomBy(steps, anchor);
}

void BookForm::endZoom() {
    zoom_->end();
}

QPointF BookForm::viewCentre() const {
    return QPointF(SCHERMO->widget()->rect().center()) * SCHERMO->widget()->devicePixelRatioF();
}

void BookForm::zoomWheel(QPoint angle, Qt::KeyboardModifiers modifiers, QPointF at) {
    const int notches = takeNotches(wheelAngle_, angle.y());
    if (modifiers & Qt::ControlModifier)
        return zoomBy(notches, at);
    // A notch pans a tenth of the view.
    zoom_->pan(QPointF(0, notches * ZoomView->deviceSize().height() / 10));
}

void BookForm::zoomDrag(QPointF delta) {
    zoom_->pan(delta);
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
            turnPage(notches < 0);
    }
}

bool BookForm::startPageDrag() {
    dragRest_ = 0;
    return view.Magnified == True && !zoom_->active();
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
