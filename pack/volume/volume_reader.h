// Reads a volume folder back as the viewer reads it: the product data block at the end of
// "Cartavox.exe", the book records, and each book archive's directory with its page labels.
#pragma once

#include "app/product_block.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace cvx::pack {

struct EntryInfo {
    int index = 0;          // directory slot, 0-based
    QString slotText;       // trimmed, as the viewer keeps it
    QString name;           // columns 1-5
    bool located = false;   // position and length are plain numbers within 32 bits
    qint64 position = 0;    // 1-based position of the stored bytes
    qint64 length = 0;      // stored bytes
    qint64 imageLength = 0; // bytes of the image before padding
    QString label;          // page label from the book record's numbering
};

struct BookInfo {
    QString archive; // file name in the volume folder
    QString record;  // the book record as stored
    block::BookRecordFields fields;
    qint64 archiveLength = 0;
    QList<EntryInfo> entries;
    QString problem; // a directory that cannot be read
};

struct VolumeInfo {
    QString folder;
    qint64 executableLength = 0;
    qint64 base = 0;
    QString coverArchive; // "dv" + the 5 characters of slot 1 + ".ex_"
    QString coverEntry;   // slot 2 as stored
    QString headings[5];  // slots 3-7 as stored, final NUL included
    QString workFolder;   // the 8 characters of slot 410
    QList<BookInfo> books;
    QStringList problems; // faults of the block and the folder
};

[[nodiscard]] VolumeInfo readVolume(const QString& folder);

// The directory of one archive, labels from `fields`. A fault goes to `problem`.
[[nodiscard]] QList<EntryInfo>
readDirectory(const QString& archivePath, const block::BookRecordFields& fields, QString* problem);

// "libro 2 (dv00002.ex_, "02 Lib.02 Primo libro")" for the 0-based index.
[[nodiscard]] QString bookTitle(const VolumeInfo& volume, int book);

// A stored text for a table: the final NUL dropped, a carriage return shown as "\r" and other
// control characters as "\xNN".
[[nodiscard]] QString printable(const QString& text);

} // namespace cvx::pack
