// What the mouse does over the page besides clicking its hot zones: the wheel, and a drag with
// the left button, reported in device pixels of the viewing area. A wheel is read as whole steps:
// a notched wheel gives one step a notch, a touchpad gesture (scroll phases or pixel deltas) at
// most one step, its momentum none. A drag starts only when the window takes it for the
// pointer's movement so far (onDragStart); from then on the release is not a click on the zone
// it ends on. A press and release that did not become a drag stays a click, as it always was.
#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace cvx {

// One wheel event: `angle` in eighths of a degree (positive away from the reader, and to the
// left), `pixels` the pixel delta of a touchpad (null from a wheel), its phase, and its time in
// milliseconds.
struct WheelInput {
    QPoint angle;
    QPoint pixels;
    Qt::ScrollPhase phase = Qt::NoScrollPhase;
    quint64 time = 0;
};

// What a wheel event asks: whole steps on each axis, signed as the angle, and whether it began
// a new gesture.
struct WheelSteps {
    int vertical = 0;
    int horizontal = 0;
    bool newGesture = false;
};

// The wheel's rule. A notch is 120 eighths of a degree; what is left of one is kept until the
// direction changes, the gesture ends or the wheel pauses.
class WheelRule {
  public:
    // A pause that ends a gesture, in milliseconds.
    static constexpr quint64 kPause = 300;
    [[nodiscard]] WheelSteps take(const WheelInput& event);

  private:
    [[nodiscard]] int axisSteps(int angle, int& rest, bool& stepped) const;
    bool inGesture_ = false; // a gesture is under way
    bool fine_ = false;      // and it comes from a touchpad
    quint64 last_ = 0;       // the time of its last event
    int restX_ = 0, restY_ = 0;
    bool steppedX_ = false, steppedY_ = false; // a touchpad gesture has made its step
};

class PageMouse : public QObject {
  public:
    // Watches the viewing area `area`; widgets placed in it later are watched with watch().
    explicit PageMouse(QWidget* area);
    void watch(QWidget* widget);

    // A wheel asked for `steps` with `modifiers`, at `at` device pixels.
    std::function<void(WheelSteps steps, Qt::KeyboardModifiers modifiers, QPointF at)> onWheel;
    // The pointer moved `moved` device pixels since the press with the button held: true takes
    // the drag, false leaves the press and release to the zones for now.
    std::function<bool(QPointF moved)> onDragStart;
    std::function<void(QPointF delta)> onDrag; // the pointer moved `delta` device pixels

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    [[nodiscard]] QPointF inArea(const QWidget* widget, QPointF position) const;
    QPointer<QWidget> area_;
    WheelRule wheel_;
    bool pressed_ = false;  // the left button went down over the area
    bool dragging_ = false; // and the window took the drag
    QPointF start_, last_;  // device pixels of the area
};

} // namespace cvx
