// The zoomed page's control.
#include "platform/scan_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace cvx {

class ScanWidget : public QWidget {
  public:
    ScanWidget(QWidget* parent, ScanView* owner) : QWidget(parent), owner_(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::OpenHandCursor);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // Device pixels to the widget's own.
        const qreal ratio = devicePixelRatioF();
        const zoom::Layout& l = owner_->layout_;
        const auto target = [&](const QRectF& scanArea) {
            return QRectF((l.origin + scanArea.topLeft() * l.scale) / ratio,
                          scanArea.size() * l.scale / ratio);
        };
        const ScanRegion& r = owner_->region_;
        const QRectF part =
            r.image.isNull() ? QRectF() : target(region::scanArea(r.part, r.scaleNum));
        // Beyond the scan's own pixels each is shown as a square of device pixels; below them a
        // reduced picture is smoothed, except while it is dragged.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, l.scale < 1 && !owner_->dragging_);
        if (!part.contains(QRectF(rect()))) {
            painter.fillRect(rect(), palette().window());
            const QImage base = owner_->baseFiltered_.of(owner_->base_, owner_->ink_);
            if (!base.isNull() && owner_->scan_.isValid())
                painter.drawImage(target(QRectF(QPointF(0, 0), QSizeF(owner_->scan_))), base);
        }
        if (!part.isNull())
            painter.drawImage(part, owner_->regionFiltered_.of(r.image, owner_->ink_));
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        last_ = event->position();
        owner_->dragging_ = true;
        setCursor(Qt::ClosedHandCursor);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (!owner_->dragging_)
            return;
        const QPointF delta = (event->position() - last_) * devicePixelRatioF();
        last_ = event->position();
        if (owner_->onDrag && !delta.isNull())
            owner_->onDrag(delta);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        owner_->dragging_ = false;
        setCursor(Qt::OpenHandCursor);
        update();
    }

    void wheelEvent(QWheelEvent* event) override {
        if (owner_->onWheel)
            owner_->onWheel(event->angleDelta(), event->modifiers(),
                            event->position() * devicePixelRatioF());
    }

  private:
    ScanView* owner_;
    QPointF last_;
};

ScanView::ScanView(QWidget* parent, const QColor& background)
    : Control(new ScanWidget(parent, this), false) {
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Window, background);
    widget_->setPalette(pal);
}

void ScanView::setBase(const QImage& image, QSize scan) {
    base_ = image;
    scan_ = scan;
    if (image.isNull()) // the zoom ended: a hidden view paints no more
        baseFiltered_.clear();
    widget_->update();
}

void ScanView::setRegion(const ScanRegion& region) {
    region_ = region;
    if (region.image.isNull())
        regionFiltered_.clear();
    widget_->update();
}

void ScanView::setLayout(const zoom::Layout& layout) {
    layout_ = layout;
    widget_->update();
}

void ScanView::setInkFilter(InkFilter& filter) {
    ink_ = &filter;
    filter.watch(widget_);
}

QSizeF ScanView::deviceSize() const {
    return QSizeF(widget_->size()) * widget_->devicePixelRatioF();
}

} // namespace cvx
