// The overview: a book's pages as a grid of thumbnails by their labels, over the viewing area.
// It only looks: the reading place, the working image and the bookmark change when a page is
// opened from it, by the same procedures as a pick in the selectors, and not before.
#include "app/bookform.h"

#include "archive/book_records.h"
#include "archive/label_rules.h"
#include "navigation/key_codes.h"

namespace cvx {

std::vector<PageKey> BookForm::bookPages(int book, QStringList* labels) const {
    QString path;
    const QStringList slotTexts = bookDirectory(book, true, &path);
    labels->clear();
    if (slotTexts.isEmpty())
        return {};
    const books::Numbering n = books::numberingOf(List1.List(book));
    *labels = labels::pageLabels(n.kind, n.side, n.firstNumber, slotTexts);
    std::vector<PageKey> pages;
    for (const QString& text : slotTexts)
        pages.push_back(slotPageKey(path, text).value_or(PageKey{}));
    return pages;
}

void BookForm::openOverview() {
    endZoom();
    overview = {true, Combo2->ListIndex()};
    Overview->setGeometry(0, 0, SCHERMO->Width(), SCHERMO->Height());
    Overview->setVisible(true);
    Overview->widget()->raise();
    showOverviewBook(overview.book);
    Overview->widget()->setFocus(Qt::OtherFocusReason);
}

void BookForm::showOverviewBook(int book) {
    QStringList labels;
    const std::vector<PageKey> pages = bookPages(book, &labels);
    overview.book = book;
    // The book being read marks its page; the book selector names the book shown.
    const bool reading = book == Combo2->ListIndex();
    Overview->setPages(labels, reading ? place.CurrentPageIndex : -1);
    if (!reading)
        Combo2->setText(Combo2->List(book));
    thumbnails_->load(pages, Overview->thumbnailSize(), Overview->inView(),
                      [this](int index, const QImage& image) {
                          image.isNull() ? Overview->setDamaged(index)
                                         : Overview->setThumbnail(index, image);
                      });
}

void BookForm::preferInView() {
    const auto [first, last] = Overview->inView();
    thumbnails_->prefer(first, last);
}

void BookForm::backToPage() {
    endZoom();
    closeOverview();
}

void BookForm::closeOverview() {
    if (!overview.open)
        return;
    thumbnails_->stop();
    overview = {};
    Overview->setVisible(false);
    Overview->setPages({}, -1); // the thumbnails' memory goes with them
    Combo2->setText(Combo2->List(Combo2->ListIndex()));
    focusViewingArea();
}

void BookForm::overviewBook(int step) {
    const int books = Combo2->ListCount();
    if (books > 0)
        showOverviewBook(((overview.book + step) % books + books) % books);
}

void BookForm::openFromOverview(int page) {
    const int book = overview.book;
    closeOverview();
    // As a pick of the book and then of the page in the selectors.
    if (book != Combo2->ListIndex()) {
        Combo2->setListIndex(book);
        if (Combo2->ListIndex() != book)
            return; // the book could not be opened: its message is shown
    }
    Combo1->setListIndex(page);
}

bool BookForm::overviewKey(std::int16_t keyCode, bool shift) {
    switch (keyCode) {
    case keys::Escape: // the closing panel is not opened from the overview
    case keys::F5:
        closeOverview();
        return true;
    case keys::Tab:
    case keys::F1: // another book's pages
        overviewBook(shift ? -1 : 1);
        return true;
    case keys::Shift: // held for Shift+Tab: the magnifier waits for the page
    case keys::Enter: // Enter and the keys that move the highlight: the grid's own
    case keys::PageUp:
    case keys::PageDown:
    case keys::End:
    case keys::Home:
    case keys::Left:
    case keys::Up:
    case keys::Right:
    case keys::Down:
        return true;
    default:
        // Any other command closes the overview first; other keys do nothing there.
        return !keys::isCommand(keyCode);
    }
}

} // namespace cvx
