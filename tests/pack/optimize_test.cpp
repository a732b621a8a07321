// cartavox-pack build --optimize: progressive and generically coded JPEG scans re-encoded as
// baseline with their own tables, pixel for pixel the same, markers kept, damaged scans left
// alone; and a whole build that stores them so.
#include "pack/scans/jpeg_optimize.h"
#include "pack/volume/volume_check.h"
#include "tests/pack/pack_fixture.h"
#include "tests/support/test_volume.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonDocument>
#include <QPainter>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::pack;
using namespace cvx::test;

namespace {
// A page-like picture: shaded paper, lines of "text" and a frame, so every table has work.
QImage page(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(220 + (x * 7 + y * 3) % 30, 200 + (x ^ y) % 40, 160));
    QPainter p(&image);
    p.setPen(Qt::black);
    for (int y = 20; y < size.height() - 20; y += 14)
        p.drawText(10, y, QStringLiteral("Della Betonica e delle sue virtù, cap. %1").arg(y));
    p.drawRect(image.rect().adjusted(4, 4, -5, -5));
    return image;
}

QByteArray encode(const QImage& image, bool progressive, int quality = 85) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.setText(QStringLiteral("Description"), QStringLiteral("Carta 12 recto"));
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

QImage decode(const QByteArray& jpeg, QSize scaled = {}) {
    QByteArray copy = jpeg;
    QBuffer buffer(&copy);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (scaled.isValid())
        reader.setScaledSize(scaled);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// Whether the file has a start-of-frame marker of this kind (0xC0 baseline, 0xC2 progressive)
// before its first scan.
bool hasFrame(const QByteArray& jpeg, char kind) {
    const qsizetype scan = jpeg.indexOf(QByteArrayView("\xff\xda", 2));
    const qsizetype frame = jpeg.indexOf(QByteArray("\xff") + kind);
    return frame >= 0 && frame < scan;
}

// The restart interval the file's DRI sets and the RSTn codes after its scan header, read from
// the bytes as they lie (no entropy-coded byte is 0xFF followed by 0xD0-0xD7: stuffing forbids it).
std::pair<int, QList<int>> restarts(const QByteArray& jpeg) {
    const qsizetype dri = jpeg.indexOf(QByteArrayView("\xff\xdd\x00\x04", 4));
    const int interval = dri < 0 ? 0 : uchar(jpeg[dri + 4]) << 8 | uchar(jpeg[dri + 5]);
    QList<int> codes;
    for (qsizetype i = jpeg.indexOf(QByteArrayView("\xff\xda", 2)); i + 1 < jpeg.size(); ++i)
        if (uchar(jpeg[i]) == 0xFF && uchar(jpeg[i + 1]) >= 0xD0 && uchar(jpeg[i + 1]) <= 0xD7)
            codes << uchar(jpeg[i + 1]) - 0xD0;
    return {interval, codes};
}
} // namespace

TEST(OptimizeJpeg, ARestartMarkerFollowsEveryMcuRowAndThePixelsStay) {
    // Qt writes 4:2:0, MCUs of 16 x 16: 330 x 250 is 21 MCUs a row, 16 rows, 15 markers between.
    const QByteArray plain = encode(page(QSize(330, 250)), false);
    ASSERT_EQ(restarts(plain).first, 0);
    const OptimizedJpeg o = optimizeJpeg(plain);
    ASSERT_FALSE(o.bytes.isEmpty()) << o.problem.toStdString();
    const auto [interval, codes] = restarts(o.bytes);
    EXPECT_EQ(interval, 21);
    ASSERT_EQ(codes.size(), 15);
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(codes[i], i % 8);
    EXPECT_TRUE(o.restartsAdded);
    EXPECT_TRUE(decode(o.bytes) == decode(plain));
}

TEST(OptimizeJpeg, AProgressiveScanBecomesBaselineWithTheSamePixels) {
    const QByteArray progressive = encode(page(QSize(320, 240)), true);
    ASSERT_TRUE(hasFrame(progressive, '\xc2'));
    const OptimizedJpeg o = optimizeJpeg(progressive);
    ASSERT_FALSE(o.bytes.isEmpty()) << o.problem.toStdString();
    EXPECT_TRUE(o.progressive);
    EXPECT_TRUE(hasFrame(o.bytes, '\xc0'));
    EXPECT_FALSE(hasFrame(o.bytes, '\xc2'));
    EXPECT_TRUE(decode(o.bytes) == decode(progressive));
    // Also as the viewer reads it, at a reduced size.
    EXPECT_TRUE(decode(o.bytes, QSize(60, 80)) == decode(progressive, QSize(60, 80)));
    EXPECT_TRUE(worthStoring(progressive, o));
}

