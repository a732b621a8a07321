// Loading the current page and fitting it into the viewing area. Everything that can fail is
// checked before anything shown changes, so a page that cannot be shown leaves the previous
// page on the screen and in the working image. A decode read ahead is used only when it was
// made from the very bytes just restored, at the very size shown.
#include "app/bookform.h"

#include "archive/archive_layout.h"
#include "archive/entry_restore.h"
#include "display/fit_geometry.h"
#include "platform/files.h"

#include <QDir>

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

PageView BookForm::pageView() const {
    return {ProgramFolder, SCHERMO->Width(), SCHERMO->Height(),
            Image1->widget()->devicePixelRatioF(), view.Magnified == True};
}

Picture BookForm::readyPicture(const Picture& read, QSize pixels) {
    const PageKey key = shownPageKey();
    const Picture ready = readAhead_->take(key, read.bytes(), pixels);
    if (!ready.isNull())
        return ready;
    if (!read.scaled(pixels).isNull())
        readAhead_->keep(pageView(), key, read, pixels);
    return read;
}

std::optional<PageKey> BookForm::pageKeyAt(int index) const {
    if (index < 0 || index >= List2.ListCount())
        return std::nullopt;
    const archive::SlotFields fields = archive::splitSlotText(List2.List(index));
    const auto entry = archive::entryLocation(fields.offsetText, fields.lengthText);
    if (!entry)
        return std::nullopt;
    return PageKey{underRoot(ProgramFolder, place.ArchivePath), entry->position, entry->length};
}

std::optional<PageKey> BookForm::nextBookFirstPage() const {
    const int book = Combo2->ListIndex() + 1;
    if (book <= 0 || book >= File2.ListCount() || book >= Combo2->ListCount())
        return std::nullopt;
    // Its first directory slot, as the book's activation reads it.
    const QString path = underRoot(ProgramFolder, File2.List(book));
    const files::Read slot = files::readAt(path, archive::kFirstSlotText, archive::kSlotTextLength);
    if (slot.status != files::Status::Ok || slot.data.size() != archive::kSlotTextLength)
        return std::nullopt;
    const QString text = trimBlanks(fromSingleByte(slot.data));
    if (archive::endsDirectory(text))
        return std::nullopt;
    const archive::SlotFields fields = archive::splitSlotText(text);
    const auto entry = archive::entryLocation(fields.offsetText, fields.lengthText);
    if (!entry)
        return std::nullopt;
    return PageKey{path, entry->position, entry->length};
}

void BookForm::readAround() {
    const PageKey shown = shownPageKey();
    std::vector<PageKey> around;
    // Only a page of the current book's list has neighbours to read.
    if (!shown.archive.isEmpty() && pageKeyAt(place.CurrentPageIndex) == shown) {
        if (const auto next = pageKeyAt(place.CurrentPageIndex + 1))
            around.push_back(*next);
        else if (const auto first = nextBookFirstPage())
            around.push_back(*first);
        if (const auto previous = pageKeyAt(place.CurrentPageIndex - 1))
            around.push_back(*previous);
        // A typed page number opens its book at the first page on the way to the page asked.
        if (const auto first = pageKeyAt(0); first && place.CurrentPageIndex > 1)
            around.push_back(*first);
    }
    readAhead_->prepare(pageView(), shown, around);
}

void BookForm::showFitted(ImageControl& image, const Picture& picture, const fit::Fit& f) {
    image.setStretch(false);
    image.setPicture(picture);
    view.WidthRatio = f.widthRatio;
    view.HeightRatio = f.heightRatio;
    view.PageScale = f.scale;
    view.PageWidth = f.width;
    view.PageHeight = f.height;
    // The control keeps its sizes as Singles.
    image.setWidth(static_cast<float>(f.width));
    image.setHeight(static_cast<float>(f.height));
    image.setStretch(true);
}

void BookForm::CARICOPAG() {
    const QString failure = unreadablePage(loadingLabel(*this), place.ArchivePath);
    const Picture read = readEntryPicture(place.ArchivePath, failure);
    const fit::Fit f =
        fit::fitInto(read.naturalTwips(), QSizeF(SCHERMO->Width() - fit::kBorderAllowance,
                                                 SCHERMO->Height() - fit::kBorderAllowance));
    // The control keeps its sizes as Singles.
    const float width = static_cast<float>(f.width);
    const float height = static_cast<float>(f.height);
    // Decoded here at the size it will be drawn, so painting reuses this decode.
    const QSize pixels = Image1->devicePixelsAt(fit::centredLeft(SCHERMO->Width(), width),
                                                Image1->Top(), width, height);
    const Picture picture = readyPicture(read, pixels);
    if (picture.scaled(pixels).isNull())
        throw PageUnreadable(failure);
    writeWorkImage();

    showFitted(*Image1, picture, f); // the bytes just written to the working image
    Image1->setLeft(fit::centredLeft(SCHERMO->Width(), Image1->Width()));
    readAround();
}

} // namespace cvx
