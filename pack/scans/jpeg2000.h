// JPEG 2000 masters (.jp2 files and bare .j2k codestreams) read through OpenJPEG, to be converted
// to JPEG like PNG and TIFF scans: 8-bit pixels, the ICC profile and the capture resolution.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace cvx::pack {

// "jp2" for a JP2 file, "j2k" for a bare codestream, empty for anything else: from the
// signature in the first 12 bytes.
[[nodiscard]] QByteArray jpeg2000Format(const QByteArray& bytes);

// The pixel size from the headers, without decoding; invalid when they cannot be read.
[[nodiscard]] QSize jpeg2000Size(const QByteArray& bytes);

// The pixels per metre of a JP2 file's resolution box (capture resolution first, else display
// resolution), horizontal and vertical; {0, 0} when it has none.
[[nodiscard]] std::pair<int, int> jpeg2000DotsPerMeter(const QByteArray& bytes);

// The whole picture, samples of any precision up to 16 bits scaled to 8 (one component grey,
// two grey and alpha, three RGB, four RGBA), with its ICC profile as its colour space and its
// resolution. A null image and an Italian reason in `problem` when it cannot be read or holds
// more than `maxPixels` pixels, or when its colours are not grey or RGB (YCC, CMYK, chroma
// stored at a lower resolution).
[[nodiscard]] QImage readJpeg2000(const QByteArray& bytes, qint64 maxPixels, QString* problem);

} // namespace cvx::pack
