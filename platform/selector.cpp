// Drop-down lists with click and key-press handlers. The text of a selector changes only by the
// rules of typing: every character goes through the key-press handler, and the toolkit's other
// ways into the text (completion, clipboard edits, drop, input methods, context menu, the
// wheel) are shut.
#include "platform/selector.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace cvx {

namespace {
// Keys that move the cursor, the selection or the list, or belong to the window: they never
// change the text, so the combo box and its line edit keep their own handling of them.
bool movesOnly(const QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        break;
    }
    return (key.key() >= Qt::Key_F1 && key.key() <= Qt::Key_F35) ||
           key.matches(QKeySequence::Copy) || key.matches(QKeySequence::SelectAll);
}

// The character a key types, or 0 for a key that types none (control characters and DEL).
int typedCode(const QKeyEvent& key) {
    if (key.text().size() != 1)
        return 0;
    const int code = key.text()[0].unicode();
    return code >= 32 && code != 127 ? code : 0;
}
} // namespace

class SelectorGuard : public QObject {
  public:
    SelectorGuard(QObject* parent, Selector* owner) : QObject(parent), owner_(owner) {}

  protected:
    // Installed on the combo box (the focus widget, which hands keys to its line edit directly)
    // and on the line edit (for events sent to it), so each event passes one of them only.
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            return keyPress(*static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // The middle button pastes the X11 selection.
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
        }
    }

  private:
    bool keyPress(const QKeyEvent& key) {
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
            type(13); // never reaches the text (it would add an item)
        else if (key.key() == Qt::Key_Backspace)
            type(8);
        else if (key.matches(QKeySequence::Paste))
            paste();
        else if (const int code = typedCode(key))
            type(code);
        else
            return !movesOnly(key); // cut, undo, deleting words or lines: refused
        return true;
    }

    // One character through the key-press handler, then into the text as the handler left it.
    void type(int code) {
        if (owner_->onKeyPress)
            owner_->onKeyPress(code);
        if (code == 8)
            owner_->combo()->lineEdit()->backspace();
        else if (code != 0 && code != 13)
            owner_->combo()->lineEdit()->insert(QString(QChar(code)));
    }

    // Pasted text is typed character by character; line breaks and other control characters
    // are not characters a reader types.
    void paste() {
        const QString text = QApplication::clipboard()->text();
        for (const QChar c : text)
            if (c.unicode() >= 32 && c.unicode() != 127)
                type(c.unicode());
    }

    Selector* owner_;
};

Selector::Selector(QWidget* parent) : Control(new QComboBox(parent), false) {
    QComboBox* box = combo();
    box->setEditable(true);
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    auto* guard = new SelectorGuard(box, this);
    for (QWidget* w : {static_cast<QWidget*>(box), static_cast<QWidget*>(box->lineEdit())}) {
        w->installEventFilter(guard);
        w->setFocusPolicy(Qt::StrongFocus); // not the wheel's focus
        w->setContextMenuPolicy(Qt::NoContextMenu);
        w->setAcceptDrops(false);
        w->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    QObject::connect(box, &QComboBox::activated, box, [this](int i) {
        if (onPick) {
            onPick(i);
            return;
        }
        index_ = i;
        combo()->setEditText(List(i));
        if (onClick)
            onClick();
    });
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box, [this] { index_ = -1; });
    // The combo box picks the item matching its text when the focus leaves it; here only the
    // reader's pick or an assignment selects, so that reaction is cut off.
    QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, nullptr, nullptr);
}
QComboBox* Selector::combo() const {
    return static_cast<QComboBox*>(widget_.data());
}

void Selector::AddItem(const QString& item) {
    items_ << item;
    const QSignalBlocker block(combo());
    const QString text = Text();
    combo()->addItem(item);
    combo()->setEditText(text);
}

void Selector::Clear() {
    items_.clear();
    index_ = -1;
    const QSignalBlocker block(combo());
    combo()->clear();
    combo()->setEditText(QString());
}

QString Selector::List(int i) const {
    return i >= 0 && i < items_.size() ? items_[i] : QString();
}

void Selector::setListIndex(int i) {
    index_ = (i >= 0 && i < items_.size()) ? i : -1;
    {
        const QSignalBlocker block(combo());
        combo()->setCurrentIndex(index_);
        combo()->setEditText(List(index_));
    }
    if (onClick)
        onClick();
}

QString Selector::Text() const {
    return combo()->lineEdit()->text();
}

void Selector::setText(const QString& text) {
    const QSignalBlocker block(combo());
    combo()->setEditText(text);
}

void Selector::restore(const State& state) {
    items_ = state.items;
    index_ = state.index;
    const QSignalBlocker block(combo());
    combo()->clear();
    combo()->addItems(state.items);
    combo()->setCurrentIndex(state.index);
    combo()->setEditText(state.text);
}

void Selector::SetFocus() {
    combo()->setFocus(Qt::OtherFocusReason);
    // Focus given by a key selects the text, so that what the reader types replaces it.
    combo()->lineEdit()->selectAll();
}

} // namespace cvx
