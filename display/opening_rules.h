// Which pages of a book face each other, from their labels' numbers: the side of the opening
// each page lies on, the pairs that make the openings, and where each page of an opening is
// shown in the viewing area.
#pragma once

#include "display/shown_geometry.h"

#include <QString>
#include <vector>

namespace cvx::openings {

enum class Side { Left, Right, None };

// A page's opening (the number its left page bears) and its side in it; Side::None for a book
// whose pages are already openings, or an unknown kind.
struct Place {
    int opening = 0;
    Side side = Side::None;
    friend bool operator==(const Place&, const Place&) = default;
};

// The place of entry k (k >= 1) of a book numbered `kind`, `firstSide`, `firstNumber`, by the
// numbers its label is made from (never from the label text, which keeps four characters only).
// Sheets: sheet n's "s" side on the left, its "d" side on the right. Pages: page n on the right
// when n - firstNumber is even (whichever side the book starts on); left page n faces right
// page n + 1.
[[nodiscard]] Place placeOf(int kind, const QString& firstSide, int firstNumber, int k);

// The places of a book's pages, one per directory slot text, in list order.
[[nodiscard]] std::vector<Place> placesOf(int kind, const QString& firstSide, int firstNumber,
                                          const QStringList& slotTexts);

// An opening as list indices: `left` and `right` both set for a pair; a page alone has only the
// index of its own side set. Both -1 for an index outside the list.
struct Opening {
    int left = -1;
    int right = -1;
    [[nodiscard]] int first() const { return left >= 0 ? left : right; }
    [[nodiscard]] int last() const { return right >= 0 ? right : left; }
    [[nodiscard]] bool pair() const { return left >= 0 && right >= 0; }
    friend bool operator==(const Opening&, const Opening&) = default;
};

// The opening of page `index`: a left page with the next entry when that one is the right page
// of the same opening, a right page with the previous entry likewise; any other page alone on
// its own side (a page without a side alone on the left). Never paired by position alone.
[[nodiscard]] Opening openingAt(const std::vector<Place>& places, int index);

// The line where facing pages meet in a viewing area `areaWidth` twips wide: its middle, on a
// whole pixel.
[[nodiscard]] double centreLine(double areaWidth);

// Where a page of `natural` twips lies in the facing view of `area`: fitted into half the area
// less its border, at the top of the area, against the centre line on its side (`right`). Its
// edges lie on whole pixels, so both sides of a turn decode at the same device pixels.
[[nodiscard]] shown::Placement facingPlaced(QSizeF natural, const shown::Area& area, bool right);

} // namespace cvx::openings