TEST(OptimizeJpeg, GenericTablesAreReplacedAndTheScanShrinks) {
    const QByteArray generic = encode(page(QSize(320, 240)), false);
    const OptimizedJpeg o = optimizeJpeg(generic);
    ASSERT_FALSE(o.bytes.isEmpty()) << o.problem.toStdString();
    EXPECT_FALSE(o.progressive);
    EXPECT_LT(o.bytes.size(), generic.size());
    EXPECT_TRUE(decode(o.bytes) == decode(generic));
    EXPECT_TRUE(worthStoring(generic, o));
    // Done twice, the second pass finds nothing more to gain.
    const OptimizedJpeg again = optimizeJpeg(o.bytes);
    EXPECT_FALSE(worthStoring(o.bytes, again));
}

TEST(OptimizeJpeg, CommentsAreKept) {
    const OptimizedJpeg o = optimizeJpeg(encode(page(QSize(200, 120)), true));
    QByteArray copy = o.bytes;
    QBuffer buffer(&copy);
    EXPECT_EQ(QImageReader(&buffer).text(QStringLiteral("Description")), "Carta 12 recto");
}

TEST(OptimizeJpeg, ADamagedScanIsLeftAsItIs) {
    const QByteArray whole = encode(page(QSize(320, 240)), false);
    for (const QByteArray& damaged :
         {whole.left(whole.size() / 2), QByteArray("not a picture at all"), QByteArray()}) {
        const OptimizedJpeg o = optimizeJpeg(damaged);
        EXPECT_TRUE(o.bytes.isEmpty());
        EXPECT_FALSE(worthStoring(damaged, o));
    }
    EXPECT_FALSE(optimizeJpeg(QByteArray("not a picture at all")).problem.isEmpty());
}

TEST(OptimizeBuild, StoresReencodedScansThatShowTheSamePixels) {
    PackBench bench;
    bench.write(QStringLiteral("text/1.jpg"), encode(page(QSize(300, 400)), true));
    bench.scans[QStringLiteral("text/1.jpg")] = encode(page(QSize(300, 400)), true);
    bench.write(QStringLiteral("manifest.json"), QJsonDocument(bench.manifest).toJson());
    pack::BuildOptions options;
    options.manifestPath = bench.path(QStringLiteral("manifest.json"));
    options.outDir = bench.outDir();
    options.viewerPath = bench.viewerPath();
    options.optimize = true;
    const pack::BuildReport r = pack::buildVolume(options);
    ASSERT_TRUE(r.ok()) << r.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(r.progressivePages, 1);
    EXPECT_GE(r.optimizedPages, 1);
    EXPECT_LT(r.bytesAfterOptimizing, r.bytesBeforeOptimizing + 1);

    // Every stored page shows what its scan shows; the progressive one is stored baseline.
    const pack::VolumeInfo volume = pack::readVolume(bench.outDir());
    const QStringList files = {"front/a.jpg", "front/b.jpg", "text/1.jpg", "text/2.jpg",
                               "text/3.jpg",  "wide/1.jpg",  "wide/2.jpg"};
    int n = 0;
    for (int b = 0; b < volume.books.size(); ++b)
        for (const pack::EntryInfo& entry : volume.books[b].entries) {
            const QByteArray image = pack::readEntry(volume, b, entry).image(entry);
            const QByteArray scan = bench.scans.value(files[n++]);
            EXPECT_TRUE(decode(image) == decode(scan)) << n;
            if (files[n - 1] == QLatin1String("text/1.jpg")) {
                EXPECT_TRUE(hasFrame(image, '\xc0') && image != scan);
            }
        }
    EXPECT_EQ(n, files.size());
}

TEST(OptimizeBuild, TheToolSaysWhatItSaved) {
    PackBench bench;
    const auto run =
        bench.tool({"build", "@", bench.outDir(), "--viewer", bench.viewerPath(), "--optimize"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    // The fixture's scans come from Qt's writer, with its generic tables: all can shrink.
    EXPECT_TRUE(run.out.contains("Ottimizzazione: 7 scansioni JPEG ricodificate senza perdita (0 "
                                 "progressive rese sequenziali)"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("risparmiati"));
}
