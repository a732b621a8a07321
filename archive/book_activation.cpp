// Making the book chosen in the book selector the current book: its record's numbering fields,
// its archive, its directory and its page labels.
#include "app/bookform.h"

#include "archive/archive_layout.h"
#include "archive/book_records.h"
#include "archive/label_rules.h"

namespace cvx {

void BookForm::takeNumbering(int book) {
    const books::Numbering n = books::numberingOf(List1.List(book));
    place.NumberingKind = n.kind;
    place.FirstSide = n.side;
    place.FirstNumber = n.firstNumber;
}

void BookForm::fillPageLabels() {
    Combo1->Clear();
    for (const QString& label :
         labels::pageLabels(place.NumberingKind, place.FirstSide, place.FirstNumber, List2.items()))
        Combo1->AddItem(label);
}

void BookForm::ATTIVAPAG() {
    Image1->setTop(15);
    Image6->setVisible(true);
    Image6->Refresh();

    // Exact comparison; the selected book's own record wins when two books share a label.
    const int LoopIndex =
        books::findRecord(List1.items(), Combo2->Text(), Combo2->ListIndex(), Qt::CaseSensitive);
    if (LoopIndex < 0) {
        MessageText = QStringLiteral(
            "IL TESTO NON CORRISPONTE A NESSUN LIBRO VALIDO, L'ARCHIVIO RISULTA CORROTTO");
        ERRORE();
    }
    takeNumbering(LoopIndex);

    place.ArchivePath = File2.List(LoopIndex);
    RIClistpg();
    fillPageLabels();

    Combo1->setText(Combo1->List(0));
    Combo1->Refresh();
    Image6->setVisible(false);
    Combo1->Refresh();
    showWindow();
}

} // namespace cvx
