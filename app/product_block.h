// Binary layout of the product data block appended to the viewer executable: the base digits,
// the grid of 68-byte string-record slots, the book record and the working-folder name.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace cvx::block {

inline constexpr qint64 kBaseFromEnd = 8048;  // base digits stand at file length - 8048
inline constexpr qint64 kBaseReadLength = 64; // bytes read there
inline constexpr qint64 kGridBeforeBase = 35000;
inline constexpr qint64 kSlotSize = 68;
inline constexpr int kMaxRecordChars = 64;
inline constexpr int kFirstBookSlot = 8;
inline constexpr int kWorkFolderSlot = 410;
inline constexpr qint64 kWorkFolderBeforeBase = 7116; // characters of slot 410
inline constexpr int kWorkFolderNameLength = 8;
inline constexpr int kMaxBooks = 401;
inline constexpr int kBookRecordLength = 60; // 59 characters and the final NUL
inline constexpr int kBookLabelLength = 49;
inline constexpr qint64 kMaxBase = 99999999; // eight digits

// 1-based position of the base digits in a file of `fileLength` bytes (may be < 1).
[[nodiscard]] constexpr qint64 basePosition(qint64 fileLength) {
    return fileLength - kBaseFromEnd;
}

// 1-based start of slot k of the grid whose base is `base`.
[[nodiscard]] constexpr qint64 slotPosition(double base, int k) {
    return static_cast<qint64>(base) - kGridBeforeBase + kSlotSize * k;
}

// 1-based position of the eight working-folder characters.
[[nodiscard]] constexpr qint64 workFolderPosition(double base) {
    return static_cast<qint64>(base) - kWorkFolderBeforeBase;
}

// The characters of the string record at the start of `slot` (type code 8, length n <= 64,
// n characters); nullopt when the head is not such a record or the bytes are cut short.
[[nodiscard]] std::optional<QByteArray> decodeStringRecord(const QByteArray& slot);

// A 68-byte slot holding `chars` (at most 64 bytes) as a string record, filler zeroed.
[[nodiscard]] QByteArray encodeStringRecord(const QByteArray& chars);

// The fields of a book record (the characters as stored, NUL included if present).
struct BookRecordFields {
    QString label;      // columns 1-49, trimmed
    int numberingKind;  // column 51 (value of its digit, 0 when not a digit)
    QString firstSide;  // column 52
    double firstNumber; // numeric value of columns 53-58
};
[[nodiscard]] BookRecordFields splitBookRecord(const QString& record);

// A 60-character record for the packer: label padded to 49, blank, kind digit, side letter,
// six-digit first number, "*" and NUL. The caller has checked the field limits.
[[nodiscard]] QString makeBookRecord(const QString& label, int kind, QChar side, int firstNumber);

// True when the eight characters can name a folder: not all blanks, no NUL, control character
// or character that file systems reject in names, and not "." or "..".
[[nodiscard]] bool usableFolderName(const QString& name);

// What the packer writes after the executable image.
struct ProductData {
    QString title, secondLine, publisher, place, year; // slots 3-7
    QString coverArchiveCode;                          // slot 1: five characters
    int coverEntryNumber = 0;                          // slot 2
    QStringList bookRecords;                           // slots 8 + i
    QString workFolderName;                            // slot 410: eight characters
};

// The block to append to an executable of `exeLength` bytes: slot 0 starts right after the
// executable, and the base digits end the block's first kilobyte after slot 410.
// nullopt when the base would not fit in eight digits.
[[nodiscard]] std::optional<QByteArray> buildBlock(const ProductData& data, qint64 exeLength);

} // namespace cvx::block
