// Control wrappers with geometry in twips.
#include "platform/controls.h"

#include "app/text_rules.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace cvx {

namespace {
// Turns a press and release inside a widget into the owner's click handler.
class ClickFilter : public QObject {
  public:
    ClickFilter(QWidget* w, Control* owner) : QObject(w), owner_(owner) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            pressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        } else if (event->type() == QEvent::MouseButtonRelease && pressed_) {
            pressed_ = false;
            auto* w = static_cast<QWidget*>(watched);
            const auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && w->rect().contains(me->position().toPoint()) &&
                owner_->onClick)
                owner_->onClick();
            return true;
        }
        return false;
    }

  private:
    Control* owner_;
    bool pressed_ = false;
};
} // namespace

Control::Control(QWidget* widget, bool clicks) : widget_(widget) {
    if (clicks)
        widget->installEventFilter(new ClickFilter(widget, this));
}

void Control::setGeometry(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    place();
}

void Control::place() {
    if (!widget_)
        return;
    widget_->setGeometry(pixelRect(left_, top_, width_, height_));
}

void Control::setVisible(bool v) {
    visible_ = v;
    if (widget_)
        widget_->setVisible(v);
}

void Control::setEnabled(bool v) {
    enabled_ = v;
    if (widget_)
        widget_->setEnabled(v);
}

void Control::setToolTipText(const QString& text) {
    toolTip_ = text;
    if (widget_)
        widget_->setToolTip(text);
}

void Control::setAccessible(const QString& name, const QString& description) {
    if (!widget_)
        return;
    widget_->setAccessibleName(name);
    widget_->setAccessibleDescription(description);
}

void Control::Refresh() {
    if (widget_ && widget_->isVisible())
        widget_->repaint();
}

void Control::bringToFront() {
    if (widget_)
        widget_->raise();
}

PictureBox::PictureBox(QWidget* parent, const QColor& background)
    : Control(new QWidget(parent), true) {
    if (background.isValid()) {
        widget_->setAutoFillBackground(true);
        QPalette pal = widget_->palette();
        pal.setColor(QPalette::Window, background);
        widget_->setPalette(pal);
    }
}

Label::Label(QWidget* parent, const QString& caption) : Control(new QLabel(parent), true) {
    label()->setWordWrap(true);
    label()->setTextFormat(Qt::PlainText); // a volume's text that looks like markup stays as it is
    label()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCaption(caption);
}

void Label::setCaption(const QString& text) {
    caption_ = text;
    // The final NUL of stored texts is not shown.
    QString shown = displayText(text);
    if (shown.endsWith(QChar(0)))
        shown.chop(1);
    label()->setText(shown);
}

QLabel* Label::label() const {
    return static_cast<QLabel*>(widget_.data());
}

Shape::Shape(QWidget* parent, const QColor& fill) : Control(new QWidget(parent), false) {
    widget_->setAutoFillBackground(true);
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Window, fill);
    widget_->setPalette(pal);
}

CommandButton::CommandButton(QWidget* parent, const QString& caption)
    : Control(new QPushButton(caption, parent), false) {
    auto* button = static_cast<QPushButton*>(widget_.data());
    button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button, &QPushButton::clicked, button, [this] {
        if (onClick)
            onClick();
    });
}

Frame::Frame(QWidget* parent, const QString& caption)
    : Control(new QGroupBox(caption, parent), false) {}

OptionButton::OptionButton(QWidget* parent, const QString& caption)
    : Control(new QRadioButton(caption, parent), false) {
    auto* radio = static_cast<QRadioButton*>(widget_.data());
    radio->setFocusPolicy(Qt::NoFocus);
    QObject::connect(radio, &QRadioButton::clicked, radio, [this] {
        if (onClick)
            onClick();
    });
}

bool OptionButton::Value() const {
    return static_cast<QRadioButton*>(widget_.data())->isChecked();
}

void OptionButton::setValue(bool value) {
    static_cast<QRadioButton*>(widget_.data())->setChecked(value);
    if (value && onClick)
        onClick();
}

QString OptionButton::Caption() const {
    return static_cast<QRadioButton*>(widget_.data())->text();
}

} // namespace cvx
