// The wheel and drags over the page.
#include "platform/page_mouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

namespace cvx {

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
        if (onWheel)
            onWheel(wheel->angleDelta(), wheel->modifiers(), inArea(widget, wheel->position()));
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
            if (distance < QApplication::startDragDistance() || !onDragStart || !onDragStart())
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
