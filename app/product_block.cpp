// Binary layout of the product data block.
#include "app/product_block.h"

#include "app/text_rules.h"

#include <QtEndian>

namespace cvx::block {

std::optional<QByteArray> decodeStringRecord(const QByteArray& slot) {
    if (slot.size() < 4)
        return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(slot.constData());
    const quint16 type = qFromLittleEndian<quint16>(p);
    const quint16 n = qFromLittleEndian<quint16>(p + 2);
    if (type != 8 || n > kMaxRecordChars || slot.size() < 4 + n)
        return std::nullopt;
    return slot.mid(4, n);
}

QByteArray encodeStringRecord(const QByteArray& chars) {
    QByteArray slot(kSlotSize, '\0');
    auto* p = reinterpret_cast<uchar*>(slot.data());
    qToLittleEndian<quint16>(8, p);
    qToLittleEndian<quint16>(static_cast<quint16>(chars.size()), p + 2);
    slot.replace(4, chars.size(), chars);
    return slot;
}

BookRecordFields splitBookRecord(const QString& record) {
    BookRecordFields f;
    f.label = trimBlanks(columns(record, 1, kBookLabelLength));
    f.numberingKind = static_cast<int>(numericValue(columns(record, 51, 1)));
    f.firstSide = columns(record, 52, 1);
    f.firstNumber = numericValue(columns(record, 53, 6));
    return f;
}

QString makeBookRecord(const QString& label, int kind, QChar side, int firstNumber) {
    return label.leftJustified(kBookLabelLength, QLatin1Char(' '), true) + QLatin1Char(' ') +
           QString::number(kind) + side +
           QStringLiteral("%1").arg(firstNumber, 6, 10, QLatin1Char('0')) + QLatin1Char('*') +
           QChar(0);
}

bool usableFolderName(const QString& name) {
    if (name.size() != kWorkFolderNameLength || trimBlanks(name).isEmpty())
        return false;
    const QString trimmed = trimBlanks(name);
    if (trimmed == QLatin1String(".") || trimmed == QLatin1String(".."))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    return true;
}

namespace {
QByteArray textSlot(const QString& text, bool withNul) {
    QByteArray chars = toSingleByte(text);
    if (withNul)
        chars += '\0';
    return encodeStringRecord(chars);
}
} // namespace

std::optional<QByteArray> buildBlock(const ProductData& data, qint64 exeLength) {
    const qint64 base = exeLength + 1 + kGridBeforeBase;
    if (base > kMaxBase)
        return std::nullopt;
    QByteArray grid;
    grid.reserve((kWorkFolderSlot + 1) * kSlotSize);
    auto put = [&](int slot, const QByteArray& bytes) {
        grid.resize(slot * kSlotSize, '\0');
        grid += bytes;
    };
    put(0, encodeStringRecord("CARTAVOX1"));
    put(1, textSlot(data.coverArchiveCode, false));
    put(2, textSlot(QString::number(data.coverEntryNumber), true));
    const QString heads[] = {data.title, data.secondLine, data.publisher, data.place, data.year};
    for (int i = 0; i < 5; ++i)
        put(3 + i, textSlot(heads[i], true));
    for (int i = 0; i < data.bookRecords.size(); ++i)
        put(kFirstBookSlot + i, encodeStringRecord(toSingleByte(data.bookRecords[i])));
    put(kWorkFolderSlot, textSlot(data.workFolderName, true));

    // The base record follows slot 410; the block then ends 8048 bytes after its digits.
    QByteArray baseChars = QByteArray::number(base).rightJustified(8, '0');
    QByteArray block = grid + encodeStringRecord(baseChars).left(kBaseReadLength + 4);
    const qint64 digitsPos = exeLength + block.size() - kBaseReadLength + 1; // 1-based
    const qint64 total = digitsPos + kBaseFromEnd;
    block.resize(total - exeLength, '\0');
    return block;
}

} // namespace cvx::block
