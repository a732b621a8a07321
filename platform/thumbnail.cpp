// Decoding small pictures of JPEG scans with libjpeg.
#include "platform/thumbnail.h"

#include "platform/jpeg_decoder.h"

#include <QPixmapCache>
#include <malloc.h>

namespace cvx {

QSize thumbnailSize(QSize full, QSize box) {
    if (full.isEmpty() || box.isEmpty())
        return {};
    return full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

namespace {
// The steps that may jump back: kept free of objects with destructors but the image, which is
// made before the jump point.
bool decodeInto(JpegDecoder& d, const QByteArray& jpeg, QSize box, QImage& image) {
    if (setjmp(d.errors.jump))
        return false;
    if (!d.readHeader(jpeg))
        return false;
    d.start(dctScaleCovering(d.fullSize(), thumbnailSize(d.fullSize(), box)));
    image = d.makeImage(int(d.info.output_width), int(d.info.output_height));
    if (image.isNull())
        return false;
    while (d.info.output_scanline < d.info.output_height)
        d.readRow(image, int(d.info.output_scanline));
    jpeg_finish_decompress(&d.info);
    return true;
}
} // namespace

QImage decodeThumbnail(const QByteArray& jpeg, QSize box) {
    if (jpeg.isEmpty() || box.isEmpty())
        return {};
    JpegDecoder decoder;
    QImage image;
    if (!decodeInto(decoder, jpeg, box, image) || image.isNull())
        return {};
    const QSize wanted = thumbnailSize(image.size(), box);
    if (image.size() == wanted)
        return image;
    return image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void returnFreedMemory() {
    QPixmapCache::clear(); // the tiles' pixmaps as drawn
    malloc_trim(0);
}

} // namespace cvx
