// Fitting a picture into a box at the largest size that shows all of it, and the places of the
// instruction pointers over the fitted cover picture. All lengths in twips.
#pragma once

#include <QPointF>
#include <QSizeF>
#include <array>

namespace cvx::fit {

// Room left around a page inside the viewing area (two pixels).
inline constexpr double kBorderAllowance = 30;

// The instructions panel's box for the cover picture, and the cover's top.
inline constexpr double kCoverBoxWidth = 8445;
inline constexpr double kCoverBoxHeight = 10260;
inline constexpr double kCoverTop = 30;

struct Fit {
    float widthRatio = 0;  // natural width / box width
    float heightRatio = 0; // natural height / box height
    float scale = 0;       // the larger ratio (the width's on a tie)
    double width = 0;      // natural width / scale
    double height = 0;     // natural height / scale
};

// Fits `natural` into `box`, keeping its proportions; a picture smaller than the box is
// enlarged (scale below 1). Precondition: both sizes positive.
[[nodiscard]] Fit fitInto(QSizeF natural, QSizeF box);

// Left edge that centres `width` in a container `containerWidth` wide.
[[nodiscard]] double centredLeft(double containerWidth, double width);

// Places (Left, Top) of the six instruction pointers over a cover picture at left, top, width,
// height, half of whose displayed height is `halfHeight`: 0 and 5 at the centre, 1 at the right
// edge, 2 at the left edge, 3 at the bottom, 4 at the top.
[[nodiscard]] std::array<QPointF, 6> coverPointers(double left, double top, double width,
                                                   double height, double halfHeight);

} // namespace cvx::fit
