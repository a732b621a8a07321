// Where the hot zones 0 to 5 lie over the page image, in twips inside the viewing area.
#pragma once

namespace cvx::zones {

inline constexpr int kPlacedZones = 6; // zones 6 and 7 keep their design place

// What the zones are placed from, all read at the moment of placing.
struct Frame {
    double imageWidth; // Image1.Width
    double imageLeft;  // Image1.Left
    double pageWidth;  // the page's displayed width (equal to imageWidth after a fit)
    double areaHeight; // SCHERMO.Height
    double areaTop;    // SCHERMO.Top
};

struct Rect {
    double left, top, width, height;
};

// Zone `index` (0 to 5): 0/1 the right/left turn strips (a twelfth of the image wide, as tall
// as the area, 450 twips plus the area's own top down), 2/3 the bottom/top bands (eleven
// twelfths wide, a quarter of the area high, the top one 200 twips down), 4/5 the centre
// rectangle (a third of the image by a third of the area). Bands and centre are centred on
// the page's centre line. Any other index gives an empty rectangle.
[[nodiscard]] Rect zoneRect(int index, const Frame& frame);

} // namespace cvx::zones
