// Page scans and manifests for the benchmarks.
#include "bench/bench_pages.h"

#include "sample/letterpress.h"
#include "sample/parchment.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <unistd.h>

namespace cvx::bench {

namespace {
// Bumped whenever the drawing changes, so that scans kept from an older run are drawn again.
constexpr int kDrawingVersion = 1;

QImage drawPage(const ScanSize& size, int variant) {
    QImage image(size.pixels, QImage::Format_RGB32);
    const quint64 seed = 8000 + static_cast<quint64>(size.pixels.width()) * 10 + variant;
    sample::paintParchment(image, image.rect(), seed);
    const int half = image.width() / 2;
    const QList<QRect> pages =
        size.spread ? QList<QRect>{QRect(0, 0, half, image.height()),
                                   QRect(half, 0, image.width() - half, image.height())}
                    : QList<QRect>{image.rect()};
    for (int i = 0; i < pages.size(); ++i) {
        sample::TextPage t;
        t.runningHead = QStringLiteral("DELLE PIANTE");
        t.number = QString::number(2 * variant + i + 1);
        t.rightPage = size.spread ? i == 1 : variant % 2 == 0;
        t.columns = 2;
        t.seed = seed + i;
        if (variant == 0 && i == 0)
            t.heading = QStringLiteral("CAP. III. Della Betonica.");
        sample::paintTextPage(image, pages[i], t);
    }
    if (size.spread)
        sample::paintFold(image, half, image.width() / 25);
    return image;
}

QByteArray encode(const QImage& image, int quality, bool progressive) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? bytes : QByteArray();
}

QString scanName(const ScanSize& size, int variant, bool progressive) {
    return QStringLiteral("scan-v%1-%2x%3-%4%5.jpg")
        .arg(kDrawingVersion)
        .arg(size.pixels.width())
        .arg(size.pixels.height())
        .arg(variant)
        .arg(progressive ? QStringLiteral("-p") : QString());
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}
} // namespace

QList<ScanSize> scanSizes() {
    // Qualities chosen so the scans weigh what real scans of these sizes weigh, and a 70 MP
    // scan stays within an archive entry's seven-digit length.
    return {{QStringLiteral("8.7 MP"), QSize(2480, 3508), false, 85},
            {QStringLiteral("24 MP"), QSize(4000, 6000), false, 85},
            {QStringLiteral("44 MP"), QSize(8120, 5420), true, 80},
            {QStringLiteral("70 MP"), QSize(6840, 10240), false, 75}};
}

QByteArray scan(const QString& cacheDir, const ScanSize& size, int variant, bool progressive) {
    const QString path = QDir(cacheDir).filePath(scanName(size, variant, progressive));
    if (QFile f(path); f.open(QIODevice::ReadOnly))
        return f.readAll();
    QByteArray bytes;
    if (progressive) {
        bytes = progressiveOf(scan(cacheDir, size, variant, false), size.quality);
    } else {
        bytes = encode(drawPage(size, variant), size.quality, false);
    }
    if (bytes.isEmpty() || !QDir().mkpath(cacheDir) || !writeFile(path, bytes))
        return {};
    return bytes;
}

QByteArray progressiveOf(const QByteArray& baselineJpeg, int quality) {
    QByteArray copy = baselineJpeg;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    return image.isNull() ? QByteArray() : encode(image, quality, true);
}

bool writeManifest(const QString& cacheDir, const QString& sourceDir, const ScanSize& size,
                   bool progressive, int books, int pagesPerBook, QString* error) {
    const QDir dir(sourceDir);
    if (!QDir().mkpath(dir.filePath(QStringLiteral("scans")))) {
        *error = QStringLiteral("cannot create %1").arg(sourceDir);
        return false;
    }
    QStringList variants;
    for (int v = 0; v < kVariants; ++v) {
        const QString name = QStringLiteral("scans/variant%1.jpg").arg(v);
        const QByteArray bytes = scan(cacheDir, size, v, progressive);
        if (bytes.isEmpty() || !writeFile(dir.filePath(name), bytes)) {
            *error = QStringLiteral("cannot write %1").arg(dir.filePath(name));
            return false;
        }
        variants << name;
    }
    QJsonArray list;
    for (int b = 0; b < books; ++b) {
        QJsonArray pages;
        for (int p = 0; p < pagesPerBook; ++p) {
            // Every page a file of its own: hard links to the variants, so packing reads as many
            // files as a real volume has without writing them all.
            const QString name = QStringLiteral("scans/b%1p%2.jpg").arg(b + 1).arg(p + 1);
            QFile::remove(dir.filePath(name));
            const QString target = dir.filePath(variants[(b + p) % kVariants]);
            if (::link(QFile::encodeName(target).constData(),
                       QFile::encodeName(dir.filePath(name)).constData()) != 0) {
                *error = QStringLiteral("cannot link %1").arg(dir.filePath(name));
                return false;
            }
            pages << name;
        }
        list << QJsonObject{
            {"label", QStringLiteral("%1 Lib.%1 Libro").arg(b + 1, 2, 10, QLatin1Char('0'))},
            {"kind", 1},
            {"side", "D"},
            // numbered on from book to book, so a typed number
            // finds one page of the volume
            {"firstNumber", b * pagesPerBook + 1},
            {"pages", pages}};
    }
    const QJsonObject manifest{{"title", "Volume di prova"},
                               {"secondLine", size.name},
                               {"publisher", "Cartavox"},
                               {"place", "Venezia"},
                               {"year", "2024"},
                               {"workFolder", "BENCHVOL"},
                               {"cover", QJsonObject{{"book", 1}, {"page", 1}}},
                               {"books", list}};
    if (!writeFile(dir.filePath(QStringLiteral("manifest.json")),
                   QJsonDocument(manifest).toJson())) {
        *error = QStringLiteral("cannot write the manifest in %1").arg(sourceDir);
        return false;
    }
    return true;
}

} // namespace cvx::bench
