// Sizes and places of the page in its two presentations, magnified and reduced, in twips.
#pragma once

namespace cvx::magnify {

// Top of a magnified page: its upper end just inside the viewing area.
inline constexpr double kMagnifiedTop = 15;

// Ratios of the picture's natural size to the usable area, the divisor chosen and the size
// the page is shown at.
struct Fit {
    float widthRatio;
    float heightRatio;
    float pageScale;
    double pageWidth;
    double pageHeight;
};

// Both take the viewing area's size; the usable area is that less the fitted page's border
// allowance (30 twips each way).

// Magnified: as wide as the usable width (area width - 30), height free; a picture narrower
// than that keeps its natural size (the divisor is never below 1). Natural sizes positive,
// area larger than 30 both ways.
[[nodiscard]] Fit magnified(double naturalWidth, double naturalHeight, double areaWidth,
                            double areaHeight);

// Reduced: the whole page inside the usable area, by the larger ratio; a picture smaller than
// the area keeps its natural size (the divisor is never below 1). Same preconditions.
[[nodiscard]] Fit reduced(double naturalWidth, double naturalHeight, double areaWidth,
                          double areaHeight);

// Top edge at which an image of `imageHeight` rests on the lower edge of the area (negative
// when the image is taller than the area).
[[nodiscard]] double restingTop(double areaHeight, double imageHeight);

} // namespace cvx::magnify
