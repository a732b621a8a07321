// Control wrappers with geometry in twips (kept as doubles; the widget gets the nearest
// pixels), visible and enabled flags, tooltips, click handlers and immediate repaint.
#pragma once

#include "platform/twips.h"

#include <QColor>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QGroupBox;

namespace cvx {

class Control {
  public:
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    [[nodiscard]] QWidget* widget() const { return widget_; }

    [[nodiscard]] double Left() const { return left_; }
    [[nodiscard]] double Top() const { return top_; }
    [[nodiscard]] double Width() const { return width_; }
    [[nodiscard]] double Height() const { return height_; }
    void setLeft(double v) {
        left_ = v;
        place();
    }
    void setTop(double v) {
        top_ = v;
        place();
    }
    virtual void setWidth(double v) {
        width_ = v;
        place();
    }
    virtual void setHeight(double v) {
        height_ = v;
        place();
    }
    void Move(double left, double top) {
        left_ = left;
        top_ = top;
        place();
    }
    void setGeometry(double left, double top, double width, double height);

    // The control's own flag, whatever its container shows.
    [[nodiscard]] bool Visible() const { return visible_; }
    void setVisible(bool v);
    [[nodiscard]] bool Enabled() const { return enabled_; }
    virtual void setEnabled(bool v);

    void setToolTipText(const QString& text);
    [[nodiscard]] QString ToolTipText() const { return toolTip_; }

    // What a screen reader says of the control: its name and what it does.
    void setAccessible(const QString& name, const QString& description);

    // Paints the control at once.
    void Refresh();

    // Raises the control above its siblings (later calls end up higher).
    void bringToFront();

    std::function<void()> onClick;

  protected:
    // `clicks`: turn presses on the widget into onClick (buttons report clicks themselves).
    Control(QWidget* widget, bool clicks);
    void place();

    QPointer<QWidget> widget_;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    QString toolTip_;
};

// A container with an optional background colour and a click handler.
class PictureBox : public Control {
  public:
    explicit PictureBox(QWidget* parent, const QColor& background = QColor());
};

// A text label; carriage returns in its caption are line breaks.
class Label : public Control {
  public:
    explicit Label(QWidget* parent, const QString& caption = {});
    [[nodiscard]] QString Caption() const { return caption_; }
    void setCaption(const QString& text);
    [[nodiscard]] QLabel* label() const;

  private:
    QString caption_;
};

// A filled rectangle (the countdown bars).
class Shape : public Control {
  public:
    Shape(QWidget* parent, const QColor& fill);
};

class CommandButton : public Control {
  public:
    CommandButton(QWidget* parent, const QString& caption);
};

// A framed group with a caption.
class Frame : public Control {
  public:
    Frame(QWidget* parent, const QString& caption);
};

// An option button; setting its value to true selects it and runs its click handler at once.
class OptionButton : public Control {
  public:
    OptionButton(QWidget* parent, const QString& caption);
    [[nodiscard]] bool Value() const;
    void setValue(bool value);
    [[nodiscard]] QString Caption() const;
};

} // namespace cvx
