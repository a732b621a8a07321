// Facts of page scans for the checks.
#include "pack/scans/scan_facts.h"

#include "pack/scans/jpeg_optimize.h"
#include "pack/scans/page_preparation.h"
#include "platform/jpeg_bands.h"
#include "platform/picture.h"

#include <QHash>

namespace cvx::pack {

std::pair<quint64, qint64> contentKey(const QByteArray& bytes) {
    const JpegHeader h = readJpegHeader(bytes);
    const QByteArrayView data =
        h.complete ? QByteArrayView(bytes).sliced(h.scanStart) : QByteArrayView(bytes);
    return {static_cast<quint64>(qHash(data, 0)), data.size()};
}

namespace {
// A PNG, TIFF or JPEG 2000 read whole, as the build converts it.
void readPicture(const QByteArray& bytes, ScanFacts& f) {
    f.size = headerSize(bytes);
    if (qint64(f.size.width()) * f.size.height() > Picture::kMaxPixels)
        f.problem = QStringLiteral("l'immagine è di %1 x %2 pixel, al massimo %3 milioni di pixel")
                        .arg(f.size.width())
                        .arg(f.size.height())
                        .arg(Picture::kMaxPixels / 1'000'000);
    else
        (void)readConvertible(bytes, false, &f.problem);
}
} // namespace

ScanFacts scanFacts(const QByteArray& bytes, bool optimizeGain) {
    ScanFacts f;
    f.bytes = bytes.size();
    f.format = scanFormat(bytes);
    std::tie(f.contentKey, f.contentLength) = contentKey(bytes);
    if (f.format == "jpeg") {
        const JpegHeader h = readJpegHeader(bytes);
        f.size = h.size;
        f.orientation = h.orientation;
        f.progressive = h.progressive;
        f.problem = scanProblem(bytes);
        f.rowRestarts = bandLayout(bytes).has_value();
        if (f.problem.isEmpty() && f.progressive && optimizeGain)
            f.optimizedBytes = optimizeJpeg(bytes).bytes.size();
    } else if (convertible(f.format)) {
        readPicture(bytes, f);
    } else {
        f.problem = formatProblem(f.format);
    }
    return f;
}

} // namespace cvx::pack
