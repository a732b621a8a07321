// Reading volume folders back.
#include "pack/volume/volume_reader.h"

#include "app/text_rules.h"
#include "archive/archive_layout.h"
#include "archive/label_rules.h"
#include "pack/volume/slot_marks.h"
#include "platform/files.h"

#include <QDir>

namespace cvx::pack {

namespace {
const QString kExecutable = QStringLiteral("Cartavox.exe");

// One string record of the block, or nullopt with a fault recorded.
std::optional<QString> readSlot(VolumeInfo& v, const QString& exe, int slot) {
    const files::Read r = files::readAt(exe, block::slotPosition(v.base, slot), block::kSlotSize);
    const auto chars =
        r.status == files::Status::Ok ? block::decodeStringRecord(r.data) : std::nullopt;
    if (!chars) {
        v.problems
            << QStringLiteral("lo spazio %1 del blocco dei dati non contiene un testo").arg(slot);
        return std::nullopt;
    }
    return fromSingleByte(*chars);
}

bool readBase(VolumeInfo& v, const QString& exe) {
    const files::Length length = files::lengthOf(exe);
    v.executableLength = length.length;
    if (length.status != files::Status::Ok) {
        v.problems << QStringLiteral("manca il programma %1").arg(exe);
        return false;
    }
    const qint64 at = block::basePosition(length.length);
    const files::Read digits = at >= 1 ? files::readAt(exe, at, block::kBaseReadLength)
                                       : files::Read{files::Status::Failed, {}, {}};
    v.base = static_cast<qint64>(numericValue(fromSingleByte(digits.data.left(8))));
    if (digits.status != files::Status::Ok || block::slotPosition(v.base, 0) < 1 ||
        block::slotPosition(v.base, block::kWorkFolderSlot + 1) > length.length) {
        v.problems << QStringLiteral("%1 non contiene un blocco dei dati valido").arg(exe);
        return false;
    }
    return true;
}

void readBlock(VolumeInfo& v, const QString& exe) {
    v.coverArchive = QStringLiteral("dv") + readSlot(v, exe, 1).value_or(QString(5, ' ')) +
                     QStringLiteral(".ex_");
    v.coverEntry = readSlot(v, exe, 2).value_or(QString());
    for (int i = 0; i < 5; ++i)
        v.headings[i] = readSlot(v, exe, 3 + i).value_or(QString());
    v.workFolder = fromSingleByte(
        files::readAt(exe, block::workFolderPosition(v.base), block::kWorkFolderNameLength).data);
}
} // namespace

QList<EntryInfo> readDirectory(const QString& archivePath, const block::BookRecordFields& fields,
                               QString* problem) {
    QList<EntryInfo> entries;
    const files::Read head = files::readAt(archivePath, 1, archive::kDirectoryEnd - 1);
    if (head.status != files::Status::Ok) {
        *problem = head.description;
        return entries;
    }
    for (int i = 0; i < archive::kMaxEntries; ++i) {
        const qint64 at = archive::slotTextPosition(i) - 1; // 0-based
        if (at + archive::kSlotTextLength > head.data.size()) {
            *problem = QStringLiteral("l'archivio finisce dentro il suo indice");
            break;
        }
        const QString text =
            trimBlanks(fromSingleByte(head.data.mid(at, archive::kSlotTextLength)));
        if (archive::endsDirectory(text))
            break;
        const archive::SlotFields f = archive::splitSlotText(text);
        EntryInfo e;
        e.index = i;
        e.slotText = text;
        e.name = f.entryName;
        if (const auto entry = archive::entryLocation(f.offsetText, f.lengthText)) {
            e.located = true;
            e.position = entry->position;
            e.length = entry->length;
        }
        e.imageLength = markedImageLength(head.data.mid(at - 4, 4), e.length);
        e.label =
            labels::pageLabel(fields.numberingKind, fields.firstSide,
                              static_cast<int>(fields.firstNumber), archive::sequenceNumber(text));
        entries << e;
    }
    return entries;
}

VolumeInfo readVolume(const QString& folder) {
    VolumeInfo v;
    v.folder = folder;
    const QString exe = QDir(folder).filePath(kExecutable);
    if (!readBase(v, exe))
        return v;
    readBlock(v, exe);
    QStringList archives = files::matching(folder, QStringLiteral("dv?????.ex_"));
    if (archives.size() > block::kMaxBooks) {
        v.problems << QStringLiteral("gli archivi sono %1, al massimo %2")
                          .arg(archives.size())
                          .arg(block::kMaxBooks);
        archives.resize(block::kMaxBooks); // the grid has no more book records
    }
    for (int i = 0; i < archives.size(); ++i) {
        BookInfo book;
        book.archive = archives[i];
        const QString path = QDir(folder).filePath(book.archive);
        book.archiveLength = files::lengthOf(path).length;
        book.record = readSlot(v, exe, block::kFirstBookSlot + i).value_or(QString());
        book.fields = block::splitBookRecord(book.record);
        book.entries = readDirectory(path, book.fields, &book.problem);
        v.books << book;
    }
    return v;
}

QString bookTitle(const VolumeInfo& volume, int book) {
    const BookInfo& b = volume.books[book];
    return QStringLiteral("libro %1 (%2, \"%3\")").arg(book + 1).arg(b.archive, b.fields.label);
}

QString printable(const QString& text) {
    QString shown = text.endsWith(QChar(0)) ? text.chopped(1) : text;
    QString out;
    for (const QChar c : shown) {
        if (c.unicode() == 13)
            out += QStringLiteral("\\r");
        else if (c.unicode() < 32)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace cvx::pack
