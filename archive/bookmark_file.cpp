// Reading the bookmark file's values.
#include "archive/bookmark_file.h"

namespace cvx::bookmark {

namespace {
bool separator(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
bool blank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// One item starting at `i` (blanks already skipped); leaves `i` on its separator or the end.
QString itemAt(const QString& text, qsizetype& i) {
    const qsizetype n = text.size();
    QString item;
    if (text[i] == QLatin1Char('"')) {
        for (++i; i < n && text[i] != QLatin1Char('"'); ++i)
            item += text[i];
        while (i < n && !separator(text[i])) // the closing quote and anything up to the separator
            ++i;
        return item;
    }
    for (; i < n && !separator(text[i]); ++i)
        item += text[i];
    while (!item.isEmpty() && blank(item.back()))
        item.chop(1);
    return item;
}
} // namespace

QStringList listItems(const QString& text) {
    QStringList items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && blank(text[i]))
            ++i;
        if (i == n)
            break;
        items << itemAt(text, i);
        if (i < n && text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        ++i; // past the separator
    }
    return items;
}

std::optional<Place> readPlace(const QString& text) {
    const QStringList items = listItems(text);
    if (items.size() < 2)
        return std::nullopt;
    return Place{items[0], items[1]};
}

} // namespace cvx::bookmark
