// The wheel and drags over the page, as the wheel's rule reads them: a step turns a fitted page
// as the arrows do, moves a magnified one as Up and Down do, or zooms with Ctrl; on a zoomed page
// it pans, sideways with a horizontal wheel. Under the closing panel the page takes no mouse.
#include "app/bookform.h"

#include <cstdlib>

namespace cvx {

namespace {
// A wheel's notch, in eighths of a degree.
constexpr int kNotch = 120;
} // namespace

void BookForm::wheelOverPage(WheelSteps steps, Qt::KeyboardModifiers modifiers, QPointF at) {
    if (steps.newGesture)
        wheelAtEnd_ = false;
    if (Picture7->Visible())
        return;
    if (zoomed()) {
        if (steps.vertical != 0)
            zoomWheel(QPoint(0, steps.vertical * kNotch), modifiers, at);
        // A step sideways pans a tenth of the view, as one up or down does.
        if (steps.horizontal != 0 && zoomed() && !(modifiers & Qt::ControlModifier))
            zoomDrag(QPointF(steps.horizontal * ZoomView->deviceSize().width() / 10, 0));
        return;
    }
    const bool turns = view.Magnified == False && !(modifiers & Qt::ControlModifier);
    const int step = steps.vertical > 0 ? 1 : -1;
    for (int i = 0; i < std::abs(steps.vertical); ++i) {
        // Once the volume's end has said so, the same gesture turns no further forward.
        const bool forward = turns && step < 0;
        if (forward && wheelAtEnd_)
            return;
        const int book = Combo2->ListIndex();
        const std::int16_t page = place.CurrentPageIndex;
        pageWheel(QPoint(0, step * kNotch), modifiers, at);
        wheelAtEnd_ = forward && book == Combo2->ListIndex() && page == place.CurrentPageIndex;
    }
}

bool BookForm::takePageDrag(QPointF moved) {
    // Less than one pan step of movement is still a click on the zone pressed.
    const double step =
        Image1->Height() / 10 / kTwipsPerPixel * SCHERMO->widget()->devicePixelRatioF();
    return !Picture7->Visible() && std::abs(moved.y()) >= step && startPageDrag();
}

} // namespace cvx
