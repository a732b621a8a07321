// The book and page selectors, and the Enter picture beside the page selector.
#include "app/bookform.h"

namespace cvx {

namespace {
constexpr int kEnter = 13;
constexpr int kBackspace = 8;
constexpr int kComma = 44;
constexpr int kFullStop = 46;
} // namespace

void BookForm::Combo1_Click() {
    Picture1->setVisible(false);
    TrovoPagina();
    CERCOPAGINA();
    Image1->setVisible(false);
    CARICOPAG();
    IMMAGIN8();
    Image1->setVisible(true);
    Image5->setVisible(false);
    Image6->setVisible(false);
    if (view.Magnified == True) {
        view.PanStep = 0;
        Label8->setCaption(QStringLiteral("0"));
        LENTE1();
    }
}

void BookForm::Combo1_KeyPress(int& keyAscii) {
    if (keyAscii == kEnter)
        Picture5_Click();
    if (keyAscii == kComma)
        keyAscii = kFullStop;
    if (keyAscii != kFullStop && keyAscii != kBackspace && (keyAscii < '0' || keyAscii > '9'))
        keyAscii = 0;
    if (Combo1->Text().size() > 4 && keyAscii != kBackspace)
        keyAscii = 0;
}

void BookForm::Combo2_Click() {
    ATTIVAPAG();
    Combo1_Click();
    Picture3->Refresh();
    Combo1->Refresh();
    setKeyPreview(true);
}

void BookForm::Combo2_KeyPress(int& keyAscii) {
    // Typing never changes the book selector; the arrow keys, which type nothing, still move it.
    keyAscii = kEnter;
}

void BookForm::Picture5_Click() {
    Picture1->setVisible(false);
    TrovoLibro();
}

} // namespace cvx
