// Writes volume folders.
#include "pack/volume_writer.h"

#include "archive/archive_layout.h"
#include "archive/entry_restore.h"

#include <QDir>
#include <QFile>

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

QByteArray buildArchive(const QList<QByteArray>& pages) {
    QByteArray header(242, ' ');
    header.replace(0, 22, "CARTAVOX BOOK ARCHIVE\n");
    QByteArray directory;
    QByteArray data;
    qint64 position = archive::kDirectoryEnd; // 1-based, right after the directory
    for (int k = 0; k < pages.size(); ++k) {
        QByteArray entry = padded(pages[k]);
        (void)archive::scrambleEntry(entry);
        directory += archive::makeSlot(
            archive::makeSlotText(QLatin1Char('P'), k + 1, position, entry.size()));
        data += entry;
        position += entry.size();
    }
    if (pages.size() < archive::kMaxEntries)
        directory += archive::terminatingSlot();
    directory.resize(archive::kSlotStride * archive::kMaxEntries, '\0');
    return header + directory + data;
}

block::ProductData productData(const VolumeSpec& spec) {
    block::ProductData d;
    d.title = spec.title;
    d.secondLine = spec.secondLine;
    d.publisher = spec.publisher;
    d.place = spec.place;
    d.year = spec.year;
    d.coverArchiveCode = archiveName(spec.coverBook).mid(2, 5);
    d.coverEntryNumber = spec.coverEntry;
    d.workFolderName = spec.workFolderName;
    for (const BookSpec& b : spec.books)
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

bool writeVolume(const VolumeSpec& spec, const QString& folder, QString* error) {
    const auto block = block::buildBlock(productData(spec), spec.executable.size());
    if (!block) {
        if (error)
            *error = QStringLiteral("Il programma e' troppo grande per il blocco dei dati");
        return false;
    }
    if (!writeFile(QDir(folder).filePath(QStringLiteral("Cartavox.exe")), spec.executable + *block,
                   error))
        return false;
    for (int i = 0; i < spec.books.size(); ++i)
        if (!writeFile(QDir(folder).filePath(archiveName(i)), buildArchive(spec.books[i].pages),
                       error))
            return false;
    return true;
}

} // namespace cvx::pack
