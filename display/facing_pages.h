// Facing pages (F6): the current page beside the other page of its opening, paired by the
// numbers of their labels, over the viewing area. Turns go by an opening through the page
// turning procedures; the page selector and the bookmark name the opening's first page in
// reading order (its left page, or the page alone). Any other command of the window shows the
// single page first; the choice holds until F6 again and is kept per volume in its own file in
// the working folder.
#pragma once

#include "display/opening_rules.h"
#include "display/read_ahead.h"
#include "platform/controls.h"
#include "platform/image_control.h"

#include <QColor>
#include <array>
#include <memory>
#include <vector>

namespace cvx {

class BookForm;

class FacingPages {
  public:
    // The view lies in `area`, above the page picture and below the hot zones.
    FacingPages(BookForm& form, QWidget* area, const QColor& background);

    // The reader's choice, as F6 last left it.
    [[nodiscard]] bool chosen() const { return chosen_; }
    // The opening is on the screen.
    [[nodiscard]] bool shown() const { return shown_; }
    // The current book's pages are single pages that face each other (sheets and pages).
    [[nodiscard]] bool applies() const;
    // The arrows, the wheel and the turning zones turn by an opening: chosen, in a book of
    // single pages, the page not magnified.
    [[nodiscard]] bool turnsByOpening() const;

    // F6: shows the current opening, or the single page again; remembered.
    void toggle();
    // Shows the current page's opening when chosen and the book's pages face each other.
    void showCurrent();
    // The single page again, the turning zones back over it; the choice holds.
    void leave();
    // Leaves when the page shown is no longer the opening's (a command that changed the page).
    void follow();
    // One opening forward or back, across books and with their messages, as the page turns.
    void turn(bool forward);

    // The opening of the current page, list indices.
    [[nodiscard]] openings::Opening currentOpening() const;
    // The pages a turn by an opening can show next, nearest first: the current opening's other
    // page, the next opening's, the previous opening's.
    [[nodiscard]] std::vector<PageKey> around() const;
    // "Libro X, pagine L e R" for a pair shown; empty otherwise.
    [[nodiscard]] QString announcement() const;
    // Reads the remembered choice from the working folder and shows the opening if chosen.
    void recall();

    // The left (0) and right (1) page.
    [[nodiscard]] const ImageControl& page(int side) const { return *pages_[side]; }
    [[nodiscard]] ImageControl& page(int side) { return *pages_[side]; }
    [[nodiscard]] PictureBox& view() { return *view_; }

  private:
    [[nodiscard]] std::vector<openings::Place> places() const;
    [[nodiscard]] QString choiceFile() const;
    void remember() const;
    // Page `index` of the current book fitted on its side; false when it cannot be shown.
    bool showPage(int side, int index);
    void placeTurningZones();

    BookForm& form_;
    std::unique_ptr<PictureBox> view_;
    std::array<std::unique_ptr<ImageControl>, 2> pages_; // left, right
    bool chosen_ = false;
    bool shown_ = false;
    openings::Opening opening_; // the opening shown
    int book_ = -1;             // its book
};

} // namespace cvx
