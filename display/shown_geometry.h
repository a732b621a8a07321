// Where a page picture lies in the viewing area and how many device pixels it covers, for each
// way a page is shown: fitted (the page loaders), magnified to the area's width and reduced to
// rest on its lower edge (the magnifier). The page is decoded at exactly these pixels, by the
// loaders and by the read-ahead alike: what is decoded ahead is what a turn shows.
#pragma once

#include <QSize>
#include <QSizeF>

namespace cvx::shown {

// The viewing area: its size in twips and the screen's device pixels per pixel.
struct Area {
    double width = 0;
    double height = 0;
    qreal pixelRatio = 1;
    friend bool operator==(const Area&, const Area&) = default;
};

struct Placement {
    float widthRatio = 0;  // natural width / the width available
    float heightRatio = 0; // natural height / the height available
    float scale = 0;       // the divisor from natural to displayed size
    double width = 0;      // displayed size, twips
    double height = 0;
    double left = 0; // place in the viewing area, twips
    double top = 0;
    QSize pixels; // the device pixels the picture is decoded at
};

// The top at which a turn shows a page, just inside the viewing area.
inline constexpr double kTopOfArea = 15;

// The device pixels a control covers at this geometry (twips; width and height as the control
// keeps them, in single precision).
[[nodiscard]] QSize devicePixels(double left, double top, double width, double height,
                                 qreal pixelRatio);

// A picture of `natural` twips fitted whole into `box`, centred in a container
// `containerWidth` wide, at `top`. Sizes positive.
[[nodiscard]] Placement fittedInto(QSizeF natural, QSizeF box, double containerWidth, double top,
                                   qreal pixelRatio);

// A page fitted whole into the viewing area less its border, centred, at `top` (a turn puts the
// page at kTopOfArea; a pick keeps the top it had).
[[nodiscard]] Placement fitted(QSizeF natural, const Area& area, double top);

// Magnified: as wide as the area less its border, at kTopOfArea (see magnify::magnified).
[[nodiscard]] Placement magnified(QSizeF natural, const Area& area);

// Reduced: whole in the area, resting on its lower edge (see magnify::reduced).
[[nodiscard]] Placement reduced(QSizeF natural, const Area& area);

} // namespace cvx::shown
