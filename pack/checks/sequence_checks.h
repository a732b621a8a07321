// The checks of book_checks.cpp that follow a sequence: of the labels a reader types, and of the
// numbers in the scans' file names.
#pragma once

#include "pack/checks/book_checks.h"

namespace cvx::pack {

// Labels no typed number reaches, found with the viewer's own lookup rules: the typed number
// opens another book, or another page; and books of openings whose lookup misses their labels.
void checkTypedNumbers(const QList<CheckedBook>& books, QList<Finding>& out);

// Scans missing, doubled or out of order in a book whose file names all carry a number in the
// same place ("IMG_0041.jpg", "012r.tif").
void checkFileNames(const CheckedBook& book, int b, QList<Finding>& out);

} // namespace cvx::pack
