// Decoding a baseline JPEG whose restart intervals fall on MCU-row boundaries as horizontal bands,
// one libjpeg decompression each, on several cores, stitched into the picture the whole decode
// gives; and the layout of such a scan, which the packing tool's check reads too.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>
#include <vector>

namespace cvx {

// Where a single-scan baseline JPEG can be cut: its headers, and each restart segment's data.
struct BandLayout {
    QByteArray head;              // from the start of image to the end of the scan header
    qsizetype frameHeightAt = -1; // offset in `head` of the frame's 16-bit height
    QSize size;                   // of the frame
    int components = 0;
    int mcuHeight = 8;      // pixel rows of one MCU row
    int mcuRows = 0;        // MCU rows of the scan
    int rowsPerSegment = 0; // MCU rows between two restart markers
    int rowsPerStep = 0;    // a band starts at a multiple of these MCU rows
    std::vector<std::pair<qsizetype, qsizetype>> segments; // [begin, end) of each in the file
};

// The layout of `jpeg` when it is one baseline scan of all its components whose restart
// interval is a whole number of MCU rows, with every restart marker in order; nothing otherwise.
[[nodiscard]] std::optional<BandLayout> bandLayout(const QByteArray& jpeg);

// A valid JPEG stream of the MCU rows [firstRow, endRow) of `layout` (multiples of
// rowsPerSegment, or endRow == mcuRows): the headers with the frame's height cut to those rows,
// their restart segments renumbered from 0, the end of image.
[[nodiscard]] QByteArray bandStream(const QByteArray& jpeg, const BandLayout& layout, int firstRow,
                                    int endRow);

// The bands' first MCU rows for `bands` bands of nearly equal height, each starting at a multiple
// of rowsPerStep, with mcuRows last; fewer bands when there are not enough steps.
[[nodiscard]] std::vector<int> bandRows(const BandLayout& layout, int bands);

// `jpeg` decoded at scale `scaleNum`/8 as up to `bands` bands in parallel, equal pixel for pixel
// to the whole decode at that scale (JpegDecoder's layout); a null image when the scan has no
// layout, fewer than two bands fit, or any band is damaged.
[[nodiscard]] QImage decodeInBands(const QByteArray& jpeg, int scaleNum, int bands);

// The scale M of M/8 Qt's reader decodes a JPEG of `full` pixels at when asked for `wanted`.
[[nodiscard]] int readerDctScale(QSize full, QSize wanted);

// `jpeg` at `size` as Qt's reader gives it (decoded at readerDctScale, then smoothly scaled),
// decoded in up to `bands` bands; a null image when it cannot be done so (see decodeInBands).
[[nodiscard]] QImage decodeShownInBands(const QByteArray& jpeg, QSize size, int bands);

} // namespace cvx
