// Runs the window's event handlers one at a time: a timer tick that arrives while another
// handler is running (inside a modal box's event loop) is held back, and a failure that no
// procedure handles is reported before the program ends.
#pragma once

#include "platform/platform.h"

#include <functional>

namespace cvx {

class Dispatch {
  public:
    // True while an event handler runs.
    [[nodiscard]] static bool busy() { return depth_ > 0; }

    // Runs `handler` as one event. A RuntimeError escaping it is shown in a box titled
    // "Cartavox" and ends the program through `platform`.
    static void run(Platform& platform, const std::function<void()>& handler);

  private:
    static int depth_;
    friend class DispatchScope;
};

// Marks the extent of one handler without the error report (used by the timers' re-entry test).
class DispatchScope {
  public:
    DispatchScope() { ++Dispatch::depth_; }
    ~DispatchScope() { --Dispatch::depth_; }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
};

} // namespace cvx
