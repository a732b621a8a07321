// Writes a volume folder: the viewer executable with the product data block appended, and
// one archive per book whose entries are the page images with their heads scrambled.
#pragma once

#include "app/product_block.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

namespace cvx::pack {

struct BookSpec {
    QString label; // at most 49 characters
    int kind = 1;  // 0 sheets, 1 pages, 2 two-page openings
    QChar side = QLatin1Char('D');
    int firstNumber = 1;
    QList<QByteArray> pages; // JPEG files, in reading order
};

struct VolumeSpec {
    QString title, secondLine, publisher, place, year;
    QString workFolderName; // eight characters
    int coverBook = 0;      // the cover picture is entry coverEntry of book coverBook
    int coverEntry = 0;
    QList<BookSpec> books;
    QByteArray executable; // the viewer program
};

// Archive name of book i: "dv" + five digits + ".ex_", so that name order is book order.
[[nodiscard]] QString archiveName(int book);

// An image padded after its end so that it is long enough to be scrambled.
[[nodiscard]] QByteArray padded(const QByteArray& image);

// Bytes an image of `imageLength` bytes takes in an archive: at least the minimum entry length.
[[nodiscard]] qint64 storedLength(qint64 imageLength);

// The entry stored for an image: padded, then its head scrambled.
[[nodiscard]] QByteArray storedEntry(const QByteArray& image);

// Writes storedEntry(image) to `out` without copying the image: the scrambled head, then the
// rest of the image straight from its bytes. False when a write fails.
[[nodiscard]] bool writeStoredEntry(QIODevice& out, const QByteArray& image);

// Header and directory of an archive whose entries hold images of these lengths, in reading
// order: everything before the first entry. Each slot's free bytes keep the image length.
// Precondition: the limits of the format hold (checked by the caller).
[[nodiscard]] QByteArray archiveHead(const QList<qint64>& imageLengths);

// Length in bytes of the whole archive for images of these lengths.
[[nodiscard]] qint64 archiveLength(const QList<qint64>& imageLengths);

// The archive of one book: header, directory with its terminating slot, scrambled entries.
// Precondition: the limits of the format hold (checked by the caller).
[[nodiscard]] QByteArray buildArchive(const QList<QByteArray>& pages);

// The product data of a volume (slots 1-7, the book records, slot 410).
[[nodiscard]] block::ProductData productData(const VolumeSpec& plan);

// Writes the volume into `folder` (which must exist and be empty). False with a message in
// `error` when a file cannot be written.
[[nodiscard]] bool writeVolume(const VolumeSpec& plan, const QString& folder, QString* error);

} // namespace cvx::pack
