// Verifying and extracting volumes.
#include "pack/volume/volume_check.h"

#include "app/text_rules.h"
#include "archive/archive_layout.h"
#include "archive/entry_restore.h"
#include "pack/scans/page_preparation.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>

namespace cvx::pack {

QString pageTitle(const VolumeInfo& v, int book, const EntryInfo& e) {
    return QStringLiteral("%1, pagina %2 (voce %3)")
        .arg(bookTitle(v, book), e.label.isEmpty() ? QStringLiteral("senza etichetta") : e.label,
             QString::number(e.index));
}

namespace {
// The viewer ends the program on a record whose label it reads as blank.
bool recordUsable(const BookInfo& book) {
    const QString label = book.fields.label;
    return !label.isEmpty() && !trimBlanks(book.record.left(label.size())).isEmpty();
}

void verifyCover(const VolumeInfo& v, QStringList& faults) {
    const int entry = static_cast<int>(numericValue(v.coverEntry));
    for (const BookInfo& book : v.books)
        if (book.archive.compare(v.coverArchive, Qt::CaseInsensitive) == 0) {
            if (entry < 0 || entry >= book.entries.size())
                faults << QStringLiteral("copertina: l'archivio %1 non ha la voce %2")
                              .arg(v.coverArchive, QString::number(entry));
            return;
        }
    faults << QStringLiteral("copertina: manca l'archivio %1").arg(v.coverArchive);
}

void verifyBlock(const VolumeInfo& v, QStringList& faults) {
    faults << v.problems;
    if (v.base == 0)
        return;
    if (v.books.isEmpty())
        faults << QStringLiteral("nessun archivio dv?????.ex_ nella cartella %1").arg(v.folder);
    if (!block::usableFolderName(v.workFolder))
        faults << QStringLiteral("il nome della cartella di lavoro \"%1\" non è valido")
                      .arg(printable(v.workFolder));
    for (int b = 0; b < v.books.size(); ++b) {
        if (!recordUsable(v.books[b]))
            faults << bookTitle(v, b) + QStringLiteral(": il visore non riconosce il libro");
        if (!v.books[b].problem.isEmpty())
            faults << bookTitle(v, b) + QStringLiteral(": ") + v.books[b].problem;
    }
    verifyCover(v, faults);
}
} // namespace

EntryBytes readEntry(const VolumeInfo& volume, int book, const EntryInfo& e) {
    EntryBytes r;
    const BookInfo& b = volume.books[book];
    if (!e.located)
        r.problem = QStringLiteral("la posizione o la lunghezza della voce non sono numeri "
                                   "validi (%1)")
                        .arg(printable(e.slotText));
    else if (e.length < archive::kMinEntryLength)
        r.problem = QStringLiteral("la voce è di %1 byte, meno dei %2 necessari")
                        .arg(e.length)
                        .arg(archive::kMinEntryLength);
    else if (!archive::insideArchive({e.position, e.length}, b.archiveLength))
        r.problem = QStringLiteral("la voce va oltre la fine dell'archivio (posizione %1, %2 byte, "
                                   "archivio di %3 byte)")
                        .arg(e.position)
                        .arg(e.length)
                        .arg(b.archiveLength);
    if (!r.problem.isEmpty())
        return r;
    const files::Read read =
        files::readAt(QDir(volume.folder).filePath(b.archive), e.position, e.length);
    r.entry = read.data;
    if (read.status != files::Status::Ok || r.entry.size() != e.length)
        r.problem =
            read.description.isEmpty() ? QStringLiteral("lettura incompleta") : read.description;
    else
        (void)archive::restoreEntry(r.entry); // long enough, checked above
    return r;
}

QStringList verifyVolume(const VolumeInfo& volume, const std::function<void(int, int)>& progress) {
    QStringList faults;
    verifyBlock(volume, faults);
    int total = 0;
    for (const BookInfo& book : volume.books)
        total += static_cast<int>(book.entries.size());
    int done = 0;
    for (int b = 0; b < volume.books.size(); ++b)
        for (const EntryInfo& e : volume.books[b].entries) {
            const EntryBytes bytes = readEntry(volume, b, e);
            const QString problem =
                bytes.problem.isEmpty() ? decodeProblem(bytes.entry) : bytes.problem;
            if (!problem.isEmpty())
                faults << pageTitle(volume, b, e) + QStringLiteral(": ") + problem;
            if (progress)
                progress(++done, total);
        }
    return faults;
}

QString extractedName(const BookInfo& book, const EntryInfo& entry, QStringList& taken) {
    const QString base = QFileInfo(book.archive).completeBaseName();
    QString name = base + QLatin1Char('_') + entry.label + QStringLiteral(".jpg");
    if (entry.label.isEmpty() || taken.contains(name))
        name = QStringLiteral("%1_voce%2.jpg")
                   .arg(base, QStringLiteral("%1").arg(entry.index, 3, 10, QLatin1Char('0')));
    taken << name;
    return name;
}

ExtractReport extractVolume(const VolumeInfo& volume, const QString& outDir) {
    ExtractReport r;
    if (!QDir().mkpath(outDir)) {
        r.problems << QStringLiteral("impossibile creare la cartella %1").arg(outDir);
        return r;
    }
    for (int b = 0; b < volume.books.size(); ++b) {
        QStringList taken;
        for (const EntryInfo& e : volume.books[b].entries) {
            const EntryBytes bytes = readEntry(volume, b, e);
            const QString path = QDir(outDir).filePath(extractedName(volume.books[b], e, taken));
            QString problem = bytes.problem;
            if (problem.isEmpty() && !files::writeAll(path, bytes.image(e)).ok())
                problem = QStringLiteral("impossibile scrivere %1").arg(path);
            if (problem.isEmpty())
                ++r.written;
            else
                r.problems << pageTitle(volume, b, e) + QStringLiteral(": ") + problem;
        }
    }
    return r;
}

} // namespace cvx::pack
