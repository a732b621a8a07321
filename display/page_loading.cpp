// Loading the current page and fitting it into the viewing area. Everything that can fail is
// checked before anything shown changes, so a page that cannot be shown leaves the previous
// page on the screen and in the working image. A decode read ahead is used only when it was
// made from the very bytes just restored, at the very size shown.
#include "app/bookform.h"

#include "archive/archive_layout.h"
#include "archive/entry_restore.h"
#include "display/shown_geometry.h"
#include "platform/files.h"

#include <QDir>
#include <QThread>

namespace cvx {

namespace {
// The label of the page being loaded: its item in the page selector, or the selector's text.
QString loadingLabel(const BookForm& f) {
    const QString listed = f.Combo1->List(f.place.CurrentPageIndex);
    return listed.isEmpty() ? trimBlanks(f.Combo1->Text()) : listed;
}

QString unreadablePage(const QString& label, const QString& archiveName) {
    return (label.isEmpty() ? QStringLiteral("IMPOSSIBILE LEGGERE LA PAGINA")
                            : QStringLiteral("IMPOSSIBILE LEGGERE LA PAGINA ") + label) +
           QStringLiteral(" DALL'ARCHIVIO ") + archiveName;
}
} // namespace

Picture BookForm::readEntryPicture(const QString& archiveName, const QString& failure) {
    const QString path = underRoot(ProgramFolder, archiveName);
    const auto entry = archive::entryLocation(place.PageOffset, place.PageLength);
    const files::Length archiveLength = files::lengthOf(path);
    if (!entry || entry->length < archive::kMinEntryLength ||
        archiveLength.status != files::Status::Ok ||
        !archive::insideArchive(*entry, archiveLength.length))
        throw PageUnreadable(failure);
    files::Read read = files::readAt(path, entry->position, entry->length);
    if (read.status != files::Status::Ok || read.data.size() != entry->length)
        throw PageUnreadable(failure);
    PageData = std::move(read.data); // restored in place, not copied
    DECDPAG();
    QString why;
    Picture picture = Picture::fromBytes(PageData, archiveName, &why);
    // A picture refused for its size says so; other damage needs no more than the page's name.
    if (picture.isNull())
        throw PageUnreadable(Picture::tooLarge(PageData) ? failure + QChar(13) + why : failure);
    return picture;
}

void BookForm::writeWorkImage() {
    // The file holds the new page, or after a failed write the old one again, and no tail of a
    // longer page stays behind a shorter one. It is written over where it lies: a new file at
    // every page would cost more than the rest of a page turn.
    if (!files::rewriteInPlace(WorkImagePath, PageData, workImageHeld_).ok())
        throw PageUnreadable(QStringLiteral("IMPOSSIBILE SCRIVERE IL FILE ") +
                             QDir::toNativeSeparators(WorkImagePath));
    workImageHeld_ = PageData;
}

PageKey BookForm::shownPageKey() const {
    const auto entry = archive::entryLocation(place.PageOffset, place.PageLength);
    if (!entry)
        return {};
    return {underRoot(ProgramFolder, place.ArchivePath), entry->position, entry->length};
}

shown::Area BookForm::viewingArea() const {
    return {SCHERMO->Width(), SCHERMO->Height(), Image1->widget()->devicePixelRatioF()};
}

PageView BookForm::pageView() const {
    return {ProgramFolder, viewingArea(), view.Magnified == True, facing_->chosen()};
}

Picture BookForm::readyPicture(const Picture& read, QSize pixels) {
    const PageKey key = shownPageKey();
    const Picture ready = readAhead_->take(key, read.bytes(), pixels);
    if (!ready.isNull())
        return ready;
    // The reader waits for this one: every core decodes it.
    const Picture decoded = read.decodedAt(pixels, QThread::idealThreadCount());
    if (!decoded.scaled(pixels).isNull())
        readAhead_->keep(pageView(), key, decoded, pixels);
    return decoded;
}

std::optional<PageKey> BookForm::pageKeyAt(int index) const {
    if (index < 0 || index >= List2.ListCount())
        return std::nullopt;
    return slotPageKey(underRoot(ProgramFolder, place.ArchivePath), List2.List(index));
}

QStringList BookForm::bookDirectory(int book, bool whole, QString* path) const {
    if (book < 0 || book >= File2.ListCount() || book >= Combo2->ListCount())
        return {};
    *path = underRoot(ProgramFolder, File2.List(book));
    const files::Read read =
        files::readAt(*path, archive::kFirstSlotText,
                      whole ? archive::kDirectoryTextLength : archive::kSlotTextLength);
    return read.status == files::Status::Ok ? archive::directorySlots(read.data) : QStringList();
}

std::optional<PageKey> BookForm::bookPageKey(int book, bool lastPage) const {
    // The first slot is enough for the first page.
    QString path;
    const QStringList texts = bookDirectory(book, lastPage, &path);
    if (texts.isEmpty())
        return std::nullopt;
    return slotPageKey(path, lastPage ? texts.last() : texts.first());
}

void BookForm::readAround() {
    const PageKey shown = shownPageKey();
    std::vector<PageKey> around;
    // Only a page of the current book's list has neighbours to read.
    if (!shown.archive.isEmpty() && pageKeyAt(place.CurrentPageIndex) == shown &&
        facing_->turnsByOpening()) {
        around = facing_->around();
    } else if (!shown.archive.isEmpty() && pageKeyAt(place.CurrentPageIndex) == shown) {
        const int book = Combo2->ListIndex();
        if (const auto next = pageKeyAt(place.CurrentPageIndex + 1))
            around.push_back(*next);
        else if (const auto first = book >= 0 ? bookPageKey(book + 1, false) : std::nullopt)
            around.push_back(*first);
        if (const auto previous = pageKeyAt(place.CurrentPageIndex - 1)) {
            around.push_back(*previous);
        } else if (book > 0) {
            // Back past a book's first page the previous book opens at its first page on the
            // way to its last.
            for (const bool last : {true, false})
                if (const auto page = bookPageKey(book - 1, last))
                    around.push_back(*page);
        }
        // A typed page number opens its book at the first page on the way to the page asked.
        if (const auto first = pageKeyAt(0); first && place.CurrentPageIndex > 1)
            around.push_back(*first);
    }
    readAhead_->prepare(pageView(), shown, around);
}

void BookForm::showPlaced(ImageControl& image, const Picture& picture, const shown::Placement& p) {
    image.setStretch(false);
    image.setPicture(picture);
    view.WidthRatio = p.widthRatio;
    view.HeightRatio = p.heightRatio;
    view.PageScale = p.scale;
    view.PageWidth = p.width;
    view.PageHeight = p.height;
    // The control keeps its sizes as Singles.
    image.setWidth(static_cast<float>(p.width));
    image.setHeight(static_cast<float>(p.height));
    image.setStretch(true);
}

void BookForm::CARICOPAG() {
    const QString failure = unreadablePage(loadingLabel(*this), place.ArchivePath);
    const Picture read = readEntryPicture(place.ArchivePath, failure);
    // Decoded here at the size it will be drawn, so painting reuses this decode.
    const shown::Placement placement =
        shown::fitted(read.naturalTwips(), viewingArea(), Image1->Top());
    const Picture picture = readyPicture(read, placement.pixels);
    if (picture.scaled(placement.pixels).isNull())
        throw PageUnreadable(failure);
    writeWorkImage();

    showPlaced(*Image1, picture, placement); // the bytes just written to the working image
    Image1->setLeft(placement.left);
    readAround();
}

} // namespace cvx
