// Parts of JPEG scans decoded with libjpeg's cropping and skipping, or cut from a whole decode.
#include "platform/jpeg_region.h"

#include "platform/jpeg_decoder.h"

#include <algorithm>

namespace cvx {

namespace region {
namespace {
// `a` / `b` rounded down and up, for a non-negative `a` and a positive `b`.
qint64 down(qint64 a, qint64 b) {
    return a / b;
}
qint64 up(qint64 a, qint64 b) {
    return (a + b - 1) / b;
}
} // namespace

QSize outputSize(QSize scan, int m) {
    return {int(up(qint64(scan.width()) * m, 8)), int(up(qint64(scan.height()) * m, 8))};
}

QRect outputPart(QRect scanPart, int m) {
    const QPoint from(int(down(qint64(scanPart.left()) * m, 8)),
                      int(down(qint64(scanPart.top()) * m, 8)));
    const QPoint to(int(up(qint64(scanPart.right() + 1) * m, 8)),
                    int(up(qint64(scanPart.bottom() + 1) * m, 8)));
    return {from, QSize(to.x() - from.x(), to.y() - from.y())};
}

QRect coveredScan(QRect part, int m, QSize scan) {
    // Scan pixel s is decoded into output pixel floor(s * m / 8).
    const QPoint from(int(up(qint64(part.left()) * 8, m)), int(up(qint64(part.top()) * 8, m)));
    const QPoint to(int(up(qint64(part.right() + 1) * 8, m)),
                    int(up(qint64(part.bottom() + 1) * 8, m)));
    return QRect(from, QSize(to.x() - from.x(), to.y() - from.y())) & QRect(QPoint(0, 0), scan);
}

QRectF scanArea(QRect part, int m) {
    const double k = 8.0 / m;
    return {part.x() * k, part.y() * k, part.width() * k, part.height() * k};
}
} // namespace region

int regionScale(double devicePerScan) {
    for (int m = 1; m < 8; ++m)
        if (m / 8.0 >= devicePerScan)
            return m;
    return 8;
}

namespace {
// A progressive scan is decoded whole and cut up to this many output pixels (128 MB); above,
// each part is cropped, slowly but within the memory of one part.
constexpr qint64 kMaxWholePixels = qint64(32) << 20;

// Whether libjpeg's cropped decode agrees with its whole decode for the JPEG whose header `info`
// holds: chroma subsampled four times across and twice down (4:1:0), and any subsampled
// four-channel scan, are upsampled wrongly at a part's first columns or rows.
bool cropsRight(const jpeg_decompress_struct& info) {
    int maxH = 1, maxV = 1;
    for (int c = 0; c < info.num_components; ++c) {
        maxH = std::max(maxH, info.comp_info[c].h_samp_factor);
        maxV = std::max(maxV, info.comp_info[c].v_samp_factor);
    }
    for (int c = 0; c < info.num_components; ++c) {
        const int across = maxH / info.comp_info[c].h_samp_factor;
        const int down = maxV / info.comp_info[c].v_samp_factor;
        if ((across > 2 && down > 1) || (info.num_components > 3 && across * down > 1))
            return false;
    }
    return true;
}

// The output pixels `part` of the decode started, its columns widened to whole blocks, into
// `out`.
bool readPart(JpegDecoder& d, QRect part, ScanRegion& out) {
    auto x = static_cast<JDIMENSION>(part.x());
    auto width = static_cast<JDIMENSION>(part.width());
    jpeg_crop_scanline(&d.info, &x, &width);
    out.image = d.makeImage(int(width), part.height());
    if (out.image.isNull())
        return false;
    if (part.y() > 0)
        jpeg_skip_scanlines(&d.info, static_cast<JDIMENSION>(part.y()));
    for (int row = 0; row < out.image.height(); ++row)
        d.readRow(out.image, row);
    out.part = QRect(int(x), part.y(), int(width), part.height());
    return true;
}

// The steps that may jump back: kept free of objects with destructors but the region and the
// whole decode, made before the jump point.
bool decodeInto(JpegDecoder& d, const QByteArray& jpeg, QRect wanted, int m, ScanRegion& out) {
    if (setjmp(d.errors.jump))
        return false;
    if (!d.readHeader(jpeg))
        return false;
    const QSize output = region::outputSize(d.fullSize(), m);
    const QRect part =
        region::outputPart(wanted & QRect(QPoint(0, 0), d.fullSize()), m) & QRect({}, output);
    if (part.isEmpty())
        return false;
    out.scaleNum = m;
    if (out.whole.size() != output) {
        // A progressive scan holds every coefficient before its first row: each part would cost
        // a whole decode.
        const bool progressive = jpeg_has_multiple_scans(&d.info);
        const bool crop =
            cropsRight(d.info) &&
            (!progressive || qint64(output.width()) * output.height() > kMaxWholePixels);
        d.start(m);
        if (crop)
            return readPart(d, part, out);
        out.whole = d.makeImage(output.width(), output.height());
        if (out.whole.isNull())
            return false;
        for (int row = 0; row < output.height(); ++row)
            d.readRow(out.whole, row);
    }
    out.image = out.whole.copy(part);
    out.part = part;
    return true;
}
} // namespace

ScanRegion decodeRegion(const QByteArray& jpeg, QRect wanted, int scaleNum, const QImage& whole) {
    if (jpeg.isEmpty() || wanted.isEmpty() || scaleNum < 1 || scaleNum > 8)
        return {};
    JpegDecoder decoder;
    ScanRegion region;
    region.whole = whole;
    if (!decodeInto(decoder, jpeg, wanted, scaleNum, region) || region.image.isNull())
        return {};
    return region; // the rows below the part are never read
}

} // namespace cvx
