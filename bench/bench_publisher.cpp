// Timing init, check and proof on a folder of scans.
#include "bench/bench_publisher.h"

#include "bench/bench_pages.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <cstdio>

namespace cvx::bench {

namespace {
constexpr int kBooks = 2;
constexpr int kPagesPerBook = 150;
constexpr int kRepeats = 3;
constexpr int kDrawingVersion = 1; // bumped when the scans are drawn otherwise

QString scanPath(const QString& folder, int page) {
    return QStringLiteral("%1/libro%2/p%3.jpg")
        .arg(folder)
        .arg(page / kPagesPerBook + 1)
        .arg(page + 1, 3, 10, QLatin1Char('0'));
}

// One of the 24 MP variants with its folio printed large in a corner, so every scan differs.
QByteArray folioScan(const QImage& variant, int page) {
    QImage image = variant.copy();
    QPainter painter(&image);
    painter.setFont(QFont(QStringLiteral("DejaVu Serif"), 120));
    painter.setPen(QColor(60, 40, 20));
    painter.drawText(QRect(image.width() - 900, 100, 800, 300), Qt::AlignRight,
                     QString::number(page + 1));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    return writer.write(image) ? bytes : QByteArray();
}

// The 300 scans under `folder`, drawn once on every core and kept.
bool makeScans(const QString& cache, const QString& folder) {
    const ScanSize size = scanSizes()[1];
    QList<QImage> variants;
    for (int v = 0; v < kVariants; ++v) {
        const QByteArray jpeg = scan(cache, size, v, false);
        QBuffer buffer;
        buffer.setData(jpeg);
        QImageReader reader(&buffer);
        variants << reader.read();
        if (variants.last().isNull())
            return false;
    }
    std::atomic<bool> ok = true;
    QThreadPool pool;
    for (int page = 0; page < kBooks * kPagesPerBook; ++page)
        pool.start([&, page] {
            const QString path = scanPath(folder, page);
            if (QFile::exists(path))
                return;
            QDir().mkpath(QFileInfo(path).absolutePath());
            const QByteArray bytes = folioScan(variants[page % kVariants], page);
            QFile f(path + QStringLiteral(".part"));
            if (bytes.isEmpty() || !f.open(QIODevice::WriteOnly) ||
                f.write(bytes) != bytes.size() || !f.rename(path))
                ok = false;
        });
    pool.waitForDone();
    return ok;
}

// Seconds a program took, or -1 when it failed (exit status above `worstStatus`).
double timed(const QString& program, const QStringList& args, int worstStatus, QString* out) {
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(program, args);
    p.waitForFinished(-1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    *out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() <= worstStatus ? seconds : -1;
}

} // namespace

double djpegFloor(const QString& djpeg, const QStringList& files, int atOnce) {
    QElapsedTimer clock;
    clock.start();
    std::atomic<bool> ok = true;
    QThreadPool pool;
    pool.setMaxThreadCount(atOnce);
    for (const QString& f : files)
        pool.start([&, f] {
            QProcess p;
            p.start(djpeg, {QStringLiteral("-scale"), QStringLiteral("1/8"),
                            QStringLiteral("-outfile"), QStringLiteral("/dev/null"), f});
            ok = ok && p.waitForFinished(-1) && p.exitCode() == 0;
        });
    pool.waitForDone();
    return ok ? clock.nsecsElapsed() / 1e9 : -1;
}

namespace {

Figure figure(const QString& measure, std::vector<double> seconds, double floor,
              const QString& target, const QString& note) {
    const double value = median(seconds);
    const bool met = target.isEmpty() || value <= 1.3 * floor;
    return {measure,
            QStringLiteral("300 x 24 MP"),
            QString(),
            value,
            floor,
            QStringLiteral("s"),
            target,
            met,
            int(seconds.size()),
            note};
}
} // namespace

QList<Figure> publisherFigures(const QString& data, const QString& bin) {
    const QString folder =
        QDir(data).filePath(QStringLiteral("publisher-v%1").arg(kDrawingVersion));
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty() || !makeScans(QDir(data).filePath(QStringLiteral("scans")), folder)) {
        std::fprintf(stderr, "cartavox-bench: the publisher's scans or djpeg are missing\n");
        return {};
    }
    QStringList files;
    for (int page = 0; page < kBooks * kPagesPerBook; ++page)
        files << scanPath(folder, page);
    const QString tool = QDir(bin).filePath(QStringLiteral("cartavox-pack"));
    const QString manifest = QDir(data).filePath(QStringLiteral("publisher-manifest.json"));
    const QString proof = QDir(data).filePath(QStringLiteral("publisher-bozza.html"));
    std::vector<double> init, check, proofs, floors;
    QString initSays, checkSays, proofSays;
    for (int i = 0; i < kRepeats; ++i) {
        QFile::remove(manifest);
        init.push_back(timed(tool, {QStringLiteral("init"), folder, QStringLiteral("-o"), manifest},
                             0, &initSays));
        check.push_back(timed(tool, {QStringLiteral("check"), manifest}, 1, &checkSays));
        floors.push_back(djpegFloor(djpeg, files, QThread::idealThreadCount()));
        proofs.push_back(timed(
            tool, {QStringLiteral("proof"), manifest, QStringLiteral("-o"), proof}, 0, &proofSays));
    }
    const auto first = [](const QString& s) { return s.section(QLatin1Char('\n'), 0, 0); };
    return {figure(QStringLiteral("init"), init, 0, {}, first(initSays)),
            figure(QStringLiteral("check"), check, 0, {}, checkSays),
            figure(QStringLiteral("proof"), proofs, median(floors),
                   QStringLiteral("<= 1.3 x floor"),
                   QStringLiteral("floor = djpeg -scale 1/8, %1 at once; %2")
                       .arg(QThread::idealThreadCount())
                       .arg(first(proofSays)))};
}

} // namespace cvx::bench
