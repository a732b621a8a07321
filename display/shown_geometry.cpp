// Where a page is shown and at how many device pixels.
#include "display/shown_geometry.h"

#include "display/fit_geometry.h"
#include "display/magnify_geometry.h"
#include "platform/twips.h"

namespace cvx::shown {

namespace {
// The picture centred in a container `containerWidth` wide at `top`, its size as the control
// keeps it (single precision).
Placement placed(float widthRatio, float heightRatio, float scale, double width, double height,
                 double containerWidth, double top, qreal pixelRatio) {
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    const double left = fit::centredLeft(containerWidth, w);
    return {widthRatio, heightRatio, scale, width,
            height,     left,        top,   devicePixels(left, top, w, h, pixelRatio)};
}

Placement fromMagnify(const magnify::Fit& m, const Area& area, double top) {
    return placed(m.widthRatio, m.heightRatio, m.pageScale, m.pageWidth, m.pageHeight, area.width,
                  top, area.pixelRatio);
}
} // namespace

QSize devicePixels(double left, double top, double width, double height, qreal pixelRatio) {
    return (QSizeF(pixelRect(left, top, width, height).size()) * pixelRatio).toSize();
}

Placement fittedInto(QSizeF natural, QSizeF box, double containerWidth, double top,
                     qreal pixelRatio) {
    const fit::Fit f = fit::fitInto(natural, box);
    return placed(f.widthRatio, f.heightRatio, f.scale, f.width, f.height, containerWidth, top,
                  pixelRatio);
}

Placement fitted(QSizeF natural, const Area& area, double top) {
    return fittedInto(
        natural, QSizeF(area.width - fit::kBorderAllowance, area.height - fit::kBorderAllowance),
        area.width, top, area.pixelRatio);
}

Placement magnified(QSizeF natural, const Area& area) {
    return fromMagnify(
        magnify::magnified(natural.width(), natural.height(), area.width, area.height), area,
        magnify::kMagnifiedTop);
}

Placement reduced(QSizeF natural, const Area& area) {
    const magnify::Fit m =
        magnify::reduced(natural.width(), natural.height(), area.width, area.height);
    return fromMagnify(m, area, magnify::restingTop(area.height, static_cast<float>(m.pageHeight)));
}

} // namespace cvx::shown
