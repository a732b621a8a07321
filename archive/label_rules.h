// Page labels computed from a directory entry's sequence number k and the book's numbering
// fields, and the inverse rules used to find a page from a label.
#pragma once

#include <QString>

namespace cvx::labels {

enum Kind { Sheets = 0, Pages = 1, Openings = 2 };

// True when the side letter means "first page on the right" ("D" after upper-casing).
[[nodiscard]] bool firstOnRight(const QString& side);

// Label of entry k: "0007" for pages, "007s"/"007d" for sheets, "0005" for openings.
// Empty for an unknown kind.
[[nodiscard]] QString pageLabel(int kind, const QString& side, int firstNumber, int k);

} // namespace cvx::labels
