// Moving a magnified page up and down in tenths of its height.
#include "app/bookform.h"

#include "display/fit_geometry.h"
#include "display/pan_geometry.h"

namespace cvx {

namespace {
// Start of both moves: the page hidden and re-centred, the step length taken from its height,
// the count made non-negative and shown.
void startMove(BookForm& f) {
    f.Image1->setVisible(false);
    f.Image1->setLeft(fit::centredLeft(f.SCHERMO->Width(), f.Image1->Width()));
    f.view.PanStepHeight = pan::stepHeight(f.Image1->Height());
    if (f.view.PanStep < 0)
        f.view.PanStep = 0;
    f.Label8->setCaption(numberText(f.view.PanStep));
}

// End of both moves: the page at its new place with the zones over it, the bands switched and
// the count shown.
void finishMove(BookForm& f, const pan::Move& move) {
    f.Image1->setTop(move.top);
    f.IMMAGIN8();
    f.Image1->setVisible(true);
    f.Image8[2]->setEnabled(move.upEnabled);
    f.Image8[3]->setEnabled(move.downEnabled);
    f.view.PanStep = toInteger(move.step);
    f.Label8->setCaption(numberText(f.view.PanStep));
}
} // namespace

void BookForm::PAGSU() {
    startMove(*this);
    finishMove(*this, pan::up(view.PanStep, Image1->Top(), Image1->Height(), SCHERMO->Height()));
}

void BookForm::PAGGIU() {
    startMove(*this);
    finishMove(*this, pan::down(view.PanStep, Image1->Height()));
}

} // namespace cvx
