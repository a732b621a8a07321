// A part of a JPEG scan decoded at one of libjpeg's DCT scales (M/8), for a zoom that shows a
// part of a large scan at up to twice its own pixels: libjpeg skips the rows above the part and
// decodes only the columns of whole blocks that hold it, so a 70-megapixel scan is never decoded
// whole. Where cropping cannot serve (progressive scans up to 32 megapixels at M/8, whose every
// part would cost a whole decode, and subsamplings libjpeg crops wrongly) the whole scan is
// decoded once at M/8 and parts are cut from it. Free of shared state: any thread may decode.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QRectF>

namespace cvx {

struct ScanRegion {
    QImage image;     // the part, at scaleNum/8 of the scan's size
    QRect part;       // where the image lies in the decode of the whole scan at scaleNum/8
    int scaleNum = 0; // none without a part
    QImage whole;     // the whole scan at scaleNum/8 when the part was cut from it: give it back
                      // to decodeRegion for the next part at that scale
};

namespace region {
// Output pixels at M/8 of `scan` scan pixels: libjpeg's size, each side rounded up.
[[nodiscard]] QSize outputSize(QSize scan, int m);
// The output pixels at M/8 that hold the scan pixels `scanPart`.
[[nodiscard]] QRect outputPart(QRect scanPart, int m);
// The scan pixels of a scan of `scan` pixels whose decoded pixels at M/8 all lie in the output
// pixels `part`: exact, so that a part reaching the scan's far edge covers it.
[[nodiscard]] QRect coveredScan(QRect part, int m, QSize scan);
// Where the output pixels `part` at M/8 lie on the scan, in scan pixels, for drawing.
[[nodiscard]] QRectF scanArea(QRect part, int m);
} // namespace region

// The smallest M of 1 to 8 whose M/8 gives at least `devicePerScan` decoded pixels a scan pixel;
// 8 above 1 (a zoom beyond the scan's own pixels enlarges the full-size decode).
[[nodiscard]] int regionScale(double devicePerScan);

// The part `wanted` of the JPEG's stored pixels (clipped to the scan) decoded at `scaleNum`/8,
// cut from `whole` when it is that scan's whole decode at that scale. A null image when the data
// cannot be decoded, the part is empty or the header claims more than Picture::kMaxPixels
// pixels. Damaged compressed data shows grey, as in the viewer.
[[nodiscard]] ScanRegion decodeRegion(const QByteArray& jpeg, QRect wanted, int scaleNum,
                                      const QImage& whole = {});

} // namespace cvx
