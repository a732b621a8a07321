// What the checks of a book need to know of each scan, gathered from its bytes: whether the viewer
// can show it, its pixel size and orientation, its coding, and a key of its picture's content.
#pragma once

#include "pack/scans/jpeg_header.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace cvx::pack {

struct ScanFacts {
    QString problem;     // why the scan cannot go into a volume (Italian); empty when it can
    QByteArray format;   // "jpeg", "png", "tiff", "jp2", "j2k"; empty when unknown
    QSize size;          // pixels as stored
    int orientation = 1; // EXIF orientation of a JPEG scan
    bool progressive = false;
    bool rowRestarts = false; // restart markers at MCU rows: the viewer decodes it on every core
    qint64 bytes = 0;
    // Pages whose keys and lengths are equal show the same picture: for a JPEG the compressed
    // data after its headers (so a copy with other metadata is the same picture), for other
    // formats the whole file. A 64-bit hash: a false match among a volume's pages is below 1e-14.
    quint64 contentKey = 0;
    qint64 contentLength = 0;
    qint64 optimizedBytes = 0; // a progressive scan re-encoded by --optimize; 0 when not asked

    // The pixel size once turned upright.
    [[nodiscard]] QSize upright() const { return uprightSize(size, orientation); }
};

// The facts of a scan's bytes, with the same checks the build makes: a JPEG's headers and
// structure without decoding its pixels (progressive scans are decoded whole), a PNG, TIFF or
// JPEG 2000 decoded whole. With `optimizeGain`, a progressive JPEG is also re-encoded to measure
// it.
[[nodiscard]] ScanFacts scanFacts(const QByteArray& bytes, bool optimizeGain);

// The content key of a scan's bytes (see ScanFacts), and the length it covers.
[[nodiscard]] std::pair<quint64, qint64> contentKey(const QByteArray& bytes);

} // namespace cvx::pack
