// A drop-down list with an editable text. Assigning its selected position from code runs its
// click handler at once; setting only its text runs nothing; a pick by the reader runs the
// click handler. Every typed or pasted character first goes through the key-press handler,
// which may replace it or discard it (code 0); nothing else changes the text from the keyboard
// or the mouse, and the wheel does nothing.
#pragma once

#include "platform/controls.h"

#include <QStringList>

class QComboBox;

namespace cvx {

class Selector : public Control {
  public:
    explicit Selector(QWidget* parent);

    void AddItem(const QString& item);
    void Clear();
    [[nodiscard]] int ListCount() const { return static_cast<int>(items_.size()); }
    // Item i, or an empty text outside the list.
    [[nodiscard]] QString List(int i) const;

    [[nodiscard]] int ListIndex() const { return index_; }
    // Selects item i (-1: none) and runs the click handler, as a pick by the reader would.
    void setListIndex(int i);

    [[nodiscard]] QString Text() const;
    void setText(const QString& text);

    void SetFocus();

    [[nodiscard]] const QStringList& items() const { return items_; }
    // What the selector holds: its items, selected position and text.
    struct State {
        QStringList items;
        int index = -1;
        QString text;
    };
    [[nodiscard]] State state() const { return {items_, index_, Text()}; }
    // Puts back items, position and text as they were, running nothing.
    void restore(const State& state);
    [[nodiscard]] QComboBox* combo() const;

    std::function<void(int& code)> onKeyPress;

    // A pick of item i by the reader. Unset, the pick selects the item and runs the click
    // handler; the window sets it so that the whole pick, the selection included, is one of its
    // events.
    std::function<void(int i)> onPick;

  private:
    QStringList items_;
    int index_ = -1;
};

} // namespace cvx
