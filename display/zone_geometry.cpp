// Hot-zone rectangles: size first, then a place computed from that size.
#include "display/zone_geometry.h"

namespace cvx::zones {

Rect zoneRect(int index, const Frame& f) {
    const double centre = f.pageWidth / 2 + f.imageLeft;
    Rect r{0, 0, 0, 0};
    switch (index) {
    case 0:
        r.width = f.imageWidth / 12;
        r.height = f.areaHeight;
        r.left = f.imageLeft + f.pageWidth - r.width;
        r.top = f.areaTop + 450;
        break;
    case 1:
        r.width = f.imageWidth / 12;
        r.height = f.areaHeight;
        r.left = f.imageLeft;
        r.top = f.areaTop + 450;
        break;
    case 2:
    case 3:
        r.width = f.imageWidth * 11 / 12;
        r.height = f.areaHeight / 4;
        r.left = centre - r.width / 2;
        r.top = index == 2 ? f.areaHeight - r.height : 200;
        break;
    case 4:
    case 5:
        r.width = f.imageWidth / 3;
        r.height = f.areaHeight / 3;
        r.left = centre - r.width / 2;
        r.top = f.areaHeight / 2 - r.height / 2;
        break;
    default:
        break;
    }
    return r;
}

} // namespace cvx::zones
