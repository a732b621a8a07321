// Banded decoding: every scan of the corpus, given restart markers by --optimize, decodes in bands
// exactly as whole at every DCT scale and shows exactly as Qt's reader shows it; a scan without
// them, or with a damaged band, is left to the whole decode and shows as it always did.
#include "pack/scans/jpeg_optimize.h"
#include "platform/jpeg_bands.h"
#include "platform/jpeg_region.h"
#include "platform/picture.h"

#include <QDirIterator>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

using namespace cvx;

namespace {
QByteArray corpusFile(const QString& path) {
    QFile f(path.startsWith('/') ? path : qEnvironmentVariable("CARTAVOX_CORPUS") + '/' + path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The corpus's scans re-encoded as --optimize stores them (the damaged ones cannot be).
std::vector<std::pair<QString, QByteArray>> optimizedCorpus() {
    std::vector<std::pair<QString, QByteArray>> out;
    QDirIterator it(qEnvironmentVariable("CARTAVOX_CORPUS"), {"*.jpg", "*.jpeg"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const pack::OptimizedJpeg o = pack::optimizeJpeg(corpusFile(it.next()));
        if (!o.bytes.isEmpty() && !Picture::fromBytes(o.bytes, {}, nullptr).isNull())
            out.emplace_back(it.fileName(), o.bytes);
    }
    std::sort(out.begin(), out.end());
    return out;
}

QImage whole(const QByteArray& jpeg, int scaleNum) {
    return decodeRegion(jpeg, QRect(0, 0, 1 << 20, 1 << 20), scaleNum).image;
}
} // namespace

TEST(JpegBands, EveryCorpusScanDecodesInBandsAsWholeAtEveryScale) {
    const auto corpus = optimizedCorpus();
    ASSERT_GE(corpus.size(), 20u);
    int n = 0;
    for (const auto& [name, jpeg] : corpus) {
        SCOPED_TRACE(name.toStdString());
        const std::optional<BandLayout> layout = bandLayout(jpeg);
        ASSERT_TRUE(layout.has_value());
        const bool cut = bandRows(*layout, 2).size() == 3; // not when a band is all there is
        const Picture picture = Picture::fromBytes(jpeg, {}, nullptr);
        const QSize full = picture.pixelSize();
        // Two scales and a band count each, so that the corpus goes through all of them; the
        // large scans at small scales only, to keep the test fast.
        const bool large = qint64(full.width()) * full.height() > 1'000'000;
        for (const int m : {1 + n % (large ? 2 : 8), 1 + (n + 4) % (large ? 3 : 8)}) {
            const QImage banded = decodeInBands(jpeg, m, 2 + n % 4);
            EXPECT_EQ(banded.isNull(), !cut) << m;
            EXPECT_TRUE(!cut || banded == whole(jpeg, m)) << m;
        }
        // And as the viewer shows it: Qt's scale, then Qt's smoothing, odd sizes too.
        for (const QSize size : {(full + QSize(1, 1)) / 3, (full + QSize(6, 6)) / 7}) {
            EXPECT_EQ(decodeShownInBands(jpeg, size, 3).isNull(), !cut);
            EXPECT_TRUE(picture.decodedAt(size, 3).scaled(size) == picture.scaled(size));
        }
        ++n;
    }
}

TEST(JpegBands, AnythingElseIsDecodedWholeAsBefore) {
    const QByteArray jpeg = optimizedCorpus().front().second;
    const std::optional<BandLayout> layout = bandLayout(jpeg);
    ASSERT_TRUE(layout && layout->segments.size() > 4);
    // A band with half its data missing: the restart marker comes early, libjpeg warns.
    const auto [begin, end] = layout->segments[3];
    const QByteArray damaged = QByteArray(jpeg).remove(begin, (end - begin) / 2);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {{"damaged band", damaged},
                 {"no restart markers", corpusFile("jpeg-variants/go_video-001.q50.420.jpeg")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QSize size = Picture::fromBytes(c.bytes, {}, nullptr).pixelSize() / 2;
        EXPECT_TRUE(decodeInBands(c.bytes, 4, 3).isNull());
        const Picture picture = Picture::fromBytes(c.bytes, {}, nullptr);
        EXPECT_TRUE(picture.decodedAt(size, 3).scaled(size) == picture.scaled(size));
    }
    EXPECT_TRUE(decodeInBands(jpeg, 4, 1).isNull());
}
