// Binary layout of a book archive: a free header, a directory of up to 401 slots of 26 bytes
// (4 free bytes, then 22 characters: entry letter, 4-digit sequence number, 10-digit 1-based
// position, 7-digit length), then the entries' data.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace cvx::archive {

inline constexpr int kMaxEntries = 401;
inline constexpr qint64 kFirstSlotText = 247; // 1-based position of slot 0's text
inline constexpr qint64 kSlotStride = 26;
inline constexpr int kSlotTextLength = 22;
inline constexpr qint64 kDirectoryEnd =
    243 + kSlotStride * kMaxEntries; // first byte after slot 400
inline constexpr int kMaxSequence = 9999;
inline constexpr qint64 kMaxPosition = 2147483647; // positions and lengths are read as 32-bit
inline constexpr qint64 kMaxLength = 9999999;      // seven digits

// 1-based position of the 22 characters of directory slot i.
[[nodiscard]] constexpr qint64 slotTextPosition(qint64 i) {
    return kFirstSlotText + kSlotStride * i;
}

// Bytes read from kFirstSlotText to the end of the last slot's text.
inline constexpr qint64 kDirectoryTextLength =
    slotTextPosition(kMaxEntries - 1) + kSlotTextLength - kFirstSlotText;

// The trimmed slot texts of a directory read from kFirstSlotText, up to the slot that ends it;
// bytes past the end of a short read count as blanks.
[[nodiscard]] QStringList directorySlots(const QByteArray& directory);

// True when a trimmed slot text ends the directory: it begins with NUL, or (a damaged slot)
// it is empty.
[[nodiscard]] bool endsDirectory(const QString& trimmedSlotText);

// The three fields of a slot text, by columns 1-5, 6-15 and 16-22.
struct SlotFields {
    QString entryName;
    QString offsetText;
    QString lengthText;
};
[[nodiscard]] SlotFields splitSlotText(const QString& slotText);

// Sequence number k of a slot text: numeric value of columns 2-5.
[[nodiscard]] int sequenceNumber(const QString& slotText);

// A 22-character slot text. Precondition: k <= 9999, position <= 9999999999, length <= 9999999.
[[nodiscard]] QString makeSlotText(QChar letter, int k, qint64 position, qint64 length);

// A whole directory slot (26 bytes) holding `slotText`.
[[nodiscard]] QByteArray makeSlot(const QString& slotText);

// The slot that ends a directory: 26 bytes of NUL.
[[nodiscard]] QByteArray terminatingSlot();

// Where an entry's data lies: 1-based position and length in bytes.
struct EntryLocation {
    qint64 position = 0;
    qint64 length = 0;
};

// The entry located by a slot's offset and length texts: both plain decimal digits (blanks
// around them allowed) within 32 bits, the position at least 1. nullopt otherwise.
[[nodiscard]] std::optional<EntryLocation> entryLocation(const QString& offsetText,
                                                         const QString& lengthText);

// True when the entry lies wholly inside an archive of `archiveLength` bytes.
[[nodiscard]] bool insideArchive(const EntryLocation& entry, qint64 archiveLength);

} // namespace cvx::archive
