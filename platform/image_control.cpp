// Image controls.
#include "platform/image_control.h"

#include <QPaintEvent>
#include <QPainter>

namespace cvx {

class ImageWidget : public QWidget {
  public:
    ImageWidget(QWidget* parent, ImageControl* owner) : QWidget(parent), owner_(owner) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        const QImage image = owner_->filtered_.of(owner_->paintedImage(), owner_->ink_);
        if (image.isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const qreal ratio = devicePixelRatioF();
        if (image.size() != (QSizeF(size()) * ratio).toSize()) {
            painter.drawImage(rect(), image);
            return;
        }
        // A page decoded at the device pixels it covers: only the part to repaint is copied
        // (a strip repainted over a large page would otherwise blend the whole page).
        const QRect exposed = event->rect();
        painter.drawImage(
            QRectF(exposed), image,
            QRectF(QPointF(exposed.topLeft()) * ratio, QSizeF(exposed.size()) * ratio));
    }

  private:
    ImageControl* owner_;
};

ImageControl::ImageControl(QWidget* parent) : Control(new ImageWidget(parent, this), true) {
    widget_->setAttribute(Qt::WA_TranslucentBackground);
}

void ImageControl::setStretch(bool stretch) {
    stretch_ = stretch;
    if (!stretch_ && !picture_.isNull()) {
        const QSizeF natural = picture_.naturalTwips();
        width_ = natural.width();
        height_ = natural.height();
        place();
    }
    widget_->update();
}

void ImageControl::setPicture(const Picture& picture) {
    picture_ = picture;
    artwork_ = QImage();
    // A picture (a JPEG: no transparency) covers the whole control, so what lies beneath it
    // need not be painted first; artwork may be transparent.
    widget_->setAttribute(Qt::WA_OpaquePaintEvent, !picture_.isNull());
    setStretch(stretch_);
}

void ImageControl::restore(const State& state) {
    if (state.picture.bytes() != picture_.bytes())
        setPicture(state.picture);
    setStretch(state.stretch);
    setGeometry(state.left, state.top, state.width, state.height);
}

void ImageControl::setArtwork(const QImage& image) {
    artwork_ = image;
    picture_ = Picture();
    widget_->setAttribute(Qt::WA_OpaquePaintEvent, false);
    widget_->update();
}

QSize ImageControl::devicePixels() const {
    const qreal ratio = widget_->devicePixelRatioF();
    return (QSizeF(widget_->size()) * ratio).toSize();
}

bool ImageControl::realize() {
    if (picture_.isNull())
        return false;
    const QSize size = devicePixels();
    if (picture_.decodedSize() != size)
        picture_ = picture_.decodedAt(size);
    return !picture_.scaled(size).isNull();
}

QImage ImageControl::paintedImage() {
    if (!artwork_.isNull())
        return artwork_;
    if (!realize())
        return {};
    return picture_.scaled(devicePixels());
}

QImage ImageControl::shownImage() const {
    if (!artwork_.isNull())
        return artwork_;
    QImage image = picture_.isNull() ? QImage() : picture_.scaled(devicePixels());
    image = filtered_.of(image, ink_);
    if (!image.isNull())
        image.setDevicePixelRatio(widget_->devicePixelRatioF());
    return image;
}

void ImageControl::setInkFilter(InkFilter& filter) {
    ink_ = &filter;
    filter.watch(widget_);
}

void ImageControl::setMouseIcon(const QCursor& cursor) {
    cursor_ = cursor;
    widget_->setCursor(cursor);
}

void ImageControl::setEnabled(bool v) {
    enabled_ = v;
    // Keep the widget enabled so it still paints normally; it only stops seeing the mouse.
    widget_->setAttribute(Qt::WA_TransparentForMouseEvents, !v);
    widget_->setToolTip(v ? toolTip_ : QString());
    if (cursor_ && v)
        widget_->setCursor(*cursor_);
    else
        widget_->unsetCursor();
}

} // namespace cvx
