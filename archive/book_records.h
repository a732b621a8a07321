// Book records as the archive side reads them: the numbering fields of a record, and the record
// of the book a selector names.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace cvx::books {

struct Numbering {
    std::int16_t kind = 0;        // column 51: 0 sheets, 1 pages, 2 openings
    QString side;                 // column 52: "D" (any case) = first page on the right
    std::int16_t firstNumber = 0; // columns 53-58
};

// The numbering fields of a record (columns 51-58). Throws RuntimeError ("Overflow") when the
// first number does not fit 16 bits.
[[nodiscard]] Numbering numberingOf(const QString& record);

// Index of the record whose label (columns 1-49, blanks trimmed) equals `label` (trimmed) under
// `cs`: `preferred` when its own record matches, since two books may share a label, otherwise
// the first record that matches; -1 when none does.
[[nodiscard]] int findRecord(const QStringList& records, const QString& label, int preferred,
                             Qt::CaseSensitivity cs);

} // namespace cvx::books
