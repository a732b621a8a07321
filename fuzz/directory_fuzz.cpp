// Fuzzes the reading of a book archive's directory, on the input taken as the whole archive:
// the slot texts as the viewer lists them, their fields, the entry each locates and its page
// label; and the packing tool's reader of the same directory.
#include "app/text_rules.h"
#include "archive/archive_layout.h"
#include "archive/label_rules.h"
#include "fuzz/fuzz_input.h"
#include "pack/volume/volume_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace cvx;

namespace {
// The slot texts of the viewer's page list: trimmed, up to the end of the directory.
QStringList listedSlots(const QByteArray& archive) {
    QStringList listed;
    for (int i = 0; i < archive::kMaxEntries; ++i) {
        const QString read = fromSingleByte(
            fuzz::readAt(archive, archive::slotTextPosition(i), archive::kSlotTextLength));
        const QString text =
            trimBlanks(read + QString(archive::kSlotTextLength - read.size(), QLatin1Char(' ')));
        if (archive::endsDirectory(text))
            break;
        listed << text;
    }
    return listed;
}

void checkEntry(const QString& slot, qint64 archiveLength) {
    const archive::SlotFields f = archive::splitSlotText(slot);
    fuzz::require(f.entryName.size() <= 5 && f.offsetText.size() <= 10 && f.lengthText.size() <= 7);
    const auto entry = archive::entryLocation(f.offsetText, f.lengthText);
    if (entry) {
        fuzz::require(entry->position >= 1 && entry->position <= archive::kMaxPosition);
        fuzz::require(entry->length >= 0 && entry->length <= archive::kMaxPosition);
        if (archive::insideArchive(*entry, archiveLength))
            fuzz::require(entry->position - 1 + entry->length <= archiveLength);
    }
    const int k = archive::sequenceNumber(slot);
    fuzz::require(k >= -999 && k <= archive::kMaxSequence);
    for (const int kind : {labels::Sheets, labels::Pages, labels::Openings})
        for (const char* side : {"D", "S"})
            fuzz::require(labels::pageLabel(kind, QLatin1String(side), 1, k).size() <= 4);
}

// The packing tool reads archives from files: one scratch file, rewritten for every input, in
// memory where the system offers a folder there.
QString scratchArchive(const QByteArray& archive) {
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/cartavox-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/cartavox-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("dv00001.ex_"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(archive);
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray archive = fuzz::bytes(data, size);
    const QStringList listed = listedSlots(archive);
    fuzz::require(listed.size() <= archive::kMaxEntries);
    for (const QString& slot : listed)
        checkEntry(slot, archive.size());

    block::BookRecordFields fields{QStringLiteral("Libro"), labels::Sheets, QStringLiteral("D"), 1};
    QString problem;
    const QList<pack::EntryInfo> entries =
        pack::readDirectory(scratchArchive(archive), fields, &problem);
    fuzz::require(entries.size() <= listed.size());
    return 0;
}
