// Key preview for one window.
#include "platform/key_preview.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace cvx {

int virtualKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: // Shift+Tab: the Tab key with Shift held
        return 9;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Plus: // the keypad's own key, or the main keyboard's
        return event.modifiers() & Qt::KeypadModifier ? 107 : 187;
    case Qt::Key_Equal: // where + needs Shift (US, UK, French), the same key unshifted
        return 187;
    case Qt::Key_Minus:
        return event.modifiers() & Qt::KeypadModifier ? 109 : 189;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // Qt's codes for letters and digits are the upper-case ASCII codes
    return 0;
}

namespace {
// The window a widget's keys belong to: a popup (a selector's dropped-down list) belongs to the
// window of the control that opened it.
const QWidget* owningWindow(const QWidget* widget) {
    const QWidget* window = widget->window();
    while (window->windowType() == Qt::Popup && window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}
} // namespace

KeyPreview::KeyPreview(QWidget* window) : QObject(window), window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        // The next press is a new key, wherever it is allocated; but a release that arrives
        // while the press is being handled (a modal box runs its own loop) comes before that
        // press has travelled on to the parents.
        if (!handling_)
            seen_ = nullptr;
        return false;
    }
    if (!enabled_ || event->type() != QEvent::KeyPress || !window_ || !watched->isWidgetType() ||
        owningWindow(static_cast<QWidget*>(watched)) != window_)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // An unhandled key travels on to the parents as the same event; the handler may have moved
    // the focus meanwhile, so the event itself, not the focus, tells that it was seen.
    if (event == seen_ && key->timestamp() == seenTime_ && key->key() == seenKey_)
        return false;
    seen_ = event;
    seenTime_ = key->timestamp();
    seenKey_ = key->key();
    const int code = virtualKeyCode(*key);
    if (code != 0 && onKeyDown) {
        const QScopedValueRollback<bool> handling(handling_, true);
        onKeyDown(code, static_cast<int>(key->modifiers() & Qt::ShiftModifier ? 1 : 0));
    }
    return false;
}

} // namespace cvx
