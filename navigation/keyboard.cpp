// The keyboard commands: every key of the window is seen here before the focused control gets
// it, and none is changed or swallowed.
#include "app/bookform.h"
#include "navigation/key_codes.h"

namespace cvx {

using namespace keys;

void BookForm::Form_KeyDown(std::int16_t keyCode, std::int16_t shift) {
    // Inside the overview its own keys; any other command closes it first.
    if (overview.open) {
        if (overviewKey(keyCode, shift != 0))
            return;
        closeOverview();
    }
    if (isCommand(keyCode))
        endZoom();
    switch (keyCode) {
    case Enter:
        focusViewingArea();
        break;
    case Shift:
        // The magnifier alternates by the flag alone, set before the procedure runs.
        if (view.Magnified == False) {
            view.Magnified = True;
            LENTE1();
        } else {
            view.Magnified = False;
            view.PanStep = 0;
            LENTE0();
        }
        break;
    case Escape:
    case End:
        Command1_Click();
        break;
    case PageUp:
    case Up:
        PAGGIU(); // the picture moves down: more of the sheet's upper part
        break;
    case PageDown:
    case Down:
        PAGSU();
        break;
    case Left:
        PagIndietro();
        break;
    case Right:
        PagAvanti();
        break;
    case LetterN:
        if (Picture7->Visible())
            Image13_Click(1);
        break;
    case LetterS:
        if (Picture7->Visible())
            Image13_Click(0);
        break;
    case F1:
        if (Combo2->Enabled())
            Combo2->SetFocus();
        break;
    case F2:
        if (Combo1->Enabled())
            Combo1->SetFocus();
        break;
    case F3:
        Image2_Click(0);
        break;
    case F4:
        Command2_Click();
        break;
    case KeypadPlus:
    case Plus:
        zoomBy(1, viewCentre());
        break;
    case KeypadMinus:
    case Minus:
        zoomBy(-1, viewCentre());
        break;
    case F5:
        openOverview();
        break;
    default:
        break;
    }
}

} // namespace cvx
