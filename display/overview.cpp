// The overview of a book's pages (F5).
#include "display/overview.h"

#include "app/bookform.h"
#include "archive/book_records.h"
#include "archive/label_rules.h"
#include "navigation/key_codes.h"
#include "platform/page_grid.h"
#include "platform/thumbnail.h"

#include <algorithm>

namespace cvx {

std::pair<int, int> keptTiles(std::pair<int, int> inView, int count) {
    const auto [first, last] = inView;
    if (first < 0 || last < first || count <= 0)
        return {-1, -1};
    const int span = last - first + 1;
    return {std::max(0, first - span), std::min(count - 1, last + span)};
}

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

void BookForm::backToPage() {
    endZoom();
    overview_->close();
    facing_->leave();
}

void PageOverview::open() {
    form_.endZoom();
    open_ = true;
    grid_.setGeometry(0, 0, form_.SCHERMO->Width(), form_.SCHERMO->Height());
    grid_.setVisible(true);
    grid_.widget()->raise();
    showBook(form_.Combo2->ListIndex());
    grid_.widget()->setFocus(Qt::OtherFocusReason);
}

void PageOverview::showBook(int book) {
    QStringList labels;
    pages_ = form_.bookPages(book, &labels);
    kept_.assign(pages_.size(), false);
    book_ = book;
    thumbnails_.load(pages_, grid_.thumbnailSize(), [this](int index, const QImage& image) {
        if (!kept_[static_cast<std::size_t>(index)])
            return; // scrolled far out of view meanwhile
        image.isNull() ? grid_.setDamaged(index) : grid_.setThumbnail(index, image);
    });
    // The book being read marks its page; the book selector names the book shown.
    const bool reading = book == form_.Combo2->ListIndex();
    grid_.setPages(labels, reading ? form_.place.CurrentPageIndex : -1);
    if (!reading)
        form_.Combo2->setText(form_.Combo2->List(book));
    followView();
}

void PageOverview::followView() {
    if (!open_)
        return;
    const std::pair<int, int> view = grid_.inView();
    const auto [first, last] = keptTiles(view, static_cast<int>(pages_.size()));
    std::vector<int> wanted;
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
        const bool keep = i >= first && i <= last;
        if (!keep && kept_[static_cast<std::size_t>(i)])
            grid_.setPlain(i);
        kept_[static_cast<std::size_t>(i)] = keep;
        if (keep && grid_.tile(i) == PageGrid::Tile::Plain)
            wanted.push_back(i);
    }
    // The tiles in view first, the rest in order.
    std::stable_partition(wanted.begin(), wanted.end(),
                          [&](int i) { return i >= view.first && i <= view.second; });
    thumbnails_.want(wanted);
}

void PageOverview::close() {
    if (!open_)
        return;
    thumbnails_.stop();
    open_ = false;
    grid_.setVisible(false);
    grid_.setPages({}, -1); // the thumbnails' memory goes with them
    pages_.clear();
    kept_.clear();
    returnFreedMemory();
    form_.Combo2->setText(form_.Combo2->List(form_.Combo2->ListIndex()));
    form_.focusViewingArea();
}

void PageOverview::openPage(int page) {
    const int book = book_;
    close();
    // As a pick of the book and then of the page in the selectors.
    if (book != form_.Combo2->ListIndex()) {
        form_.Combo2->setListIndex(book);
        if (form_.Combo2->ListIndex() != book)
            return; // the book could not be opened: its message is shown
    }
    form_.Combo1->setListIndex(page);
}

bool PageOverview::key(std::int16_t keyCode) {
    switch (keyCode) {
    case keys::Escape: // the closing panel is not opened from the overview
    case keys::F5:
        close();
        return true;
    case keys::Tab:
    case keys::F1: { // the next book's pages
        const int books = form_.Combo2->ListCount();
        if (books > 0)
            showBook((book_ + 1) % books);
        return true;
    }
    case keys::Enter: // Enter and the keys that move the highlight: the grid's own
    case keys::Plus:  // no zoom of a page nobody sees
    case keys::KeypadPlus:
    case keys::Minus:
    case keys::KeypadMinus:
        return true;
    default:
        return keys::isMovementKey(keyCode);
    }
}

} // namespace cvx
