// The overview (F5): a book's pages as a grid of thumbnails by their labels, over the viewing
// area. It only looks: the reading place, the working image and the bookmark change when a page
// is opened from it, by the same procedures as a pick in the selectors, and not before. Only the
// thumbnails of the tiles near the view are kept; closing it gives their memory back.
#pragma once

#include "display/thumbnail_loader.h"

#include <cstdint>
#include <utility>

namespace cvx {

class BookForm;
class PageGrid;

class PageOverview {
  public:
    // The overview of `form`'s books, shown in `grid`.
    PageOverview(BookForm& form, PageGrid& grid) : form_(form), grid_(grid) {}

    [[nodiscard]] bool isOpen() const { return open_; }
    // Shows the current book's pages, the page being read marked, and takes the keyboard.
    void open();
    // Back to the page being read, as it was; nothing when the overview is closed.
    void close();
    // Shows book `book`'s pages (a pick in the book selector while it is open).
    void showBook(int book);
    // A key while it is open: true when the overview took it, false for a key it leaves to the
    // window (which closes it first when the key acts).
    [[nodiscard]] bool key(std::int16_t keyCode);
    // Opens page `page` of the book shown, as picks of the book and the page would.
    void openPage(int page);
    // Keeps the thumbnails of the tiles near the view, decoding the missing ones, those in view
    // first, and drops the others: after every scroll.
    void followView();
    // The thumbnails' decoding.
    [[nodiscard]] ThumbnailLoader& thumbnails() { return thumbnails_; }

  private:
    BookForm& form_;
    PageGrid& grid_;
    bool open_ = false;          // the grid lies over the viewing area
    int book_ = -1;              // the book whose pages it shows
    std::vector<PageKey> pages_; // that book's pages
    std::vector<bool> kept_;     // per page: its thumbnail is shown or being decoded
    ThumbnailLoader thumbnails_; // declared last: stopped before the rest goes
};

// Which tiles keep their thumbnails when tiles `inView` (first and last, -1 for none) of `count`
// are in view: those plus as many again on each side, within the book.
[[nodiscard]] std::pair<int, int> keptTiles(std::pair<int, int> inView, int count);

} // namespace cvx
