// Clicks on the hot zones: each zone runs the same procedure as its key.
#include "app/bookform.h"

namespace cvx {

void BookForm::Image8_Click(std::int16_t index) {
    switch (index) {
    case 0:
        PagAvanti();
        break;
    case 1:
        PagIndietro();
        break;
    case 2:
    case 6:
        PAGSU();
        break;
    case 3:
    case 7:
        PAGGIU();
        break;
    case 4:
        view.Magnified = True;
        LENTE1();
        break;
    case 5:
        view.Magnified = False;
        view.PanStep = 0;
        LENTE0();
        break;
    default:
        break;
    }
}

} // namespace cvx
