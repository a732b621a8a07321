// Finding the page a typed number asks for in the whole volume: which book holds it, which
// label of that book answers it, and where the lookup of an opening ends.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace cvx::lookup {

// The book for a typed number. firstNumbers[i] is book i's first number as the search reads it.
// Books are tried from 1 on; the search stops at the first book whose first number exceeds
// `typed` and takes the book before it, so book 0 is never chosen (except in a one-book volume,
// which has no other) and a number beyond the last book's first number takes the last book.
// -1 for an empty volume.
[[nodiscard]] int bookForNumber(const std::vector<int>& firstNumbers, int typed);

// True when the label whose numeric value is x answers the typed number: x equals it (for
// sheets, the first side listed for that sheet), or for openings is the opening just before
// it (first page on the right) or just after it (first page on the left). False for an
// unknown kind.
[[nodiscard]] bool typedMatches(int kind, const QString& side, double x, int typed);

// The opening number shown after a typed number matched the opening labelled x: with the first
// page on the right the typed number, made odd, wins over a smaller x (typing 4 matches 0003 and
// ends on 0005, the opening that holds page 4); on the left x stands.
[[nodiscard]] int openingAfterTyping(const QString& side, int x, int typed);

// Position among a book's page labels of the page a typed number asks for; the label count when
// no page answers it. An opening found lands on the opening that holds the typed page.
[[nodiscard]] int typedPageIndex(const QStringList& labels, int kind, const QString& side,
                                 int typed);

} // namespace cvx::lookup
