// Page labels computed from a directory entry's sequence number k and the book's numbering
// fields, and the inverse rules used to find a page from a label.
#pragma once

#include <QString>
#include <QStringList>

namespace cvx::labels {

enum Kind { Sheets = 0, Pages = 1, Openings = 2 };

// True when the side letter means "first page on the right" ("D" after upper-casing).
[[nodiscard]] bool firstOnRight(const QString& side);

// The number a label shows for entry k (k >= 1): the sheet number for sheets, the page number
// for pages, the odd (first page on the right) or even page number for openings. 0 for an
// unknown kind.
[[nodiscard]] int labelNumber(int kind, const QString& side, int firstNumber, int k);

// Label of entry k: "0007" for pages, "007s"/"007d" for sheets, "0005" for openings.
// Empty for an unknown kind.
[[nodiscard]] QString pageLabel(int kind, const QString& side, int firstNumber, int k);

// The labels of a book's pages, one per directory slot text, as its page selector lists them;
// none for an unknown kind.
[[nodiscard]] QStringList pageLabels(int kind, const QString& side, int firstNumber,
                                     const QStringList& slotTexts);

// Sequence number k of the sheet side named by sheet number v and side letter ('s', 'd', or
// anything else, read as 's'), in a book whose first sheet is firstNumber.
[[nodiscard]] double sheetSequence(const QString& side, int firstNumber, double v, QChar letter);

// The opening number a typed or shown page number n stands for: n made odd (first page on the
// right) or even (on the left) by adding 1.
[[nodiscard]] int openingNumber(const QString& side, int n);

} // namespace cvx::labels
