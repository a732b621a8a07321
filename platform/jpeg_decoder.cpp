// libjpeg decompressions into QImages.
#include "platform/jpeg_decoder.h"

#include "platform/picture.h"

namespace cvx {

JpegDecoder::JpegDecoder() {
    info.err = errors.install();
    jpeg_create_decompress(&info);
}

JpegDecoder::~JpegDecoder() {
    jpeg_destroy_decompress(&info);
}

bool JpegDecoder::readHeader(const QByteArray& jpeg) {
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    return qint64(info.image_width) * info.image_height <= Picture::kMaxPixels;
}

QSize JpegDecoder::fullSize() const {
    return {int(info.image_width), int(info.image_height)};
}

void JpegDecoder::start(int scaleNum) {
    info.scale_num = static_cast<unsigned>(scaleNum);
    info.scale_denom = 8;
    const J_COLOR_SPACE in = info.jpeg_color_space;
    info.out_color_space = in == JCS_GRAYSCALE                ? JCS_GRAYSCALE
                           : in == JCS_CMYK || in == JCS_YCCK ? JCS_CMYK
                                                              : JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
}

QImage JpegDecoder::makeImage(int width, int height) const {
    // CMYK rows are four bytes a pixel too, converted in place.
    return QImage(width, height,
                  info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8
                                                        : QImage::Format_RGB32);
}

void JpegDecoder::readRow(QImage& image, int row) {
    readLine(image.scanLine(row), image.width());
}

void JpegDecoder::readLine(uchar* line, int width) {
    jpeg_read_scanlines(&info, &line, 1);
    if (info.out_color_space != JCS_CMYK)
        return;
    // Adobe's inverted CMYK, as Qt's own JPEG reader converts it.
    auto* pixel = reinterpret_cast<QRgb*>(line);
    const uchar* cmyk = line;
    for (int x = 0; x < width; ++x) {
        const int k = cmyk[4 * x + 3];
        pixel[x] =
            qRgb(cmyk[4 * x] * k / 255, cmyk[4 * x + 1] * k / 255, cmyk[4 * x + 2] * k / 255);
    }
}

int dctScaleCovering(QSize full, QSize wanted) {
    for (int m = 1; m < 8; ++m)
        if ((full.width() * m + 7) / 8 >= wanted.width() &&
            (full.height() * m + 7) / 8 >= wanted.height())
            return m;
    return 8;
}

} // namespace cvx
