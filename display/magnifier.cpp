// Magnifying and reducing the page: both reload the working image and place it afresh. A
// decode read ahead is used only when it was made from the very bytes of the working image.
#include "app/bookform.h"

#include "display/fit_geometry.h"
#include "display/magnify_geometry.h"

namespace cvx {

namespace {
enum class View { Magnified, Reduced };

struct WorkImage {
    Picture page;
    magnify::Fit fit;
};

// The working image and its size in `view`, decoded at the size it is about to be shown (the
// control then paints that same decode, never an enlarged smaller one) by `ready`. Throws
// PageUnreadable before anything on screen has changed, so the page shown before stays.
WorkImage workImage(const BookForm& form, View view,
                    const std::function<Picture(const Picture&, QSize)>& ready) {
    QString error;
    const Picture loaded = Picture::load(form.WorkImagePath, &error);
    if (loaded.isNull())
        throw PageUnreadable(error);
    const QSizeF natural = loaded.naturalTwips();
    const double areaWidth = form.SCHERMO->Width();
    const double areaHeight = form.SCHERMO->Height();
    const magnify::Fit fit =
        view == View::Magnified
            ? magnify::magnified(natural.width(), natural.height(), areaWidth, areaHeight)
            : magnify::reduced(natural.width(), natural.height(), areaWidth, areaHeight);
    const auto width = static_cast<float>(fit.pageWidth);
    const auto height = static_cast<float>(fit.pageHeight);
    const double top =
        view == View::Magnified ? magnify::kMagnifiedTop : magnify::restingTop(areaHeight, height);
    const QSize shown =
        form.Image1->devicePixelsAt(fit::centredLeft(areaWidth, width), top, width, height);
    const Picture page = ready(loaded, shown);
    if (page.scaled(shown).isNull())
        throw PageUnreadable(QStringLiteral("L'IMMAGINE %1 E' DANNEGGIATA E NON SI PUO' MOSTRARE")
                                 .arg(form.WorkImagePath));
    return {page, fit};
}

// The picture at its natural size first, then at the chosen size, with the fit recorded.
void takeSize(BookForm& f, const WorkImage& image) {
    f.Image1->setStretch(false);
    f.Image1->setPicture(image.page);
    f.view.WidthRatio = image.fit.widthRatio;
    f.view.HeightRatio = image.fit.heightRatio;
    f.view.PageScale = image.fit.pageScale;
    f.view.PageWidth = image.fit.pageWidth;
    f.view.PageHeight = image.fit.pageHeight;
    f.Image1->setWidth(static_cast<float>(f.view.PageWidth));
    f.Image1->setHeight(static_cast<float>(f.view.PageHeight));
}
} // namespace

void BookForm::LENTE1() {
    const WorkImage image = workImage(
        *this, View::Magnified, [this](const Picture& p, QSize s) { return readyPicture(p, s); });
    Image1->setVisible(false);
    takeSize(*this, image);
    Image8[2]->setEnabled(true);
    Image8[3]->setEnabled(false);
    Image8[5]->setEnabled(true);
    Image8[4]->setEnabled(false);
    Image1->setStretch(true);
    Image1->setLeft(fit::centredLeft(SCHERMO->Width(), Image1->Width()));
    Image1->setTop(magnify::kMagnifiedTop);
    IMMAGIN8();
    Image1->setVisible(true);
    readAround();
}

void BookForm::LENTE0() {
    const WorkImage image = workImage(
        *this, View::Reduced, [this](const Picture& p, QSize s) { return readyPicture(p, s); });
    Image1->setVisible(false);
    takeSize(*this, image);
    Image8[2]->setEnabled(false);
    Image8[3]->setEnabled(false);
    Image8[5]->setEnabled(false);
    Image8[4]->setEnabled(true);
    Image1->setStretch(true);
    // The page rests on the lower edge of the viewing area, free space above it.
    Image1->setLeft(fit::centredLeft(SCHERMO->Width(), Image1->Width()));
    Image1->setTop(magnify::restingTop(SCHERMO->Height(), Image1->Height()));
    IMMAGIN8();
    Image1->setVisible(true);
    readAround();
}

} // namespace cvx
