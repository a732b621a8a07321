// Walking a JPEG file's marker segments up to its first scan.
#include "pack/scans/jpeg_header.h"

#include "platform/files.h"

#include <QString>

namespace cvx::pack {

namespace {
quint16 read16(QByteArrayView b, qsizetype at, bool bigEndian) {
    const auto hi = static_cast<quint8>(b[bigEndian ? at : at + 1]);
    const auto lo = static_cast<quint8>(b[bigEndian ? at + 1 : at]);
    return static_cast<quint16>(hi << 8 | lo);
}

quint32 read32(QByteArrayView b, qsizetype at, bool bigEndian) {
    const quint32 first = read16(b, at, bigEndian), second = read16(b, at + 2, bigEndian);
    return bigEndian ? first << 16 | second : second << 16 | first;
}

// The orientation tag of IFD0 in an APP1 segment's payload that starts at `at` in the file.
void readExif(QByteArrayView file, qsizetype at, qsizetype length, JpegHeader& h) {
    const QByteArrayView payload = file.sliced(at, length);
    if (length < 14 || !payload.startsWith(QByteArrayView("Exif\0\0", 6)))
        return;
    const qsizetype tiff = at + 6; // offsets inside EXIF count from the TIFF header
    const qsizetype tiffLength = length - 6;
    const bool big = file[tiff] == 'M';
    if ((file[tiff] != 'I' && !big) || read16(file, tiff + 2, big) != 42)
        return;
    const quint32 ifd = read32(file, tiff + 4, big);
    if (ifd > quint32(tiffLength - 2))
        return;
    const int entries = read16(file, tiff + ifd, big);
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = ifd + 2 + qsizetype(12) * i;
        if (entry + 12 > tiffLength)
            return;
        if (read16(file, tiff + entry, big) != 0x0112 || read16(file, tiff + entry + 2, big) != 3)
            continue;
        const int value = read16(file, tiff + entry + 8, big);
        h.orientationAt = tiff + entry + 8;
        h.orientationBigEndian = big;
        h.orientation = value >= 1 && value <= 8 ? value : 1;
        return;
    }
}

bool isFrame(quint8 code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}
} // namespace

JpegHeader readJpegHeader(QByteArrayView jpeg) {
    JpegHeader h;
    if (jpeg.size() < 4 || quint8(jpeg[0]) != 0xFF || quint8(jpeg[1]) != 0xD8)
        return h;
    for (qsizetype at = 2; at + 4 <= jpeg.size();) {
        if (quint8(jpeg[at]) != 0xFF)
            return h;
        const quint8 code = quint8(jpeg[at + 1]);
        if (code == 0xFF) { // a fill byte before the marker
            ++at;
            continue;
        }
        const qsizetype length = read16(jpeg, at + 2, true);
        if (length < 2 || at + 2 + length > jpeg.size())
            return h;
        const qsizetype payload = at + 4;
        if (isFrame(code) && length >= 8) {
            h.size = QSize(read16(jpeg, payload + 3, true), read16(jpeg, payload + 1, true));
            h.components = quint8(jpeg[payload + 5]);
            h.progressive = code == 0xC2 || code == 0xC6 || code == 0xCA || code == 0xCE;
        } else if (code == 0xE1 && h.orientationAt < 0) {
            readExif(jpeg, payload, length - 2, h);
        } else if (code == 0xDA) {
            h.scanStart = at + 2 + length;
            h.complete = true;
            return h;
        }
        at += 2 + length;
    }
    return h;
}

JpegHeader readJpegHeaderOf(const QString& path) {
    const files::Length length = files::lengthOf(path);
    for (qint64 want = 64 * 1024;; want *= 4) {
        const files::Read head = files::readAt(path, 1, want);
        const JpegHeader h = readJpegHeader(head.data);
        if (h.complete || head.status != files::Status::Ok || want >= length.length)
            return h;
    }
}

QSize uprightSize(QSize stored, int orientation) {
    return orientationSwapsSides(orientation) ? stored.transposed() : stored;
}

QByteArray withoutOrientation(QByteArray jpeg) {
    const JpegHeader h = readJpegHeader(jpeg);
    if (h.orientationAt < 0)
        return jpeg;
    jpeg[h.orientationAt + (h.orientationBigEndian ? 0 : 1)] = 0;
    jpeg[h.orientationAt + (h.orientationBigEndian ? 1 : 0)] = 1;
    return jpeg;
}

QString orientationName(int orientation) {
    switch (orientation) {
    case 2:
        return QStringLiteral("specchiata in orizzontale");
    case 3:
        return QStringLiteral("capovolta (ruotata di 180°)");
    case 4:
        return QStringLiteral("specchiata in verticale");
    case 5:
        return QStringLiteral("specchiata sulla diagonale principale");
    case 6:
        return QStringLiteral("ruotata di 90° in senso orario");
    case 7:
        return QStringLiteral("specchiata sulla diagonale secondaria");
    case 8:
        return QStringLiteral("ruotata di 90° in senso antiorario");
    default:
        return {};
    }
}

} // namespace cvx::pack
