// Page scans made ready for an archive: JPEG files are kept byte for byte, PNG, TIFF and JPEG 2000
// scans are converted to JPEG, and every image must be one the viewer shows.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace cvx::pack {

// Image format of a file from its content ("jpeg", "png", "tiff", "jp2", "j2k", ...); empty when
// unknown.
[[nodiscard]] QByteArray scanFormat(const QByteArray& bytes);

// Pixel size of an image from its header; invalid when it has none.
[[nodiscard]] QSize headerSize(const QByteArray& bytes);

// Why a scan of this format cannot go into a volume: not a picture, or not JPEG, PNG, TIFF or
// JPEG 2000; empty when it can.
[[nodiscard]] QString formatProblem(const QByteArray& format);

// True for the formats converted to JPEG.
[[nodiscard]] bool convertible(const QByteArray& format);

// Why a scan of a convertible format would convert wrongly, found from its headers: a grey TIFF
// with an alpha channel (which Qt reads without it) or a CMYK TIFF. Empty for anything else.
[[nodiscard]] QString conversionProblem(const QByteArray& scan);

// A convertible scan read whole, within the decoder's guard set at start-up (for JPEG 2000 within
// Picture::kMaxPixels), turned by its orientation tag when `upright`; with its colour space and
// resolution. A null image and an Italian reason in `problem` when it cannot be read.
[[nodiscard]] QImage readConvertible(const QByteArray& scan, bool upright, QString* problem);

// Why the entry stored for `image` would not show: it is padded and decoded at an eighth of
// its size, as the viewer decodes at display size. Empty when it decodes.
[[nodiscard]] QString decodeProblem(const QByteArray& image);

// The same for a JPEG scan stored as it is, found without decoding its pixels: the file must
// end after its last scan, the viewer must take its header, and libjpeg must read it through
// (see jpeg_structure.h). What decoding adds to this is grey where the scan's data is damaged.
[[nodiscard]] QString scanProblem(const QByteArray& jpeg);

// True when a JPEG file's last scan is followed by the end-of-image marker. Decoders fill a
// file cut inside its scan with grey and report no error, so a cut scan is found this way.
[[nodiscard]] bool jpegComplete(const QByteArray& jpeg);

struct PreparedImage {
    QByteArray image; // the JPEG to store
    bool converted = false;
    int turned = 1; // the EXIF orientation of a JPEG scan turned upright; 1 when none
    bool turnedLosslessly = false;
    QString problem; // Italian; empty when the image is ready
};

// A scan ready to store: a decodable JPEG as it is, or turned upright when its EXIF orientation
// asks for it (losslessly where the picture's size allows, otherwise re-encoded at `quality`),
// or a PNG, TIFF or JPEG 2000 converted to JPEG at `quality` (transparency laid on white,
// orientation applied, ICC profile and resolution kept). Other content is refused. The stored JPEG
// carries no orientation to apply again.
[[nodiscard]] PreparedImage prepareImage(const QByteArray& scan, int quality);

} // namespace cvx::pack
