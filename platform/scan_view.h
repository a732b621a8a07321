// The zoomed page: a part of the scan decoded ahead (a ScanRegion) drawn at the zoom's layout
// over the whole viewing area, above the whole scan's base picture. The left button drags it
// under an open and a closed hand; the wheel and the drags are reported in device pixels. A
// region decoded for another scale is drawn enlarged or reduced until a sharper one is given;
// a drag draws it without smoothing.
#pragma once

#include "display/zoom_geometry.h"
#include "platform/controls.h"
#include "platform/ink_filter.h"
#include "platform/jpeg_region.h"

namespace cvx {

class ScanView : public Control {
  public:
    ScanView(QWidget* parent, const QColor& background);

    // What to draw: the whole scan of `scan` pixels as `image` at any size, a region over it,
    // and where the scan lies in the view.
    void setBase(const QImage& image, QSize scan);
    void setRegion(const ScanRegion& region);
    [[nodiscard]] const ScanRegion& region() const { return region_; }
    void setLayout(const zoom::Layout& layout);
    [[nodiscard]] const zoom::Layout& layout() const { return layout_; }

    // Has the view draw the scan through `filter`'s aids and repaint when they change.
    void setInkFilter(InkFilter& filter);

    // The view's size in device pixels.
    [[nodiscard]] QSizeF deviceSize() const;

    std::function<void(QPointF delta)> onDrag; // the page dragged by `delta` device pixels
    // A wheel turned by `angle` (eighths of a degree) with `modifiers`, at `at` device pixels.
    std::function<void(QPoint angle, Qt::KeyboardModifiers modifiers, QPointF at)> onWheel;

  private:
    friend class ScanWidget;
    QImage base_;
    QSize scan_;
    ScanRegion region_;
    zoom::Layout layout_;
    bool dragging_ = false;
    InkFilter* ink_ = nullptr;
    FilteredImage baseFiltered_, regionFiltered_; // the base and the region through the aids
};

} // namespace cvx
