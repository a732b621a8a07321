// Gathering a proof sheet's content.
#include "pack/proof/proof_source.h"

#include "archive/label_rules.h"
#include "pack/checks/manifest_and_scans.h"
#include "pack/scans/jpeg2000.h"
#include "pack/scans/jpeg_header.h"
#include "pack/scans/jpeg_turn.h"
#include "pack/scans/page_preparation.h"
#include "pack/volume/volume_check.h"
#include "pack/volume/volume_writer.h"
#include "platform/thumbnail.h"

#include <QBuffer>
#include <QImageReader>
#include <QMutex>
#include <QThread>
#include <QThreadPool>
#include <map>

namespace cvx::pack {

QImage proofThumbnail(const QByteArray& scan) {
    const QSize box(kThumbnailBox, kThumbnailBox);
    if (scanFormat(scan) == "jpeg")
        return turnedUpright(decodeThumbnail(scan, box), readJpegHeader(scan).orientation);
    if (!jpeg2000Format(scan).isEmpty()) { // no reader of reduced sizes: read whole, then scaled
        QString problem;
        const QImage whole = readConvertible(scan, true, &problem);
        return whole.isNull() ? whole
                              : whole.scaled(thumbnailSize(whole.size(), box),
                                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QByteArray copy = scan;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid())
        reader.setScaledSize(thumbnailSize(size, box));
    return reader.read();
}

ProofSheet proofOfManifest(const QString& path, QStringList* errors, const WorkProgress& progress) {
    QMutex guard; // over `thumbnails`, filled by the checks' reading threads
    std::map<std::pair<int, int>, QImage> thumbnails;
    const ManifestCheck c = checkManifest(
        path, CheckScope{true, true, false, true},
        [&](int b, int p, const QByteArray& bytes) {
            const QImage image = proofThumbnail(bytes);
            const QMutexLocker lock(&guard);
            thumbnails[{b, p}] = image;
        },
        progress);
    ProofSheet sheet;
    if (c.books.isEmpty()) {
        for (const Finding& f : c.findings)
            *errors << f.text;
        return sheet;
    }
    const Manifest& m = c.manifest;
    sheet = {m.title, m.secondLine, m.publisher, m.place, m.year, path, {}, c.findings};
    for (int b = 0; b < m.books.size(); ++b) {
        const ManifestBook& mb = m.books[b];
        ProofBook book{mb.label, archiveName(b), mb.kind, mb.side, mb.firstNumber, {}};
        for (int p = 0; p < mb.pages.size(); ++p)
            book.pages << ProofPage{labels::pageLabel(mb.kind, mb.side, mb.firstNumber, p + 1),
                                    mb.pages[p], thumbnails[{b, p}]};
        sheet.books << book;
    }
    return sheet;
}

ProofSheet proofOfVolume(const QString& folder, QStringList* errors, const WorkProgress& progress) {
    const VolumeInfo v = readVolume(folder);
    *errors << v.problems;
    ProofSheet sheet{
        v.headings[0], v.headings[1], v.headings[2], v.headings[3], v.headings[4], folder, {}, {}};
    QList<CheckedBook> checked;
    std::vector<std::pair<int, int>> order;
    for (int b = 0; b < v.books.size(); ++b) {
        const BookInfo& info = v.books[b];
        const int kind = info.fields.numberingKind;
        const int first = int(info.fields.firstNumber);
        sheet.books << ProofBook{info.fields.label,     info.archive, kind,
                                 info.fields.firstSide, first,        {}};
        checked << CheckedBook{bookTitle(v, b), kind, info.fields.firstSide, first, {}};
        for (const EntryInfo& e : info.entries) {
            sheet.books[b].pages << ProofPage{
                e.label,
                QStringLiteral("%1, voce %2").arg(info.archive, QString::number(e.index)),
                {}};
            checked[b].pages << CheckedPage{pageTitle(v, b, e), QString(), {}, {}};
            order.emplace_back(b, int(sheet.books[b].pages.size()) - 1);
        }
    }
    // Each task writes its own elements of vectors sized beforehand.
    std::vector<QImage> images(order.size());
    std::vector<ScanFacts> facts(order.size());
    std::atomic<int> finished = 0;
    QThreadPool pool;
    pool.setMaxThreadCount(QThread::idealThreadCount());
    for (std::size_t i = 0; i < order.size(); ++i)
        pool.start([&, i] {
            const auto [b, p] = order[i];
            const EntryInfo& e = v.books[b].entries[p];
            const EntryBytes bytes = readEntry(v, b, e);
            facts[i] = bytes.problem.isEmpty() ? scanFacts(bytes.image(e), false) : ScanFacts{};
            facts[i].problem = bytes.problem.isEmpty() ? facts[i].problem : bytes.problem;
            images[i] = bytes.problem.isEmpty() ? proofThumbnail(bytes.image(e)) : QImage();
            ++finished;
        });
    waitReporting(pool, finished, static_cast<int>(order.size()), progress);
    for (std::size_t i = 0; i < order.size(); ++i) {
        sheet.books[order[i].first].pages[order[i].second].thumbnail = images[i];
        checked[order[i].first].pages[order[i].second].facts = facts[i];
    }
    sheet.findings = checkBooks(checked, CheckScope{true, true, false, false});
    return sheet;
}

} // namespace cvx::pack
