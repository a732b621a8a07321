// Drop-down lists with click and key-press handlers.
#include "platform/selector.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace cvx {

// Hands every typed character to the selector's key-press handler before the text sees it.
class SelectorKeyFilter : public QObject {
public:
    SelectorKeyFilter(QObject* parent, Selector* owner) : QObject(parent), owner_(owner) {}

protected:
    // Installed on the combo box (the focus widget, which hands keys to its line edit directly)
    // and on the line edit (for events sent to it), so each key passes one of them only.
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        int code = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            code = 13;
        else if (key->key() == Qt::Key_Backspace)
            code = 8;
        else if (key->text().size() == 1 && key->text()[0].unicode() >= 32)
            code = key->text()[0].unicode();
        else
            return false; // navigation keys: the list handles them
        int changed = code;
        if (owner_->onKeyPress)
            owner_->onKeyPress(changed);
        // Enter never reaches the text (it would add an item); a replaced character is typed here.
        if (changed == code && code != 13)
            return false;
        if (changed != 0 && changed != 13)
            owner_->typed(changed);
        return true;
    }

private:
    Selector* owner_;
};

Selector::Selector(QWidget* parent) : Control(new QComboBox(parent), false) {
    QComboBox* box = combo();
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    auto* filter = new SelectorKeyFilter(box, this);
    box->installEventFilter(filter);
    box->lineEdit()->installEventFilter(filter);
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

QComboBox* Selector::combo() const { return static_cast<QComboBox*>(widget_.data()); }

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

QString Selector::List(int i) const { return i >= 0 && i < items_.size() ? items_[i] : QString(); }

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

QString Selector::Text() const { return combo()->lineEdit()->text(); }

void Selector::setText(const QString& text) {
    const QSignalBlocker block(combo());
    combo()->setEditText(text);
}

void Selector::restore(const QStringList& items, int index, const QString& text) {
    items_ = items;
    index_ = index;
    const QSignalBlocker block(combo());
    combo()->clear();
    combo()->addItems(items);
    combo()->setCurrentIndex(index);
    combo()->setEditText(text);
}

void Selector::SetFocus() {
    combo()->setFocus(Qt::OtherFocusReason);
    // Focus given by a key selects the text, so that what the reader types replaces it.
    combo()->lineEdit()->selectAll();
}

void Selector::typed(int code) { combo()->lineEdit()->insert(QString(QChar(code))); }

} // namespace cvx
