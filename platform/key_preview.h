// Hands every key pressed in a window (or in a list dropped down from one of its controls) to a
// handler before the focused control receives it, with the virtual-key code the viewer's key
// table uses; the key is never swallowed.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class QKeyEvent;

namespace cvx {

// Virtual-key code of a Qt key (0 for keys without one).
[[nodiscard]] int virtualKeyCode(const QKeyEvent& event);

class KeyPreview : public QObject {
  public:
    explicit KeyPreview(QWidget* window);
    [[nodiscard]] bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    std::function<void(int keyCode, int shift)> onKeyDown;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> window_;
    bool enabled_ = false;
    const QEvent* seen_ = nullptr; // the key press last handed on, until a key is released
    quint64 seenTime_ = 0;
    int seenKey_ = 0;
    bool handling_ = false; // inside onKeyDown
};

} // namespace cvx
