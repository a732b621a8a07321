// Parts of JPEG scans decoded with libjpeg's cropping and skipping.
#include "platform/jpeg_region.h"

#include "platform/jpeg_decoder.h"

#include <algorithm>

namespace cvx {

int regionScale(double devicePerScan) {
    for (int m = 1; m < 8; ++m)
        if (m / 8.0 >= devicePerScan)
            return m;
    return 8;
}

namespace {
// Output pixels of scan coordinate `scan` at M/8, as libjpeg scales (rounding up).
int scaled(int scan, int m) {
    return static_cast<int>((qint64(scan) * m + 7) / 8);
}

// The steps that may jump back: kept free of objects with destructors but the region, made
// before the jump point.
bool decodeInto(JpegDecoder& d, const QByteArray& jpeg, QRect wanted, int m, ScanRegion& out) {
    if (setjmp(d.errors.jump))
        return false;
    if (!d.readHeader(jpeg))
        return false;
    const QRect part = wanted & QRect(QPoint(0, 0), d.fullSize());
    if (part.isEmpty())
        return false;
    d.start(m);
    // Output coordinates of the part; libjpeg widens the columns to whole blocks.
    JDIMENSION x = static_cast<JDIMENSION>(part.left() * m / 8);
    JDIMENSION width = static_cast<JDIMENSION>(
        std::min<int>(scaled(part.right() + 1, m), int(d.info.output_width)) - int(x));
    jpeg_crop_scanline(&d.info, &x, &width);
    const int top = part.top() * m / 8;
    const int bottom = std::min<int>(scaled(part.bottom() + 1, m), int(d.info.output_height));
    out.image = d.makeImage(int(width), bottom - top);
    if (out.image.isNull())
        return false;
    if (top > 0)
        jpeg_skip_scanlines(&d.info, static_cast<JDIMENSION>(top));
    for (int row = 0; row < out.image.height(); ++row)
        d.readRow(out.image, row);
    jpeg_abort_decompress(&d.info); // the rows below the part are not read
    // Output pixels at M/8 back to scan pixels.
    const double perPixel = 8.0 / m;
    out.scanArea =
        QRectF(x * perPixel, top * perPixel, width * perPixel, out.image.height() * perPixel);
    out.scaleNum = m;
    return true;
}
} // namespace

ScanRegion decodeRegion(const QByteArray& jpeg, QRect wanted, int scaleNum) {
    if (jpeg.isEmpty() || wanted.isEmpty() || scaleNum < 1 || scaleNum > 8)
        return {};
    JpegDecoder decoder;
    ScanRegion region;
    if (!decodeInto(decoder, jpeg, wanted, scaleNum, region) || region.image.isNull())
        return {};
    return region;
}

} // namespace cvx
