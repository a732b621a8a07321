// Banded decoding of JPEG scans with restart markers at MCU-row boundaries.
#include "platform/jpeg_bands.h"

#include "platform/jpeg_decoder.h"

#include <QColorSpace>
#include <QThreadPool>
#include <QtMath>
#include <cstdlib>
#include <cstring>
#include <latch>
#include <numeric>

namespace cvx {

namespace {
int byteAt(const QByteArray& b, qsizetype i) {
    return static_cast<unsigned char>(b[i]);
}

int word(const QByteArray& b, qsizetype i) {
    return byteAt(b, i) << 8 | byteAt(b, i + 1);
}

struct Frame {
    QSize size;
    int components = 0;
    int hMax = 1, vMax = 1, v0 = 1; // v0: the first component's vertical sampling
    int restartInterval = 0;
    qsizetype heightAt = -1;
    bool scanOfAll = false;
};

// Reads a baseline frame header (SOF0 or SOF1) of length `length` at `at`.
bool readFrame(const QByteArray& b, qsizetype at, int length, Frame& f) {
    if (length < 8 || byteAt(b, at) != 8)
        return false;
    f.heightAt = at + 1;
    f.size = QSize(word(b, at + 3), word(b, at + 1));
    f.components = byteAt(b, at + 5);
    if (f.components < 1 || f.components > 4 || length < 6 + 3 * f.components)
        return false;
    for (int c = 0; c < f.components; ++c) {
        const int sampling = byteAt(b, at + 7 + 3 * c);
        f.hMax = std::max(f.hMax, sampling >> 4);
        f.vMax = std::max(f.vMax, sampling & 15);
        if (c == 0)
            f.v0 = sampling & 15;
    }
    return !f.size.isEmpty();
}

// Walks the marker segments up to the scan header; the offset just past it, or -1.
qsizetype readHead(const QByteArray& b, Frame& f) {
    if (b.size() < 4 || word(b, 0) != 0xFFD8)
        return -1;
    qsizetype i = 2;
    while (i + 4 <= b.size()) {
        if (byteAt(b, i) != 0xFF)
            return -1;
        const int code = byteAt(b, i + 1);
        if (code == 0xFF) { // fill byte
            ++i;
            continue;
        }
        const int length = word(b, i + 2);
        if (length < 2 || i + 2 + length > b.size())
            return -1;
        const qsizetype body = i + 4;
        if (code == 0xC0 || code == 0xC1) {
            if (f.components || !readFrame(b, body, length - 2, f))
                return -1;
        } else if (code == 0xDD && length == 4) {
            f.restartInterval = word(b, body);
        } else if (code == 0xDA) {
            f.scanOfAll = f.components > 0 && byteAt(b, body) == f.components;
            return i + 2 + length;
        } else if (code != 0xC4 && code != 0xDB && code != 0xFE && (code & 0xF0) != 0xE0) {
            return -1; // another coding, arithmetic tables, a line count: not ours to cut
        }
        i += 2 + length;
    }
    return -1;
}

// The restart segments of the entropy-coded data from `at`: each one's [begin, end), the
// markers in order from RST0, ending at the end of image. Empty on anything else.
std::vector<std::pair<qsizetype, qsizetype>> readSegments(const QByteArray& b, qsizetype at) {
    std::vector<std::pair<qsizetype, qsizetype>> out;
    const char* data = b.constData();
    qsizetype begin = at, i = at;
    while (true) {
        const void* ff = std::memchr(data + i, 0xFF, static_cast<size_t>(b.size() - i));
        if (!ff)
            return {};
        i = static_cast<const char*>(ff) - data;
        if (i + 1 >= b.size())
            return {};
        const int code = byteAt(b, i + 1);
        if (code == 0x00 || code == 0xFF) {
            i += code == 0x00 ? 2 : 1;
            continue;
        }
        out.emplace_back(begin, i);
        if (code == 0xD9)
            return out;
        if (code != 0xD0 + int((out.size() - 1) % 8))
            return {};
        begin = i = i + 2;
    }
}
} // namespace

std::optional<BandLayout> bandLayout(const QByteArray& jpeg) {
    Frame f;
    const qsizetype headEnd = readHead(jpeg, f);
    if (headEnd < 0 || !f.scanOfAll || f.restartInterval == 0)
        return std::nullopt;
    BandLayout l;
    l.size = f.size;
    l.components = f.components;
    // One component is scanned block by block; several, in MCUs of the largest sampling.
    const int mcuWidth = f.components == 1 ? 8 : 8 * f.hMax;
    l.mcuHeight = f.components == 1 ? 8 : 8 * f.vMax;
    const int mcusPerRow = (f.size.width() + mcuWidth - 1) / mcuWidth;
    if (f.restartInterval % mcusPerRow != 0)
        return std::nullopt;
    l.mcuRows = (f.size.height() + l.mcuHeight - 1) / l.mcuHeight;
    l.rowsPerSegment = f.restartInterval / mcusPerRow;
    // A lone component sampled taller than 1 is decoded in rows of v0 blocks.
    l.rowsPerStep = std::lcm(l.rowsPerSegment, f.components == 1 ? f.v0 : 1);
    l.segments = readSegments(jpeg, headEnd);
    if (qsizetype(l.segments.size()) != (l.mcuRows + l.rowsPerSegment - 1) / l.rowsPerSegment)
        return std::nullopt;
    l.head = jpeg.left(headEnd);
    l.frameHeightAt = f.heightAt;
    return l;
}

QByteArray bandStream(const QByteArray& jpeg, const BandLayout& layout, int firstRow, int endRow) {
    QByteArray out = layout.head;
    const int height =
        std::min(layout.size.height(), endRow * layout.mcuHeight) - firstRow * layout.mcuHeight;
    out[layout.frameHeightAt] = char(height >> 8);
    out[layout.frameHeightAt + 1] = char(height & 0xFF);
    const int first = firstRow / layout.rowsPerSegment;
    const int end = std::min<int>((endRow + layout.rowsPerSegment - 1) / layout.rowsPerSegment,
                                  int(layout.segments.size()));
    if (first < end) // one allocation: growing by a segment at a time cost half a decode
        out.reserve(out.size() + layout.segments[size_t(end - 1)].second -
                    layout.segments[size_t(first)].first + 2 * (end - first));
    for (int s = first; s < end; ++s) {
        const auto [begin, stop] = layout.segments[size_t(s)];
        out.append(jpeg.constData() + begin, stop - begin);
        const int n = s - first;
        out.append(char(0xFF));
        out.append(char(s + 1 < end ? 0xD0 + n % 8 : 0xD9));
    }
    return out;
}

std::vector<int> bandRows(const BandLayout& layout, int bands) {
    const int steps = (layout.mcuRows + layout.rowsPerStep - 1) / layout.rowsPerStep;
    bands = std::max(1, std::min(bands, steps));
    std::vector<int> rows;
    for (int b = 0; b < bands; ++b)
        rows.push_back(steps * b / bands * layout.rowsPerStep);
    rows.push_back(layout.mcuRows);
    return rows;
}

namespace {
// Where a band's decoded rows go: output rows [skip, skip + count) of its stream, into `first`.
struct BandTarget {
    uchar* first = nullptr;
    qsizetype stride = 0;
    int skip = 0;
    int count = 0;
    int width = 0;
    int components = 0;       // 1 for grey, 4 for everything else
    std::vector<uchar> spare; // a row of the stream's margin, decoded and dropped
};

// The steps that may jump back: kept free of objects with destructors.
bool decodeBand(JpegDecoder& d, const QByteArray& stream, int scaleNum, BandTarget& t) {
    if (setjmp(d.errors.jump))
        return false;
    d.readHeader(stream);
    d.start(scaleNum);
    if (int(d.info.output_width) != t.width || d.info.output_components != t.components ||
        int(d.info.output_height) < t.skip + t.count)
        return false;
    for (int row = 0; row < t.skip + t.count; ++row)
        d.readLine(row < t.skip ? t.spare.data() : t.first + (row - t.skip) * t.stride, t.width);
    return d.errors.base.num_warnings == 0; // corrupt data, a short segment
}

// The colour profile the headers carry, as Qt's reader reads it; false when they cannot be read.
bool readProfile(JpegDecoder& d, const QByteArray& head, JOCTET** icc, unsigned* length) {
    if (setjmp(d.errors.jump))
        return false;
    jpeg_save_markers(&d.info, JPEG_APP0 + 2, 0xFFFF);
    d.readHeader(head);
    jpeg_read_icc_profile(&d.info, icc, length);
    return true;
}

QColorSpace colorSpaceOf(const QByteArray& head) {
    JpegDecoder d;
    JOCTET* icc = nullptr;
    unsigned length = 0;
    const bool read = readProfile(d, head, &icc, &length);
    const QColorSpace space = read && icc ? QColorSpace::fromIccProfile(QByteArray(
                                                reinterpret_cast<char*>(icc), qsizetype(length)))
                                          : QColorSpace();
    std::free(icc);
    return space;
}

// Its own pool, as many threads as cores (QThreadPool's default), apart from the read-ahead's.
QThreadPool& bandPool() {
    static QThreadPool pool;
    return pool;
}

// Output rows of `mcuRow` MCU rows at scale `scaleNum`/8.
int scaledRows(const BandLayout& l, int mcuRow, int scaleNum) {
    return mcuRow * l.mcuHeight * scaleNum / 8;
}
} // namespace

namespace {
QImage decodeLaidOut(const QByteArray& jpeg, const BandLayout& layout, int scaleNum, int bands) {
    const std::vector<int> rows = bandRows(layout, bands);
    const int count = int(rows.size()) - 1;
    if (count < 2 || layout.components == 2)
        return {};
    const int width = (layout.size.width() * scaleNum + 7) / 8;
    const int height = (layout.size.height() * scaleNum + 7) / 8;
    const bool grey = layout.components == 1;
    QImage image(width, height, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uchar* const bits = image.bits(); // detached here, before any thread writes its rows
    const qsizetype stride = image.bytesPerLine();
    std::vector<char> ok(size_t(count), 0);
    std::latch done(count);
    const auto band = [&](int b) {
        // A step of MCU rows of margin each side: upsampling reads across a band's edges.
        const int from = std::max(0, rows[size_t(b)] - layout.rowsPerStep);
        const int to = std::min(layout.mcuRows, rows[size_t(b + 1)] + layout.rowsPerStep);
        const int top = scaledRows(layout, rows[size_t(b)], scaleNum);
        BandTarget t;
        t.first = bits + top * stride;
        t.stride = stride;
        t.skip = top - scaledRows(layout, from, scaleNum);
        t.count = std::min(height, scaledRows(layout, rows[size_t(b + 1)], scaleNum)) - top;
        t.width = width;
        t.components = grey ? 1 : 4;
        t.spare.resize(size_t(width) * 4);
        JpegDecoder d;
        ok[size_t(b)] = decodeBand(d, bandStream(jpeg, layout, from, to), scaleNum, t);
        done.count_down();
    };
    for (int b = 1; b < count; ++b)
        if (!bandPool().tryStart([&band, b] { band(b); }))
            band(b); // every thread busy (another decode's bands): this one here
    band(0);
    done.wait();
    for (const char good : ok)
        if (!good)
            return {};
    return image;
}
} // namespace

QImage decodeInBands(const QByteArray& jpeg, int scaleNum, int bands) {
    const std::optional<BandLayout> layout = bandLayout(jpeg);
    return layout ? decodeLaidOut(jpeg, *layout, scaleNum, bands) : QImage();
}

int readerDctScale(QSize full, QSize wanted) {
    const double f =
        std::min(double(full.width()) / wanted.width(), double(full.height()) / wanted.height());
    return std::clamp(qCeil(8 / f), 1, 8);
}

QImage decodeShownInBands(const QByteArray& jpeg, QSize size, int bands) {
    if (bands < 2 || size.isEmpty())
        return {};
    const std::optional<BandLayout> layout = bandLayout(jpeg);
    if (!layout)
        return {};
    QImage image = decodeLaidOut(jpeg, *layout, readerDctScale(layout->size, size), bands);
    if (image.isNull())
        return image;
    image.setColorSpace(colorSpaceOf(layout->head)); // as Qt's reader sets it
    if (image.size() == size)
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace cvx
