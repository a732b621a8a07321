// Loading the current page and fitting it into the viewing area. Everything that can fail is
// checked before anything shown changes, so a page that cannot be shown leaves the previous
// page on the screen and in the working image.
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
    const QString listed = f.Combo1->List(f.CurrentPageIndex);
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
    const auto entry = archive::entryLocation(PageOffset, PageLength);
    const files::Length archiveLength = files::lengthOf(path);
    if (!entry || entry->length < archive::kMinEntryLength ||
        archiveLength.status != files::Status::Ok ||
        !archive::insideArchive(*entry, archiveLength.length))
        throw PageUnreadable(failure);
    const files::Read read = files::readAt(path, entry->position, entry->length);
    if (read.status != files::Status::Ok || read.data.size() != entry->length)
        throw PageUnreadable(failure);
    PageData = read.data;
    DECDPAG();
    Picture picture = Picture::fromBytes(PageData, WorkImagePath, nullptr);
    if (picture.isNull())
        throw PageUnreadable(failure);
    return picture;
}

void BookForm::writeWorkImage() {
    // Replaced whole, so the file holds the old page or the new one, never a mixture, and no
    // tail of a longer page stays behind a shorter one.
    if (!files::replaceAtomically(WorkImagePath, PageData).ok())
        throw PageUnreadable(QStringLiteral("IMPOSSIBILE SCRIVERE IL FILE ") +
                             QDir::toNativeSeparators(WorkImagePath));
}

void BookForm::CARICOPAG() {
    const QString failure = unreadablePage(loadingLabel(*this), ArchivePath);
    const Picture picture = readEntryPicture(ArchivePath, failure);
    const fit::Fit f =
        fit::fitInto(picture.naturalTwips(), QSizeF(SCHERMO->Width() - fit::kBorderAllowance,
                                                    SCHERMO->Height() - fit::kBorderAllowance));
    // The control keeps its sizes as Singles.
    const float width = static_cast<float>(f.width);
    const float height = static_cast<float>(f.height);
    // Decoded here at the size it will be drawn, so painting reuses this decode.
    const QSize pixels = Image1->devicePixelsAt(fit::centredLeft(SCHERMO->Width(), width),
                                                Image1->Top(), width, height);
    if (picture.scaled(pixels).isNull())
        throw PageUnreadable(failure);
    writeWorkImage();

    Image1->setStretch(false);
    Image1->setPicture(picture); // the bytes just written to the working image
    WidthRatio = f.widthRatio;
    HeightRatio = f.heightRatio;
    PageScale = f.scale;
    PageWidth = f.width;
    PageHeight = f.height;
    Image1->setWidth(width);
    Image1->setHeight(height);
    Image1->setStretch(true);
    Image1->setLeft(fit::centredLeft(SCHERMO->Width(), Image1->Width()));
}

} // namespace cvx
