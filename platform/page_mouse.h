// What the mouse does over the page besides clicking its hot zones: the wheel, and a drag with
// the left button, reported in device pixels of the viewing area. A drag starts once the pointer
// has moved the platform's drag distance with the button held, and only when the window takes
// it (onDragStart); from then on the release is not a click on the zone it ends on. A press and
// release that did not become a drag stays a click, as it always was.
#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace cvx {

class PageMouse : public QObject {
  public:
    // Watches the viewing area `area`; widgets placed in it later are watched with watch().
    explicit PageMouse(QWidget* area);
    void watch(QWidget* widget);

    // A wheel turned by `angle` (eighths of a degree) with `modifiers`, at `at` device pixels.
    std::function<void(QPoint angle, Qt::KeyboardModifiers modifiers, QPointF at)> onWheel;
    // A drag begins; false leaves the press and release to the zones.
    std::function<bool()> onDragStart;
    std::function<void(QPointF delta)> onDrag; // the pointer moved `delta` device pixels

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    [[nodiscard]] QPointF inArea(const QWidget* widget, QPointF position) const;
    QPointer<QWidget> area_;
    bool pressed_ = false;  // the left button went down over the area
    bool dragging_ = false; // and the window took the drag
    QPointF start_, last_;  // device pixels of the area
};

} // namespace cvx
