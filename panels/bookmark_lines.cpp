// Bookmark positions and lines.
#include "panels/bookmark_lines.h"

#include "app/text_rules.h"

namespace cvx::bookmark {

int matchingPosition(const QStringList& items, const QString& text) {
    const QString wanted = trimBlanks(text).toUpper();
    int position = 0;
    for (; position < items.size(); ++position)
        if (trimBlanks(items[position]).toUpper() == wanted)
            break;
    return position;
}

QByteArray bookmarkLines(int book, int page) {
    const QString lines = signedNumberText(book) + QStringLiteral("\r\n") + signedNumberText(page) +
                          QStringLiteral("\r\n");
    return lines.toLatin1();
}

} // namespace cvx::bookmark
