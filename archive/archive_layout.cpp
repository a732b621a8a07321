// Binary layout of a book archive.
#include "archive/archive_layout.h"

#include "app/text_rules.h"

namespace cvx::archive {

bool endsDirectory(const QString& trimmedSlotText) {
    return trimmedSlotText.isEmpty() || trimmedSlotText.front() == QChar(0);
}

SlotFields splitSlotText(const QString& slotText) {
    return {columns(slotText, 1, 5), columns(slotText, 6, 10), columns(slotText, 16, 7)};
}

int sequenceNumber(const QString& slotText) {
    return static_cast<int>(numericValue(columns(slotText, 2, 4)));
}

QString makeSlotText(QChar letter, int k, qint64 position, qint64 length) {
    return letter + QStringLiteral("%1").arg(k, 4, 10, QLatin1Char('0')) +
           QStringLiteral("%1").arg(position, 10, 10, QLatin1Char('0')) +
           QStringLiteral("%1").arg(length, 7, 10, QLatin1Char('0'));
}

QByteArray makeSlot(const QString& slotText) {
    return QByteArray(4, ' ') + slotText.toLatin1().leftJustified(kSlotTextLength, ' ', true);
}

QByteArray terminatingSlot() { return QByteArray(kSlotStride, '\0'); }

} // namespace cvx::archive
