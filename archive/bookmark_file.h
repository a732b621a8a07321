// The bookmark file's text read as the list input of its home system: items separated by commas
// or line ends, surrounding blanks ignored, quoted items taken without their quotes.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace cvx::bookmark {

// Every item of `text`, in order. Line ends are CR, LF or CR LF; a line end or comma right
// after another separator gives an empty item; blanks and tabs around an item are dropped.
[[nodiscard]] QStringList listItems(const QString& text);

struct Place {
    QString book; // the first value, as text
    QString page; // the second value, as text
};

// The first two values of a bookmark's text; nullopt when it holds fewer than two.
[[nodiscard]] std::optional<Place> readPlace(const QString& text);

} // namespace cvx::bookmark
