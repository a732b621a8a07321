// Magnifying and reducing the page: both reload the working image and place it afresh. A
// decode read ahead is used only when it was made from the very bytes of the working image.
#include "app/bookform.h"

#include "display/shown_geometry.h"
#include "platform/files.h"

#include <QDir>

namespace cvx {

namespace {
enum class View { Magnified, Reduced };

struct WorkImage {
    Picture page;
    shown::Placement placement;
};

// Another viewer of the same volume writes the same working image: the page this window wrote
// last (`held`) is written again when the file holds anything else, so that it reads its own
// page back. Compared by length first, then byte for byte.
void ownPageInWorkImage(const QString& path, const std::optional<QByteArray>& held) {
    if (!held)
        return;
    const files::Length length = files::lengthOf(path);
    if (length.status == files::Status::Ok && length.length == held->size() &&
        files::readAll(path).data == *held)
        return;
    if (!files::rewriteInPlace(path, *held).ok())
        throw PageUnreadable(QStringLiteral("IMPOSSIBILE SCRIVERE IL FILE ") +
                             QDir::toNativeSeparators(path));
}

// The working image and where it goes in `view`, decoded at the size it is about to be shown
// (the control then paints that same decode, never an enlarged smaller one) by `ready`. Throws
// PageUnreadable before anything on screen has changed, so the page shown before stays.
WorkImage workImage(const BookForm& form, View view,
                    const std::function<Picture(const Picture&, QSize)>& ready) {
    QString error;
    const Picture loaded = Picture::load(form.WorkImagePath, &error);
    if (loaded.isNull())
        throw PageUnreadable(error);
    const shown::Placement placement =
        view == View::Magnified ? shown::magnified(loaded.naturalTwips(), form.viewingArea())
                                : shown::reduced(loaded.naturalTwips(), form.viewingArea());
    const Picture page = ready(loaded, placement.pixels);
    if (page.scaled(placement.pixels).isNull())
        throw PageUnreadable(QStringLiteral("L'IMMAGINE %1 E' DANNEGGIATA E NON SI PUO' MOSTRARE")
                                 .arg(form.WorkImagePath));
    return {page, placement};
}
} // namespace

void BookForm::LENTE1() {
    ownPageInWorkImage(WorkImagePath, workImageHeld_);
    const WorkImage image = workImage(
        *this, View::Magnified, [this](const Picture& p, QSize s) { return readyPicture(p, s); });
    Image1->setVisible(false);
    showPlaced(*Image1, image.page, image.placement);
    Image8[2]->setEnabled(true);
    Image8[3]->setEnabled(false);
    Image8[5]->setEnabled(true);
    Image8[4]->setEnabled(false);
    Image1->Move(image.placement.left, image.placement.top);
    IMMAGIN8();
    Image1->setVisible(true);
    readAround();
}

void BookForm::LENTE0() {
    ownPageInWorkImage(WorkImagePath, workImageHeld_);
    const WorkImage image = workImage(
        *this, View::Reduced, [this](const Picture& p, QSize s) { return readyPicture(p, s); });
    Image1->setVisible(false);
    showPlaced(*Image1, image.page, image.placement);
    Image8[2]->setEnabled(false);
    Image8[3]->setEnabled(false);
    Image8[5]->setEnabled(false);
    Image8[4]->setEnabled(true);
    // The page rests on the lower edge of the viewing area, free space above it.
    Image1->Move(image.placement.left, image.placement.top);
    IMMAGIN8();
    Image1->setVisible(true);
    readAround();
}

} // namespace cvx
