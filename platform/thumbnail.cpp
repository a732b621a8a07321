// Decoding small pictures of JPEG scans with libjpeg.
#include "platform/thumbnail.h"

#include "platform/jpeg_errors.h"
#include "platform/picture.h"

#include <algorithm>

namespace cvx {

QSize thumbnailSize(QSize full, QSize box) {
    if (full.isEmpty() || box.isEmpty())
        return {};
    return full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

int thumbnailScale(QSize full, QSize wanted) {
    for (int m = 1; m < 8; ++m)
        if ((full.width() * m + 7) / 8 >= wanted.width() &&
            (full.height() * m + 7) / 8 >= wanted.height())
            return m;
    return 8;
}

namespace {
struct Decoder {
    jpeg_decompress_struct info{};
    JpegErrors errors;
    Decoder() {
        info.err = errors.install();
        jpeg_create_decompress(&info);
    }
    ~Decoder() { jpeg_destroy_decompress(&info); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

QImage::Format formatFor(J_COLOR_SPACE space) {
    switch (space) {
    case JCS_GRAYSCALE:
        return QImage::Format_Grayscale8;
    case JCS_CMYK:
        return QImage::Format_RGB32; // converted below, row by row
    default:
        return QImage::Format_RGB32;
    }
}

// Adobe's inverted CMYK, as Qt's own JPEG reader converts it.
void cmykToRgb(QImage& image, int row) {
    auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(row));
    const uchar* cmyk = image.scanLine(row);
    for (int x = 0; x < image.width(); ++x) {
        const int k = cmyk[4 * x + 3];
        pixel[x] =
            qRgb(cmyk[4 * x] * k / 255, cmyk[4 * x + 1] * k / 255, cmyk[4 * x + 2] * k / 255);
    }
}

// The steps that may jump back: kept free of objects with destructors but the image, which is
// made before the jump point.
bool decodeInto(Decoder& d, const QByteArray& jpeg, QSize box, QImage& image) {
    if (setjmp(d.errors.jump))
        return false;
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&d.info, TRUE);
    const QSize full(int(d.info.image_width), int(d.info.image_height));
    if (qint64(full.width()) * full.height() > Picture::kMaxPixels)
        return false;
    const QSize wanted = thumbnailSize(full, box);
    d.info.scale_num = static_cast<unsigned>(thumbnailScale(full, wanted));
    d.info.scale_denom = 8;
    const J_COLOR_SPACE in = d.info.jpeg_color_space;
    d.info.out_color_space = in == JCS_GRAYSCALE                ? JCS_GRAYSCALE
                             : in == JCS_CMYK || in == JCS_YCCK ? JCS_CMYK
                                                                : JCS_EXT_BGRX;
    jpeg_start_decompress(&d.info);
    image = QImage(int(d.info.output_width), int(d.info.output_height),
                   formatFor(d.info.out_color_space));
    if (image.isNull())
        return false;
    while (d.info.output_scanline < d.info.output_height) {
        const int row = int(d.info.output_scanline);
        JSAMPROW line = image.scanLine(row);
        jpeg_read_scanlines(&d.info, &line, 1);
        if (d.info.out_color_space == JCS_CMYK)
            cmykToRgb(image, row);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}
} // namespace

QImage decodeThumbnail(const QByteArray& jpeg, QSize box) {
    if (jpeg.isEmpty() || box.isEmpty())
        return {};
    Decoder decoder;
    QImage image;
    if (!decodeInto(decoder, jpeg, box, image) || image.isNull())
        return {};
    const QSize wanted = thumbnailSize(image.size(), box);
    if (image.size() == wanted)
        return image;
    return image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace cvx
