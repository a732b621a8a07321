// The reading place: everything that says which book and page are current and how the page is
// shown. An event that fails to show a page puts it back as it was before the event.
#include "app/bookform.h"

#include "platform/files.h"

namespace cvx {

struct BookForm::ReadingPlace {
    Place place;                        // the current book and page
    Presentation view;                  // the page's fit, magnifier and pan
    QStringList pageRecords;            // List2
    Selector::State pages, books;       // Combo1, Combo2
    QString panCaption;                 // Label8
    ImageControl::State page;           // Image1: the page shown, as the working image holds it
    bool instructionsVisible = false;   // Picture1
    std::array<bool, 8> zonesEnabled{}; // Image8
};

std::shared_ptr<BookForm::ReadingPlace> BookForm::saveReadingPlace() const {
    auto p = std::make_shared<ReadingPlace>(ReadingPlace{place,
                                                         view,
                                                         List2.items(),
                                                         Combo1->state(),
                                                         Combo2->state(),
                                                         Label8->Caption(),
                                                         Image1->state(),
                                                         Picture1->Visible(),
                                                         {}});
    // The selector shows the page on the screen again, not what was typed before the event.
    if (place.CurrentPageIndex >= 0 && place.CurrentPageIndex < Combo1->ListCount())
        p->pages.text = Combo1->List(place.CurrentPageIndex);
    for (int i = 0; i < 8; ++i)
        p->zonesEnabled[i] = Image8[i]->Enabled();
    return p;
}

void BookForm::restoreReadingPlace(const ReadingPlace& p) {
    place = p.place;
    view = p.view;
    List2.setItems(p.pageRecords);
    Combo1->restore(p.pages);
    Combo2->restore(p.books);
    Label8->setCaption(p.panCaption);
    // An event may have shown another page before it failed (a change of book shows the
    // book's first page on the way): the page it showed before comes back, here and in the
    // working image.
    if (p.page.picture.bytes() != Image1->picture().bytes()) {
        if (files::replaceAtomically(WorkImagePath, p.page.picture.bytes()).ok())
            workImageHeld_ = p.page.picture.bytes();
        else
            workImageHeld_.reset(); // unknown now: read from the file before the next write
    }
    Image1->restore(p.page);
    for (int i = 0; i < 8; ++i)
        Image8[i]->setEnabled(p.zonesEnabled[i]);
    IMMAGIN8();
    Image5->setVisible(false);
    Image6->setVisible(false);
    Picture1->setVisible(p.instructionsVisible);
    Image1->setVisible(p.page.visible);
}

} // namespace cvx
