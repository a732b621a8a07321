// The packer's mark in the four free bytes before each directory slot text: the length of the
// image before it was padded, so that extraction gives back the publisher's file unchanged.
#pragma once

#include <QByteArray>
#include <QString>

namespace cvx::pack {

// A 26-byte directory slot: the image length as a little-endian 32-bit number, then the
// 22-character slot text. Precondition: 0 < imageLength <= 9999999.
[[nodiscard]] QByteArray markedSlot(const QString& slotText, qint64 imageLength);

// The image length kept in a slot's four free bytes when it is a plausible one (1 up to the
// stored length); otherwise the stored length, as for archives written without the mark.
[[nodiscard]] qint64 markedImageLength(const QByteArray& freeBytes, qint64 storedLength);

} // namespace cvx::pack
