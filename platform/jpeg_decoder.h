// One libjpeg decompression of a JPEG held in memory, for our own decodes at reduced DCT scales
// (thumbnails, the parts of a scan a zoom shows): its error handling, its output in the pixel
// layout of a QImage, and the header's guard against pictures above Picture::kMaxPixels. Each
// decoder is one object on one thread: nothing is shared.
#pragma once

#include "platform/jpeg_errors.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace cvx {

class JpegDecoder {
  public:
    JpegDecoder();
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    jpeg_decompress_struct info{};
    JpegErrors errors; // the jump back to the caller's setjmp on a fatal error

    // Points the decoder at `jpeg` and reads its header (the caller has set its jump point);
    // false when the picture has more than Picture::kMaxPixels pixels.
    bool readHeader(const QByteArray& jpeg);
    // The scan's size from the header read.
    [[nodiscard]] QSize fullSize() const;
    // Chooses the output colours and starts the decompression at scale `scaleNum`/8.
    void start(int scaleNum);
    // An image of `width` x `height` in the layout the output rows are written in.
    [[nodiscard]] QImage makeImage(int width, int height) const;
    // Reads the next output row into `row` of `image` (made by makeImage), converting CMYK.
    void readRow(QImage& image, int row);
    // The same into `line`, `width` pixels of four bytes (one for grey); for rows written from
    // several threads, where QImage::scanLine would detach.
    void readLine(uchar* line, int width);
};

// The smallest M of 1 to 8 for which libjpeg's decode at M/8 of `full` (each side rounded up)
// covers `wanted`; 8 when none smaller does.
[[nodiscard]] int dctScaleCovering(QSize full, QSize wanted);

} // namespace cvx
