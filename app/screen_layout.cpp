// The screen check and the layout of the window for the screen (steps 5, 8 and 10 of start-up).
#include "app/bookform.h"

#include "app/screen_rules.h"

namespace cvx {

void BookForm::checkScreen() {
    const QSize pixels = platform_.screenPixels();
    const double screenW = pixels.width() * 15.0;
    const double screenH = pixels.height() * 15.0;
    if (screen::fit(screenW) == screen::Fit::TooNarrow) {
        MessageText = screen::tooNarrowMessage();
        platform_.messageBox(MessageText, kStyleCritical,
                             QStringLiteral("ATTENZIONE, CHIUDO IL PROGRAMMA"));
        platform_.endProgram(kExitFailure);
    }
    const QString size = screen::sizeText(screenW, screenH);
    const QString ScreenInfoText =
        QStringLiteral("La definizione schermo risulta di ") + size + QChar(13);
    if (screen::fit(screenW) == screen::Fit::Narrow) {
        MessageText = ScreenInfoText + screen::narrowAdvice();
        platform_.messageBox(MessageText, kStyleCritical, QStringLiteral("N O T A"));
    }
    Label10->setCaption(size);
}

void BookForm::layoutFirstGroup() {
    const QSize pixels = platform_.screenPixels();
    MoveForm(0, 0);
    setFormSize(pixels.width() * 15.0, pixels.height() * 15.0);
    SCHERMO->setWidth(Width() - 30);
    SCHERMO->setHeight(Height() - 380);
    SCHERMO->Move(15, 365);
    Picture9->Move(0, 0);
    Picture9->setVisible(false);
    Picture3->Move(Width() - (Picture3->Width() + 90), 30);
    Picture6->Move(Width() - (Picture3->Width() + 90), 30);
    Picture7->setVisible(false);
    Picture7->Move((SCHERMO->Width() - Picture7->Width()) / 2,
                   (SCHERMO->Height() - Picture7->Height()) / 2);
    for (ImageControl* turning : {Image5.get(), Image6.get()})
        turning->Move((SCHERMO->Width() - turning->Width()) / 2,
                      (SCHERMO->Height() - turning->Height()) / 2);
    Image5->setVisible(false);
    Image6->setVisible(false);
    Image1->Move(15, 15);
}

void BookForm::layoutSecondGroup() {
    Picture1->setWidth(Width());
    Picture1->setHeight(Height() - 365);
    Picture1->Move(0, 365);
    Picture2->setWidth(15360);
    Picture2->setHeight(10360);
    Picture2->Move((Width() - 15360) / 2, 780);
    Picture1->setVisible(false);
    Image3->Move(Width() - (Image3->Width() + 90), 30);
}

} // namespace cvx
