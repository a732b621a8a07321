// The reading place: everything that says which book and page are current and how the page is
// shown. An event that fails to show a page puts it back as it was before the event.
#include "app/bookform.h"

#include "platform/files.h"

namespace cvx {

struct BookForm::ReadingPlace {
    QString archivePath, entryName, pageOffset, pageLength, firstSide, pageLabel;
    std::int16_t numberingKind, firstNumber, currentPageIndex, pageNumber, panStep;
    int currentBookIndex;
    Flag magnified;
    QStringList pageRecords, pageLabels, bookLabels;
    int pageIndex, bookIndex;
    QString pageText, bookText, panCaption;
    double left, top, width, height, pageWidth, pageHeight;
    float widthRatio, heightRatio, pageScale;
    bool pageVisible, instructionsVisible;
    std::array<bool, 8> zonesEnabled;
    Picture picture; // the page shown, as the working image holds it
    bool stretch;
};

std::shared_ptr<BookForm::ReadingPlace> BookForm::saveReadingPlace() const {
    auto p = std::make_shared<ReadingPlace>();
    p->archivePath = ArchivePath;
    p->entryName = EntryName;
    p->pageOffset = PageOffset;
    p->pageLength = PageLength;
    p->firstSide = FirstSide;
    p->pageLabel = PageLabel;
    p->numberingKind = NumberingKind;
    p->firstNumber = FirstNumber;
    p->currentPageIndex = CurrentPageIndex;
    p->pageNumber = PageNumber;
    p->panStep = PanStep;
    p->currentBookIndex = CurrentBookIndex;
    p->magnified = Magnified;
    p->pageRecords = List2.items();
    p->pageLabels = Combo1->items();
    p->bookLabels = Combo2->items();
    p->pageIndex = Combo1->ListIndex();
    p->bookIndex = Combo2->ListIndex();
    // The selector shows the page on the screen again, not what was typed before the event.
    p->pageText = CurrentPageIndex >= 0 && CurrentPageIndex < Combo1->ListCount()
                      ? Combo1->List(CurrentPageIndex)
                      : Combo1->Text();
    p->bookText = Combo2->Text();
    p->panCaption = Label8->Caption();
    p->left = Image1->Left();
    p->top = Image1->Top();
    p->width = Image1->Width();
    p->height = Image1->Height();
    p->pageWidth = PageWidth;
    p->pageHeight = PageHeight;
    p->widthRatio = WidthRatio;
    p->heightRatio = HeightRatio;
    p->pageScale = PageScale;
    p->pageVisible = Image1->Visible();
    p->instructionsVisible = Picture1->Visible();
    for (int i = 0; i < 8; ++i)
        p->zonesEnabled[i] = Image8[i]->Enabled();
    p->picture = Image1->picture();
    p->stretch = Image1->Stretch();
    return p;
}

void BookForm::restoreReadingPlace(const ReadingPlace& p) {
    ArchivePath = p.archivePath;
    EntryName = p.entryName;
    PageOffset = p.pageOffset;
    PageLength = p.pageLength;
    FirstSide = p.firstSide;
    PageLabel = p.pageLabel;
    NumberingKind = p.numberingKind;
    FirstNumber = p.firstNumber;
    CurrentPageIndex = p.currentPageIndex;
    PageNumber = p.pageNumber;
    PanStep = p.panStep;
    CurrentBookIndex = p.currentBookIndex;
    Magnified = p.magnified;
    List2.setItems(p.pageRecords);
    Combo1->restore(p.pageLabels, p.pageIndex, p.pageText);
    Combo2->restore(p.bookLabels, p.bookIndex, p.bookText);
    Label8->setCaption(p.panCaption);
    // An event may have shown another page before it failed (a change of book shows the
    // book's first page on the way): the page it showed before comes back, here and in the
    // working image.
    if (p.picture.bytes() != Image1->picture().bytes()) {
        Image1->setPicture(p.picture);
        if (files::replaceAtomically(WorkImagePath, p.picture.bytes()).ok())
            workImageHeld_ = p.picture.bytes();
        else
            workImageHeld_.reset(); // unknown now: read from the file before the next write
    }
    Image1->setStretch(p.stretch);
    Image1->setGeometry(p.left, p.top, p.width, p.height);
    PageWidth = p.pageWidth;
    PageHeight = p.pageHeight;
    WidthRatio = p.widthRatio;
    HeightRatio = p.heightRatio;
    PageScale = p.pageScale;
    for (int i = 0; i < 8; ++i)
        Image8[i]->setEnabled(p.zonesEnabled[i]);
    IMMAGIN8();
    Image5->setVisible(false);
    Image6->setVisible(false);
    Picture1->setVisible(p.instructionsVisible);
    Image1->setVisible(p.pageVisible);
}

} // namespace cvx
