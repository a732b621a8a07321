// The keyboard commands: every key of the window is seen here before the focused control gets
// it, and none is changed or swallowed.
#include "app/bookform.h"
#include "navigation/key_codes.h"

namespace cvx {

using namespace keys;

bool BookForm::keyActs(std::int16_t keyCode) const {
    switch (keyCode) {
    case LetterN:
    case LetterS:
        return Picture7->Visible();
    case F1:
        return Combo2->Enabled();
    case F2:
        return Combo1->Enabled();
    default:
        // Nothing reaches a page the reader cannot see under the instructions or the closing
        // panel.
        if (isAddition(keyCode))
            return !Picture1->Visible() && !Picture7->Visible();
        return isCommand(keyCode);
    }
}

void BookForm::Form_KeyDown(std::int16_t keyCode, [[maybe_unused]] std::int16_t shift) {
    // Inside the aids' panel, the keys its controls use; the others act on the window (Shift
    // magnifies with the panel left open).
    if (inkPanel_->hasFocus() && inkPanel_->key(keyCode))
        return;
    // Inside the overview its own keys. A key that does nothing leaves the overview and a zoom as
    // they are; any other first brings the page back.
    if (overview_->isOpen() && overview_->key(keyCode))
        return;
    if (!keyActs(keyCode))
        return;
    if (!isAddition(keyCode)) {
        backToPage();
    } else if (keyCode == F6) {
        endZoom(); // facing pages come over the page as it is fitted
        overview_->close();
    } else {
        facing_->leave(); // the zoom and the overview start from the single page
    }
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
        turnPage(false);
        break;
    case Right:
        turnPage(true);
        break;
    case LetterN:
        Image13_Click(1);
        break;
    case LetterS:
        Image13_Click(0);
        break;
    case F1:
        Combo2->SetFocus();
        break;
    case F2:
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
        overview_->open();
        break;
    case F6:
        facing_->toggle();
        break;
    case F7:
        // The aids act on the page, zoomed or not: the overview gives way to it.
        overview_->close();
        inkPanel_->open();
        break;
    default:
        break;
    }
}

} // namespace cvx
