// Zooming a page beyond the presentation in force, up to twice the scan's own pixels: the scales
// of the steps, and where the scan lies in the viewing area at a scale. Lengths in device pixels
// of the viewing area (from its top-left corner) and in scan pixels (the stored picture's).
#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>

namespace cvx::zoom {

inline constexpr double kMaxScale = 2;              // device pixels a scan pixel at the last step
inline constexpr double kStep = 1.4142135623730951; // between two steps: the square root of 2

// Where the scan lies: the device position of its corner and device pixels a scan pixel.
struct Layout {
    QPointF origin;
    double scale = 1;
    friend bool operator==(const Layout&, const Layout&) = default;
};

// The next scale in from `scale`: a step of kStep, stopping at 1 (the scan's own pixels) and at
// kMaxScale; kMaxScale and above give kMaxScale.
[[nodiscard]] double scaleIn(double scale);

// The next scale out from `scale`, stopping at 1; never below `presentation`, the scale of the
// presentation in force, which ends the zoom.
[[nodiscard]] double scaleOut(double scale, double presentation);

// `layout` at `scale`, the scan point under `anchor` kept where it is.
[[nodiscard]] Layout zoomedAbout(const Layout& layout, double scale, QPointF anchor);

// `layout` moved so that, each way, a scan larger than the view leaves no empty band at an edge
// and a smaller one is centred.
[[nodiscard]] Layout clamped(const Layout& layout, QSizeF scan, QSizeF view);

// The scan pixels visible in a view of `view` device pixels.
[[nodiscard]] QRectF visibleRect(const Layout& layout, QSizeF view);

// The scan pixels to decode: those visible and a margin of `margin` of the view's size on each
// side, within the scan of `scan` pixels.
[[nodiscard]] QRect neededRect(const Layout& layout, QSizeF scan, QSizeF view, double margin);

} // namespace cvx::zoom
