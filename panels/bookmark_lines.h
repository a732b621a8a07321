// The bookmark file's content: the current book and page positions, as the closing panel
// writes them and the start-up sequence reads them back.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace cvx::bookmark {

// Position of the first item equal to `text` once both lose their leading and trailing blanks
// and are upper-cased; the item count (one past the last position) when none matches.
[[nodiscard]] int matchingPosition(const QStringList& items, const QString& text);

// Two lines, book then page, each a number with a sign position (a blank for 0 and above, a
// minus sign below) ended by carriage return and line feed: (0, 3) gives " 0\r\n 3\r\n".
[[nodiscard]] QByteArray bookmarkLines(int book, int page);

} // namespace cvx::bookmark
