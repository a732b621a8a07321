// Binary layout of a book archive.
#include "archive/archive_layout.h"

#include "app/text_rules.h"

namespace cvx::archive {

bool endsDirectory(const QString& trimmedSlotText) {
    return trimmedSlotText.isEmpty() || trimmedSlotText.front() == QChar(0);
}

QStringList directorySlots(const QByteArray& directory) {
    QStringList texts;
    for (int i = 0; i < kMaxEntries; ++i) {
        QString text = fromSingleByte(directory.mid(i * kSlotStride, kSlotTextLength));
        text = trimBlanks(text + QString(kSlotTextLength - text.size(), QLatin1Char(' ')));
        if (endsDirectory(text))
            break;
        texts << text;
    }
    return texts;
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

QByteArray terminatingSlot() {
    return QByteArray(kSlotStride, '\0');
}

namespace {
// Value of a text of decimal digits within 32 bits; nullopt for anything else.
std::optional<qint64> plainNumber(const QString& text) {
    const QString digits = trimBlanks(text);
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const qint64 value = digits.toLongLong();
    return value <= kMaxPosition ? std::optional<qint64>(value) : std::nullopt;
}
} // namespace

std::optional<EntryLocation> entryLocation(const QString& offsetText, const QString& lengthText) {
    const auto position = plainNumber(offsetText);
    const auto length = plainNumber(lengthText);
    if (!position || !length || *position < 1)
        return std::nullopt;
    return EntryLocation{*position, *length};
}

bool insideArchive(const EntryLocation& entry, qint64 archiveLength) {
    return entry.position - 1 + entry.length <= archiveLength;
}

} // namespace cvx::archive
