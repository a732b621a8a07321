// Zoom steps and layouts.
#include "display/zoom_geometry.h"

#include <algorithm>
#include <cmath>

namespace cvx::zoom {

namespace {
// Scales this close are one: a step never lands a hair beside a stop.
constexpr double kSame = 1e-9;
} // namespace

double scaleIn(double scale) {
    double next = scale * kStep;
    for (const double stop : {1.0, kMaxScale})
        if (scale < stop - kSame)
            next = std::min(next, stop);
    return std::min(next, kMaxScale);
}

double scaleOut(double scale, double presentation) {
    double next = scale / kStep;
    if (scale > 1 + kSame)
        next = std::max(next, 1.0);
    return std::max(next, presentation);
}

Layout zoomedAbout(const Layout& layout, double scale, QPointF anchor) {
    const double k = scale / layout.scale;
    return {anchor - (anchor - layout.origin) * k, scale};
}

namespace {
// One axis: the scan's start `origin` for an extent `extent` in a view `view` long.
double clampedAxis(double origin, double extent, double view) {
    if (extent <= view)
        return (view - extent) / 2;
    return std::clamp(origin, view - extent, 0.0);
}
} // namespace

Layout clamped(const Layout& layout, QSizeF scan, QSizeF view) {
    return {QPointF(clampedAxis(layout.origin.x(), scan.width() * layout.scale, view.width()),
                    clampedAxis(layout.origin.y(), scan.height() * layout.scale, view.height())),
            layout.scale};
}

QRectF visibleRect(const Layout& layout, QSizeF view) {
    return {-layout.origin / layout.scale, view / layout.scale};
}

QRect neededRect(const Layout& layout, QSizeF scan, QSizeF view, double margin) {
    const QRectF visible = visibleRect(layout, view);
    const double dx = visible.width() * margin, dy = visible.height() * margin;
    const QRectF wanted = visible.adjusted(-dx, -dy, dx, dy) & QRectF(QPointF(0, 0), scan);
    return wanted.toAlignedRect() & QRect(QPoint(0, 0), scan.toSize());
}

} // namespace cvx::zoom
