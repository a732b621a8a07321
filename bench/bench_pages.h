// Page scans for the benchmarks: a few old-print pages drawn at each benchmark size and written
// as baseline and progressive JPEGs, and volumes whose books reuse them page after page.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

namespace cvx::bench {

struct ScanSize {
    QString name; // "24 MP"
    QSize pixels;
    bool spread = false; // two facing pages side by side
    int quality = 85;    // JPEG quality of the generated scans
};

// The sizes the benchmarks read: an A4 page at 300 dpi, a 24 MP and a 70 MP page, a 44 MP
// two-page spread.
[[nodiscard]] QList<ScanSize> scanSizes();

// Distinct scans drawn per size; the pages of a volume cycle through them.
inline constexpr int kVariants = 3;

// The JPEG of variant `variant` of `size`, drawn once and kept under `cacheDir` (the same
// arguments give the same bytes). Empty when it cannot be written.
[[nodiscard]] QByteArray scan(const QString& cacheDir, const ScanSize& size, int variant,
                              bool progressive);

// The scan re-encoded progressive from the same pixels (a publisher's progressive scans).
[[nodiscard]] QByteArray progressiveOf(const QByteArray& baselineJpeg, int quality);

struct BenchVolume {
    QString folder;   // the volume folder: Cartavox.exe and the archives
    QString manifest; // the manifest it was built from (the scans lie beside it)
    int books = 0;
    int pagesPerBook = 0;
};

// Writes the scans of `size` and a manifest of `books` books of `pagesPerBook` pages (numbered
// pages, first on the right) into `sourceDir`; every page is a file of its own, a copy of one
// of the variants.
[[nodiscard]] bool writeManifest(const QString& cacheDir, const QString& sourceDir,
                                 const ScanSize& size, bool progressive, int books,
                                 int pagesPerBook, QString* error);

} // namespace cvx::bench
