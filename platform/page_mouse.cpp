// The wheel and drags over the page.
#include "platform/page_mouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

namespace cvx {

namespace {
// A wheel's notch, in eighths of a degree.
constexpr int kNotch = 120;
} // namespace

WheelSteps WheelRule::take(const WheelInput& event) {
    WheelSteps steps;
    if (event.phase == Qt::ScrollMomentum)
        return steps; // the gesture goes on without the fingers: it never steps
    const bool fine = event.phase != Qt::NoScrollPhase || !event.pixels.isNull();
    steps.newGesture = !inGesture_ || event.phase == Qt::ScrollBegin || fine != fine_ ||
                       event.time < last_ || event.time - last_ > kPause;
    if (steps.newGesture) {
        restX_ = restY_ = 0;
        steppedX_ = steppedY_ = false;
        fine_ = fine;
    }
    inGesture_ = event.phase != Qt::ScrollEnd;
    last_ = event.time;
    steps.vertical = axisSteps(event.angle.y(), restY_, steppedY_);
    steps.horizontal = axisSteps(event.angle.x(), restX_, steppedX_);
    if (!inGesture_)
        restX_ = restY_ = 0;
    return steps;
}

int WheelRule::axisSteps(int angle, int& rest, bool& stepped) const {
    if (angle == 0)
        return 0;
    if (rest != 0 && (rest > 0) != (angle > 0))
        rest = 0; // the other way: what was left counts no more
    rest += angle;
    const int steps = rest / kNotch;
    rest -= steps * kNotch;
    if (!fine_ || steps == 0)
        return steps;
    rest = 0;
    if (stepped)
        return 0; // a touchpad gesture steps once
    stepped = true;
    return steps > 0 ? 1 : -1;
}

PageMouse::PageMouse(QWidget* area) : QObject(area), area_(area) {
    watch(area);
}

void PageMouse::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

QPointF PageMouse::inArea(const QWidget* widget, QPointF position) const {
    return QPointF(widget->mapTo(area_, position.toPoint())) * area_->devicePixelRatioF();
}

bool PageMouse::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !area_)
        return false;
    switch (event->type()) {
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const WheelSteps steps = wheel_.take(
            {wheel->angleDelta(), wheel->pixelDelta(), wheel->phase(), wheel->timestamp()});
        if (onWheel)
            onWheel(steps, wheel->modifiers(), inArea(widget, wheel->position()));
        return true; // handled here, not passed on to the parents
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            pressed_ = true;
            dragging_ = false;
            start_ = last_ = inArea(widget, mouse->position());
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!pressed_ || !(mouse->buttons() & Qt::LeftButton))
            return false;
        const QPointF at = inArea(widget, mouse->position());
        if (!dragging_) {
            const double distance = (at - start_).manhattanLength() / area_->devicePixelRatioF();
            if (distance < QApplication::startDragDistance() || !onDragStart ||
                !onDragStart(at - start_))
                return false;
            dragging_ = true;
        }
        if (onDrag)
            onDrag(at - last_);
        last_ = at;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const bool dragged = dragging_;
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            pressed_ = dragging_ = false;
        return dragged; // the end of a drag is no click
    }
    default:
        return false;
    }
}

} // namespace cvx
