// A timer with an enabled flag and an interval, ticking on the window's thread. A tick that
// falls while another handler runs (a modal box is open) is skipped, so a tick never
// interrupts a running handler.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace cvx {

class Timer {
  public:
    Timer();
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    [[nodiscard]] int Interval() const { return interval_; }
    void setInterval(int milliseconds);

    // One tick, as the event loop delivers it.
    void tick();

    std::function<void()> onTimer;

  private:
    void update();
    QTimer timer_;
    bool enabled_ = false;
    int interval_ = 0;
};

} // namespace cvx
