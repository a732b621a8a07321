// Turning pages one at a time, crossing into the next or previous book at the ends of a book.
#include "app/bookform.h"

#include <algorithm>

namespace cvx {

namespace {
const QString kEndOfVolume = QStringLiteral("ATTENZIONE: Raggiunta la FINE del Libro");
const QString kNextBook = QStringLiteral("Apro il LIBRO seguente");
const QString kPreviousBook = QStringLiteral("Apro il LIBRO precedente");

// The navigation messages carry no title of their own.
void tell(BookForm& f, const QString& text) {
    f.platform().messageBox(text, kStyleOk, QString());
}

// A page of the same book: load and show the page at CurrentPageIndex, hide the turning
// pictures, and magnify the new page from its top when the viewer is magnified.
void showTurnedPage(BookForm& f) {
    f.CERCOPAGINA();
    f.Image1->setVisible(false);
    f.CARICOPAG();
    f.IMMAGIN8();
    f.Image1->setVisible(true);
    f.Image5->setVisible(false);
    f.Image6->setVisible(false);
    if (f.view.Magnified == True) {
        f.view.PanStep = 0;
        f.Label8->setCaption(numberText(f.view.PanStep));
        f.LENTE1();
    }
}

// The label now in the page selector and its number (the nearest integer to its leading
// decimal number).
void takeShownLabel(BookForm& f) {
    f.place.PageLabel = f.Combo1->Text();
    f.place.PageNumber = toInteger(numericValue(f.place.PageLabel.text()));
}

void showTurningPicture(ImageControl& picture) {
    picture.setVisible(true);
    picture.Refresh();
}
} // namespace

void BookForm::PagAvanti() {
    Image1->setTop(15);
    showTurningPicture(*Image6);
    Picture1->setVisible(false);
    TrovoPagina();
    place.CurrentPageIndex = toInteger(place.CurrentPageIndex + 1);
    Combo1->setText(Combo1->List(place.CurrentPageIndex));
    if (place.CurrentPageIndex <= List2.ListCount() - 1) {
        showTurnedPage(*this);
        return;
    }
    place.CurrentBookIndex = Combo2->ListIndex();
    if (place.CurrentBookIndex + 1 > Combo2->ListCount() - 1) {
        // The last page of the last book: stay on it.
        tell(*this, kEndOfVolume);
        place.CurrentPageIndex = toInteger(place.CurrentPageIndex - 1);
        Combo1->setText(Combo1->List(place.CurrentPageIndex));
        Combo1->setListIndex(place.CurrentPageIndex);
        Image1->setVisible(true);
        Image5->setVisible(false);
        Image6->setVisible(false);
        return;
    }
    tell(*this, kNextBook);
    AVANTLIBRO();
}

void BookForm::PagIndietro() {
    // An open instructions panel stays open on a backward turn.
    Image1->setTop(15);
    showTurningPicture(*Image5);
    place.PageLabel = trimBlanks(Combo1->Text());
    TrovoPagina();
    place.CurrentPageIndex = toInteger(place.CurrentPageIndex - 1);
    Combo1->setText(Combo1->List(place.CurrentPageIndex));
    if (place.CurrentPageIndex >= 0) {
        showTurnedPage(*this);
        return;
    }
    tell(*this, kPreviousBook);
    INDIETLIBRO();
}

void BookForm::AVANTLIBRO() {
    place.CurrentBookIndex = std::max(Combo2->ListIndex(), 0) + 1;
    if (place.CurrentBookIndex > Combo2->ListCount() - 1) {
        tell(*this, kEndOfVolume);
        place.CurrentBookIndex = Combo2->ListCount() - 1;
    }
    // Selecting the book opens it at its first page; it is then opened once more.
    Combo2->setListIndex(place.CurrentBookIndex);
    Combo2->setText(Combo2->List(place.CurrentBookIndex));
    Combo2_Click();
    Combo1->setText(Combo1->List(0));
    takeShownLabel(*this);
    Combo1->Refresh();
}

void BookForm::INDIETLIBRO() {
    // Before the first book there is none: the first book opens again, at its last page.
    place.CurrentBookIndex = std::max(Combo2->ListIndex() - 1, 0);
    Combo2->setListIndex(place.CurrentBookIndex);
    Combo2->setText(Combo2->List(place.CurrentBookIndex));
    Combo2_Click();
    Combo1->setText(Combo1->List(Combo1->ListCount() - 1));
    takeShownLabel(*this);
    Combo1_Click();
    Combo1->Refresh();
}

} // namespace cvx
