// Page lookup: from the page selector's text to the page's position in the current book, from a
// typed number to the book and page that carry it, and from a position to the page's data.
#include "app/bookform.h"

#include "archive/archive_layout.h"
#include "archive/book_records.h"
#include "archive/label_rules.h"
#include "archive/lookup_rules.h"
#include "platform/files.h"

namespace cvx {

namespace {
int sequenceAt(const BookForm& f, int i) {
    return archive::sequenceNumber(f.List2.List(i));
}

// Pages: the label whose number equals the selector's number.
void findPage(BookForm& f) {
    const double wanted = numericValue(trimBlanks(f.Combo1->Text()));
    for (f.place.CurrentPageIndex = 0; f.place.CurrentPageIndex < f.List2.ListCount();
         ++f.place.CurrentPageIndex) {
        const int n = labels::labelNumber(labels::Pages, f.place.FirstSide, f.place.FirstNumber,
                                          sequenceAt(f, f.place.CurrentPageIndex));
        f.place.PageNumber = toInteger(n);
        f.place.PageLabel = lastFour(QStringLiteral("0000") + numberText(n));
        if (wanted == numericValue(f.place.PageLabel.text())) {
            f.Combo1->setText(f.place.PageLabel);
            f.Combo1->Refresh();
            return;
        }
    }
}

// Openings: the selector's number made odd (first page on the right) or even, found among the
// numbers the labels carry, so every opening the list offers is found whatever the first number.
void findOpening(BookForm& f) {
    f.place.PageLabel = f.Combo1->Text();
    f.place.PageNumber = toInteger(labels::openingNumber(
        f.place.FirstSide, toInteger(numericValue(f.place.PageLabel.text()))));
    for (f.place.CurrentPageIndex = 0; f.place.CurrentPageIndex < f.List2.ListCount();
         ++f.place.CurrentPageIndex) {
        if (labels::labelNumber(labels::Openings, f.place.FirstSide, f.place.FirstNumber,
                                sequenceAt(f, f.place.CurrentPageIndex)) == f.place.PageNumber) {
            f.place.PageLabel = lastFour(QStringLiteral("0000") + numberText(f.place.PageNumber));
            f.Combo1->setText(f.place.PageLabel);
            return;
        }
    }
}

// Sheets: the sheet number and side letter give the sequence number sought; a text without a
// side letter stands for the sheet's "s" side.
void findSheet(BookForm& f) {
    f.place.PageLabel = f.Combo1->Text();
    const QString field = f.place.PageLabel.text();
    const QChar letter = field.back();
    f.place.PageLabel = field.left(3);
    const double v = numericValue(f.place.PageLabel.text());
    f.place.PageNumber =
        toInteger(labels::sheetSequence(f.place.FirstSide, f.place.FirstNumber, v, letter));
    if (letter != QLatin1Char('s') && letter != QLatin1Char('d')) {
        f.place.PageLabel = rightChars(QString::number(v), 3) + QLatin1Char('s');
        f.Combo1->setText(f.place.PageLabel); // the four characters of the field: "9s  "
    }
    for (f.place.CurrentPageIndex = 0; f.place.CurrentPageIndex < f.List2.ListCount();
         ++f.place.CurrentPageIndex) {
        if (sequenceAt(f, f.place.CurrentPageIndex) == f.place.PageNumber) {
            // The full label, side letter included, so the next turn starts from this page.
            f.place.PageLabel = f.Combo1->List(f.place.CurrentPageIndex);
            f.Combo1->setText(f.Combo1->List(f.place.CurrentPageIndex));
            return;
        }
    }
}

// The first number of every book as the typed-number search reads it; a book of an unknown
// numbering kind repeats the number before it.
std::vector<int> firstNumbersOfBooks(const BookForm& f) {
    std::vector<int> numbers;
    int number = f.place.PageNumber;
    for (int i = 0; i <= f.LastArchiveIndex; ++i) {
        const books::Numbering n = books::numberingOf(f.List1.List(i));
        if (n.kind >= labels::Sheets && n.kind <= labels::Openings)
            number = n.firstNumber;
        numbers.push_back(number);
    }
    return numbers;
}

} // namespace

void BookForm::CERCOPAGINA() {
    const archive::SlotFields fields = archive::splitSlotText(List2.List(place.CurrentPageIndex));
    place.EntryName = fields.entryName;
    place.PageOffset = fields.offsetText;
    place.PageLength = fields.lengthText;
}

void BookForm::TrovoPagina() {
    switch (place.NumberingKind) {
    case labels::Pages:
        findPage(*this);
        break;
    case labels::Openings:
        findOpening(*this);
        break;
    case labels::Sheets:
        findSheet(*this);
        break;
    default:
        break;
    }
}

void BookForm::expectTypedPage() {
    // The book's directory and labels as its opening will read them.
    const QString path = underRoot(ProgramFolder, place.ArchivePath);
    const files::Read directory =
        files::readAt(path, archive::kFirstSlotText, archive::kDirectoryTextLength);
    if (directory.status != files::Status::Ok)
        return;
    const QStringList slotTexts = archive::directorySlots(directory.data);
    const QStringList pageLabels =
        labels::pageLabels(place.NumberingKind, place.FirstSide, place.FirstNumber, slotTexts);
    const int index =
        lookup::typedPageIndex(pageLabels, place.NumberingKind, place.FirstSide, TypedNumber);
    if (index >= slotTexts.size())
        return;
    const archive::SlotFields fields = archive::splitSlotText(slotTexts[index]);
    if (const auto entry = archive::entryLocation(fields.offsetText, fields.lengthText))
        readAhead_->expect(pageView(), {path, entry->position, entry->length});
}

void BookForm::TrovoLibro() {
    BookmarkPage = trimBlanks(Combo1->Text());
    TypedNumber = toInteger(numericValue(BookmarkPage.text()));

    const auto BookSearchIndex =
        static_cast<std::int16_t>(lookup::bookForNumber(firstNumbersOfBooks(*this), TypedNumber));
    if (BookSearchIndex < 0)
        return;
    place.ArchivePath = trimBlanks(File2.List(BookSearchIndex));
    takeNumbering(BookSearchIndex);
    if (place.NumberingKind >= labels::Sheets && place.NumberingKind <= labels::Openings)
        place.PageNumber = place.FirstNumber;

    expectTypedPage();
    Combo2->setListIndex(BookSearchIndex); // opens the book at its first page
    Combo2->setText(Combo2->List(BookSearchIndex));
    RIClistpg();

    int PageSearchIndex = static_cast<std::int16_t>(
        lookup::typedPageIndex(Combo1->items(), place.NumberingKind, place.FirstSide, TypedNumber));
    if (PageSearchIndex > Combo1->ListCount() - 1) {
        NoticeText = QStringLiteral(
                         "IL NUMERO DIGITATO NON CORRISPONDE a nessuna pagina dell'intero TESTO") +
                     QChar(13);
        platform_.messageBox(NoticeText, kStyleCritical, QStringLiteral("- A T T E N Z I O N E -"));
        PageSearchIndex = Combo1->ListCount() - 1;
    }
    Combo1->setListIndex(PageSearchIndex); // shows the page
    Combo1->setText(Combo1->List(PageSearchIndex));
    Picture3->Refresh();
}

} // namespace cvx
