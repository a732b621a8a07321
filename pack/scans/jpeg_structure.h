// A JPEG file read as the viewer's decoder (libjpeg, through Qt's reader) reads it, without
// decoding what cannot stop it. libjpeg refuses a file for its markers, tables, frame and scan
// headers, an unsupported process or sampling, and for the markers that follow the scans; in
// the entropy-coded data of a sequential scan it only warns, and the picture shows grey where
// the data fails. So the data of a file's only scan is skipped, not decoded: under a
// millisecond for a 24-megapixel scan that takes some 45 ms to decode. A file of several scans
// (progressive, or one scan per colour) is decoded whole: the decoder reads every scan before
// the first row, and progressive data can hold coefficients it stops on.
#pragma once

#include <QByteArray>
#include <QString>

namespace cvx::pack {

// Why the viewer's decoder would stop on `jpeg` (libjpeg's own words); empty when it reads the
// file to its end. The file is read at an eighth of its size with the decoder's defaults.
[[nodiscard]] QString jpegReadFault(const QByteArray& jpeg);

// Where the entropy-coded data that starts at `from` ends for libjpeg: at the first marker
// after it (restart markers included, when the scan has no restart interval). -1 when the
// data holds a marker code libjpeg may or may not skip, depending on where its decoder stands.
[[nodiscard]] qsizetype entropyDataEnd(const QByteArray& jpeg, qsizetype from, bool restarts);

} // namespace cvx::pack
