// Twips and pixels: geometry is kept in twips (1/1440 inch, 15 to a pixel) as doubles; a
// control covers the pixels nearest its edges.
#pragma once

#include <QRect>
#include <QtMath>
#include <algorithm>

namespace cvx {

[[nodiscard]] inline int twipsToPixels(double twips) {
    return qRound(twips / 15.0);
}

// The pixels a control covers at this geometry in twips: each edge goes to its nearest pixel.
[[nodiscard]] inline QRect pixelRect(double left, double top, double width, double height) {
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return {x, y, std::max(0, twipsToPixels(left + width) - x),
            std::max(0, twipsToPixels(top + height) - y)};
}

} // namespace cvx
