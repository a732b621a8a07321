// Writes volume folders.
#include "pack/volume/volume_writer.h"

#include "archive/archive_layout.h"
#include "archive/entry_restore.h"
#include "pack/volume/slot_marks.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace cvx::pack {

QString archiveName(int book) {
    return QStringLiteral("dv%1.ex_").arg(book + 1, 5, 10, QLatin1Char('0'));
}

QByteArray padded(const QByteArray& image) {
    if (image.size() >= archive::kMinEntryLength)
        return image;
    // Decoders stop at the image's end marker, so bytes after it are never read.
    return image + QByteArray(archive::kMinEntryLength - image.size(), '\0');
}

qint64 storedLength(qint64 imageLength) {
    return std::max<qint64>(imageLength, archive::kMinEntryLength);
}

QByteArray storedEntry(const QByteArray& image) {
    QByteArray entry = padded(image);
    (void)archive::scrambleEntry(entry); // long enough once padded
    return entry;
}

bool writeStoredEntry(QIODevice& out, const QByteArray& image) {
    if (image.size() < archive::kMinEntryLength) {
        const QByteArray entry = storedEntry(image);
        return out.write(entry) == entry.size();
    }
    // Only head bytes change, each with a partner before the minimum entry length.
    QByteArray head = image.first(archive::kMinEntryLength);
    (void)archive::scrambleEntry(head);
    const qint64 rest = image.size() - archive::kHeadLength;
    return out.write(head.constData(), archive::kHeadLength) == archive::kHeadLength &&
           out.write(image.constData() + archive::kHeadLength, rest) == rest;
}

QByteArray archiveHead(const QList<qint64>& imageLengths) {
    QByteArray head(242, ' ');
    head.replace(0, 22, "CARTAVOX BOOK ARCHIVE\n");
    qint64 position = archive::kDirectoryEnd; // 1-based, right after the directory
    for (int k = 0; k < imageLengths.size(); ++k) {
        const qint64 stored = storedLength(imageLengths[k]);
        head += markedSlot(archive::makeSlotText(QLatin1Char('P'), k + 1, position, stored),
                           imageLengths[k]);
        position += stored;
    }
    if (imageLengths.size() < archive::kMaxEntries)
        head += archive::terminatingSlot();
    head.resize(archive::kDirectoryEnd - 1, '\0');
    return head;
}

qint64 archiveLength(const QList<qint64>& imageLengths) {
    qint64 total = archive::kDirectoryEnd - 1;
    for (const qint64 length : imageLengths)
        total += storedLength(length);
    return total;
}

QByteArray buildArchive(const QList<QByteArray>& pages) {
    QList<qint64> lengths;
    for (const QByteArray& page : pages)
        lengths << page.size();
    QByteArray archive = archiveHead(lengths);
    for (const QByteArray& page : pages)
        archive += storedEntry(page);
    return archive;
}

block::ProductData productData(const VolumeSpec& plan) {
    block::ProductData d;
    d.title = plan.title;
    d.secondLine = plan.secondLine;
    d.publisher = plan.publisher;
    d.place = plan.place;
    d.year = plan.year;
    d.coverArchiveCode = archiveName(plan.coverBook).mid(2, 5);
    d.coverEntryNumber = plan.coverEntry;
    d.workFolderName = plan.workFolderName;
    for (const BookSpec& b : plan.books)
        d.bookRecords << block::makeBookRecord(b.label, b.kind, b.side, b.firstNumber);
    return d;
}

namespace {
bool writeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() &&
        f.flush())
        return true;
    if (error)
        *error = QStringLiteral("Impossibile scrivere il file %1").arg(path);
    return false;
}
} // namespace

bool writeVolume(const VolumeSpec& plan, const QString& folder, QString* error) {
    const auto block = block::buildBlock(productData(plan), plan.executable.size());
    if (!block) {
        if (error)
            *error = QStringLiteral("Il programma e' troppo grande per il blocco dei dati");
        return false;
    }
    if (!writeFile(QDir(folder).filePath(QStringLiteral("Cartavox.exe")), plan.executable + *block,
                   error))
        return false;
    for (int i = 0; i < plan.books.size(); ++i)
        if (!writeFile(QDir(folder).filePath(archiveName(i)), buildArchive(plan.books[i].pages),
                       error))
            return false;
    return true;
}

} // namespace cvx::pack
