// Fuzzes the restoration of an archive entry and the picture check that follows it: the input
// is a stored entry; the restored bytes are read as a picture with the viewer's allocation
// guard and decoded at a small display size, as a page is.
#include "archive/entry_restore.h"
#include "fuzz/fuzz_input.h"
#include "platform/picture.h"

using namespace cvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray stored = fuzz::bytes(data, size);
    QByteArray entry(stored.constData(), stored.size()); // a copy the restoration may change
    const bool restored = archive::restoreEntry(entry);
    fuzz::require(restored == (stored.size() >= archive::kMinEntryLength));
    fuzz::require(entry.size() == stored.size());
    if (!restored) {
        fuzz::require(entry == stored);
        return 0;
    }
    fuzz::require(entry.mid(archive::kHeadLength) == stored.mid(archive::kHeadLength));
    QByteArray again = entry;
    fuzz::require(archive::scrambleEntry(again) && again == stored);

    const Picture picture = Picture::fromBytes(entry, QStringLiteral("lab.jpg"), nullptr);
    if (picture.isNull())
        return 0;
    const QSize full = picture.pixelSize();
    fuzz::require(full.width() > 0 && full.height() > 0);
    // A page is decoded at the size it is shown: here at most 64 pixels a side.
    const QSize shown = full.scaled(QSize(64, 64), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QImage image = picture.scaled(shown);
    fuzz::require(image.isNull() || image.size() == shown);
    return 0;
}
