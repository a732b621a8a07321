// Timers on the window's thread.
#include "platform/timer.h"

#include "platform/dispatch.h"

namespace cvx {

Timer::Timer() {
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { tick(); });
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    update();
}

void Timer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    update();
}

void Timer::update() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

void Timer::tick() {
    if (Dispatch::busy() || !enabled_ || !onTimer)
        return;
    onTimer();
}

} // namespace cvx
