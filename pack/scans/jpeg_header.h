// What the marker segments of a JPEG file tell before its first scan: the frame's pixel size and
// coding, the EXIF orientation and where it is stored, and where the compressed data begins.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace cvx::pack {

struct JpegHeader {
    bool complete = false; // the first scan header was reached inside the bytes given
    QSize size;            // of the frame, as stored (before any orientation)
    int components = 0;
    bool progressive = false;
    int orientation = 1;          // EXIF orientation 1-8; 1 when there is none or it is invalid
    qsizetype orientationAt = -1; // file offset of the tag's 16-bit value; -1 when none
    bool orientationBigEndian = false;
    qsizetype scanStart = -1; // first byte of the compressed data; -1 when not reached
};

// Reads the segments from the start of image up to the first scan header. Bytes that are not
// a JPEG give a header whose size is invalid; a short head gives complete == false.
[[nodiscard]] JpegHeader readJpegHeader(QByteArrayView jpeg);

// The header of the JPEG file at `path`, read a piece at a time until its first scan header (an
// ICC profile may make it long). A file that cannot be read gives an empty header.
[[nodiscard]] JpegHeader readJpegHeaderOf(const QString& path);

// The EXIF orientation of an image rotated by 90 or 270 degrees or transposed (5 to 8): its
// upright width is its stored height.
[[nodiscard]] constexpr bool orientationSwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// The stored size as it looks once turned upright by `orientation`.
[[nodiscard]] QSize uprightSize(QSize stored, int orientation);

// The same bytes with the EXIF orientation tag set to 1 (as stored); unchanged when there is none.
[[nodiscard]] QByteArray withoutOrientation(QByteArray jpeg);

// The turn that makes a scan of this orientation upright, for the orientations 2-8 ("ruotata
// di 90° in senso orario"); empty for 1.
[[nodiscard]] QString orientationName(int orientation);

} // namespace cvx::pack
