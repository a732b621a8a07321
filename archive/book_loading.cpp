// Reading the book archives and the remembered place at start-up.
#include "app/bookform.h"

#include "archive/archive_layout.h"
#include "archive/book_records.h"
#include "archive/bookmark_file.h"
#include "archive/label_rules.h"
#include "display/fit_geometry.h"
#include "display/shown_geometry.h"
#include "platform/dispatch.h"
#include "platform/files.h"

#include <cmath>

namespace cvx {

namespace {
const QString kAttention = QStringLiteral("- A T T E N Z I O N E -");

// `count` bytes read into a buffer of `count` copies of `fill`: bytes past the end of the file
// keep the fill.
QString intoBuffer(const QByteArray& bytes, int count, QChar fill) {
    const QString read = fromSingleByte(bytes.left(count));
    return read + QString(count - read.size(), fill);
}

// The book a remembered position names, or -1 when the volume has no such book.
int rememberedBook(const QString& text, int bookCount) {
    const double index = std::nearbyint(numericValue(text));
    return index >= 0 && index < bookCount ? static_cast<int>(index) : -1;
}
} // namespace

void BookForm::Ricupero() {
    // Start-up is one event: the selector clicks made here run nested in it, and a page that
    // cannot be shown is reported here.
    const DispatchScope event;
    SCHERMO->setVisible(false);
    ProgramFolder = Dir1.Path();
    File2.setPath(ProgramFolder);
    LastArchiveIndex = static_cast<std::int16_t>(File2.ListCount() - 1);
    CARICODATI();
    takeBookmark();
    selectRememberedBook();
    probeFirstEntry();

    // The selected book's numbering fields; letter case and surrounding blanks do not count.
    const int record =
        books::findRecord(List1.items(), Combo2->Text(), Combo2->ListIndex(), Qt::CaseInsensitive);
    if (record >= 0)
        takeNumbering(record);

    const QString offset = place.PageOffset;
    const QString length = place.PageLength;
    prepareCover();
    place.PageOffset = offset;
    place.PageLength = length;

    openRememberedPage();
}

void BookForm::takeBookmark() {
    const files::Read read = files::readAll(BookmarkPath);
    if (read.status == files::Status::Ok && read.data.isEmpty()) {
        place.ArchivePath = File2.List(0);
        BookmarkPage = QStringLiteral("0");
        return;
    }
    const auto remembered = read.status == files::Status::Ok
                                ? bookmark::readPlace(fromSingleByte(read.data))
                                : std::nullopt;
    if (!remembered) {
        // Missing, or fewer than two values: the working folder is made anew, which points the
        // file list at it; the archives are listed again and the volume opens at its start.
        INSTALLO();
        File2.setPath(ProgramFolder);
    }
    const int book = remembered ? rememberedBook(remembered->book, File2.ListCount()) : -1;
    if (book < 0) {
        // No such book in this volume: its first book, at its first page.
        BookmarkBook.clear();
        BookmarkPage = QStringLiteral("0");
        place.ArchivePath = File2.List(0);
        return;
    }
    BookmarkBook = remembered->book;
    BookmarkPage = remembered->page;
    place.ArchivePath = File2.List(book);
}

void BookForm::selectRememberedBook() {
    const int LoopIndex = static_cast<int>(std::nearbyint(numericValue(BookmarkBook)));
    Combo2->setText(Combo2->List(LoopIndex));
    try {
        Combo2->setListIndex(LoopIndex);
    } catch (const PageUnreadable&) {
        // The book's first page, shown on the way; the remembered page is shown at the end of
        // start-up, and a failure there is reported. An unreadable archive stops the next step.
    }
}

void BookForm::probeFirstEntry() {
    place.EntryName.clear();
    place.PageOffset.clear();
    place.PageLength.clear();
    const files::Read read = files::readAt(underRoot(ProgramFolder, place.ArchivePath),
                                           archive::kFirstSlotText, archive::kSlotTextLength);
    if (read.status != files::Status::Ok) {
        MessageText = QStringLiteral("CHIUDO CARTAVOX, ERRORE ") + read.description;
        ERRORE();
    }
    const QString SlotText = intoBuffer(read.data, archive::kSlotTextLength, QChar(0));
    const QString ScratchText = SlotText;
    const archive::SlotFields fields = archive::splitSlotText(ScratchText);
    place.EntryName = fields.entryName;
    place.PageOffset = fields.offsetText;
    place.PageLength = fields.lengthText;
}

void BookForm::prepareCover() {
    try {
        loadCover();
    } catch (const PageUnreadable& failure) {
        // The cover only illustrates the instructions: the volume stays readable without it.
        platform_.messageBox(failure.text, kStyleCritical, kAttention);
    }
}

void BookForm::loadCover() {
    const auto ReadPosition =
        toLong(numericValue(CoverEntryNumber) * archive::kSlotStride + archive::kFirstSlotText);
    const files::Read slot = files::readAt(underRoot(ProgramFolder, CoverArchiveName), ReadPosition,
                                           archive::kSlotTextLength);
    if (slot.status == files::Status::NotFound)
        USCITA1();
    const archive::SlotFields fields =
        archive::splitSlotText(intoBuffer(slot.data, archive::kSlotTextLength, QLatin1Char(' ')));
    CoverEntryName = fields.entryName;
    place.PageOffset = fields.offsetText;
    place.PageLength = fields.lengthText;
    const QString failure =
        QStringLiteral("IMPOSSIBILE LEGGERE LA COPERTINA DALL'ARCHIVIO ") + CoverArchiveName;
    const Picture cover = readEntryPicture(CoverArchiveName, failure);

    const shown::Placement placement = shown::fittedInto(
        cover.naturalTwips(), QSizeF(fit::kCoverBoxWidth, fit::kCoverBoxHeight),
        fit::kCoverBoxWidth, fit::kCoverTop, Image4->widget()->devicePixelRatioF());
    const Picture decoded = cover.decodedAt(placement.pixels);
    if (decoded.scaled(placement.pixels).isNull())
        throw PageUnreadable(failure);
    writeWorkImage();

    showPlaced(*Image4, decoded, placement);
    Image4->Move(placement.left, placement.top);

    const auto places = fit::coverPointers(Image4->Left(), Image4->Top(), Image4->Width(),
                                           Image4->Height(), view.PageHeight / 2);
    for (int i = 0; i < 6; ++i) {
        Image7[i]->Move(places[i].x(), places[i].y());
        Image7[i]->setVisible(false);
    }
}

void BookForm::openRememberedPage() {
    QString failure;
    try {
        RIClistpg();
        fillPageLabels();
        if (place.NumberingKind == labels::Pages) {
            Combo1->setText(Combo1->List(0));
            Combo1->Refresh();
        }
        // A remembered page beyond the book's end is its last page; a negative one its first.
        if (numericValue(BookmarkPage.text()) > Combo1->ListCount() - 1)
            BookmarkPage = numberText(Combo1->ListCount() - 1);
        if (numericValue(BookmarkPage.text()) < 0)
            BookmarkPage = QStringLiteral("0");
        const int page = toInteger(numericValue(BookmarkPage.text()));
        Combo1->setText(Combo1->List(page));
        Combo1->setListIndex(page);
        CARICOPAG();
        IMMAGIN8();
    } catch (const PageUnreadable& unreadable) {
        failure = unreadable.text; // there is no earlier page to go back to
    }
    Picture3->Refresh();
    SCHERMO->setVisible(true);
    showWindow();
    if (!failure.isEmpty())
        platform_.messageBox(failure, kStyleCritical, kAttention);
}

void BookForm::RIClistpg() {
    List2.Clear();
    const files::Read read = files::readAt(underRoot(ProgramFolder, place.ArchivePath),
                                           archive::kFirstSlotText, archive::kDirectoryTextLength);
    if (read.status != files::Status::Ok)
        throw PageUnreadable(QStringLiteral("IMPOSSIBILE LEGGERE L'ARCHIVIO ") + place.ArchivePath);
    List2.setItems(archive::directorySlots(read.data));
}

} // namespace cvx
