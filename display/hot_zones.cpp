// Placing the hot zones over the page image.
#include "app/bookform.h"

#include "display/zone_geometry.h"

namespace cvx {

void BookForm::IMMAGIN8() {
    // Each zone gets its size first and then a place computed from that size; only the zones'
    // geometry changes, never their enabled or visible state.
    for (int i = 0; i < zones::kPlacedZones; ++i) {
        const zones::Frame frame{Image1->Width(), Image1->Left(), view.PageWidth, SCHERMO->Height(),
                                 SCHERMO->Top()};
        const zones::Rect r = zones::zoneRect(i, frame);
        ImageControl& zone = *Image8[i];
        zone.setWidth(r.width);
        zone.setHeight(r.height);
        zone.Move(r.left, r.top);
    }
}

} // namespace cvx
