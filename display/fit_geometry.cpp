// Fit geometry.
#include "display/fit_geometry.h"

namespace cvx::fit {

Fit fitInto(QSizeF natural, QSizeF box) {
    Fit f;
    f.widthRatio = static_cast<float>(natural.width() / box.width());
    f.heightRatio = static_cast<float>(natural.height() / box.height());
    f.scale = f.heightRatio > f.widthRatio ? f.heightRatio : f.widthRatio;
    f.width = natural.width() / static_cast<double>(f.scale);
    f.height = natural.height() / static_cast<double>(f.scale);
    return f;
}

double centredLeft(double containerWidth, double width) {
    return (containerWidth - width) / 2;
}

std::array<QPointF, 6> coverPointers(double left, double top, double width, double height,
                                     double halfHeight) {
    const double centre = left + width / 2 - 75;
    return {QPointF(centre, halfHeight),    QPointF(left + width - 525, halfHeight),
            QPointF(left + 75, halfHeight), QPointF(centre, top + height - 525),
            QPointF(centre, top + 25),      QPointF(centre, halfHeight)};
}

} // namespace cvx::fit
