// A part of a JPEG scan decoded at one of libjpeg's DCT scales (M/8), for a zoom that shows a
// part of a large scan at up to twice its own pixels: libjpeg skips the rows above the part and
// decodes only the columns of whole blocks that hold it, so a 70-megapixel scan is never decoded
// whole. Free of shared state: any thread may decode.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QRectF>

namespace cvx {

struct ScanRegion {
    QImage image;    // the part, at scaleNum/8 of the scan's size
    QRectF scanArea; // where the image lies on the scan, in scan pixels (it covers the part
                     // asked for, widened to whole blocks)
    int scaleNum = 8;
};

// The smallest M of 1 to 8 whose M/8 gives at least `devicePerScan` decoded pixels a scan pixel;
// 8 above 1 (a zoom beyond the scan's own pixels enlarges the full-size decode).
[[nodiscard]] int regionScale(double devicePerScan);

// The part `wanted` of the JPEG's stored pixels (clipped to the scan) decoded at `scaleNum`/8.
// A null image when the data cannot be decoded, the part is empty or the header claims more
// than Picture::kMaxPixels pixels. Damaged compressed data shows grey, as in the viewer.
[[nodiscard]] ScanRegion decodeRegion(const QByteArray& jpeg, QRect wanted, int scaleNum);

} // namespace cvx
