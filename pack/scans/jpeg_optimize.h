// Lossless re-encoding of JPEG scans: the picture's own DCT coefficients written again as a
// baseline JPEG with Huffman tables made for it and a restart marker after every MCU row (which
// lets the viewer decode it in bands on every core). The pixels stay exactly the same; a
// progressive scan becomes one that decodes several times faster, a scan coded with generic tables
// smaller.
#pragma once

#include <QByteArray>
#include <QString>

namespace cvx::pack {

struct OptimizedJpeg {
    QByteArray bytes;           // the re-encoded JPEG; empty when it could not be made
    bool progressive = false;   // the scan given was progressive
    bool restartsAdded = false; // the scan given could not be decoded in bands, this one can
    QString problem;            // why it could not be made (the decoder's own words)
};

// Re-encodes `jpeg` as baseline with optimised Huffman tables, keeping its markers (orientation,
// colour profile, comments). A scan the decoder finds damaged in any way is not re-encoded.
[[nodiscard]] OptimizedJpeg optimizeJpeg(const QByteArray& jpeg);

// Whether the re-encoded scan is the one to store: a progressive scan, or one without restart
// markers at its MCU rows, always (it decodes much faster even when a little larger), any other
// only when it is smaller.
[[nodiscard]] bool worthStoring(const QByteArray& original, const OptimizedJpeg& optimized);

} // namespace cvx::pack
