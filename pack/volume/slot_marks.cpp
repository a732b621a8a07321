// The image length in the free bytes of directory slots.
#include "pack/volume/slot_marks.h"

#include "archive/archive_layout.h"

#include <QtEndian>

namespace cvx::pack {

QByteArray markedSlot(const QString& slotText, qint64 imageLength) {
    QByteArray slot = archive::makeSlot(slotText);
    qToLittleEndian<quint32>(static_cast<quint32>(imageLength), slot.data());
    return slot;
}

qint64 markedImageLength(const QByteArray& freeBytes, qint64 storedLength) {
    if (freeBytes.size() != 4)
        return storedLength;
    const qint64 length = qFromLittleEndian<quint32>(freeBytes.constData());
    return length >= 1 && length <= storedLength ? length : storedLength;
}

} // namespace cvx::pack
