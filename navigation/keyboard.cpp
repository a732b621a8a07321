// The keyboard commands: every key of the window is seen here before the focused control gets
// it, and none is changed or swallowed.
#include "app/bookform.h"

namespace cvx {

namespace {
// Virtual-key codes of the command keys.
enum Key : std::int16_t {
    Enter = 13,
    Shift = 16,
    Escape = 27,
    PageUp = 33,
    PageDown = 34,
    End = 35,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    LetterN = 78,
    LetterS = 83,
    F1 = 112,
    F2 = 113,
    F3 = 114,
    F4 = 115,
    // Beyond the window's own commands: zoom in and out.
    KeypadPlus = 107,
    KeypadMinus = 109,
    Plus = 187,
    Minus = 189,
};

// The window's own commands end a zoom before they run.
bool endsZoom(std::int16_t keyCode) {
    switch (keyCode) {
    case Enter:
    case Shift:
    case Escape:
    case PageUp:
    case PageDown:
    case End:
    case Left:
    case Up:
    case Right:
    case Down:
    case LetterN:
    case LetterS:
    case F1:
    case F2:
    case F3:
    case F4:
        return true;
    default:
        return false;
    }
}
} // namespace

void BookForm::Form_KeyDown(std::int16_t keyCode, std::int16_t) {
    if (endsZoom(keyCode))
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
    default:
        break;
    }
}

} // namespace cvx
