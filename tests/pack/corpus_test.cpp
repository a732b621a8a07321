// The real-world JPEG corpus: every file that Qt's decoder reads packs, verifies and comes
// back byte for byte; every damaged one is refused by name, leaving nothing behind.
#include "pack/checks/manifest_and_scans.h"
#include "pack/volume/volume_check.h"
#include "tests/pack/pack_fixture.h"

#include <QDirIterator>
#include <QImageReader>
#include <QJsonArray>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
QString corpusFolder() {
    return qEnvironmentVariable("CARTAVOX_CORPUS");
}

QStringList corpusJpegs() {
    QStringList files;
    QDirIterator it(corpusFolder(), {"*.jpg", "*.jpeg"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// Whether Qt's own reader, used directly, gets a picture out of the file.
bool qtDecodes(const QString& path) {
    return !QImageReader(path).read().isNull();
}

// The corpus's scans with an EXIF orientation (from its MANIFEST.tsv): the size they are packed at
// and whether the turn keeps every DCT block whole (4:2:0 blocks are 16 x 16 pixels).
struct Turned {
    const char* name;
    QSize upright;
    bool lossless;
};
const Turned kTurned[] = {
    {"exif_Landscape_6.jpg", {1800, 1200}, false}, // 90° clockwise: 1800 rows are no multiple of 16
    {"exif_Landscape_8.jpg", {1800, 1200}, true},  // 90° anticlockwise: 1200 columns are
    {"exif_Portrait_5.jpg", {1200, 1800}, true}};  // transposed: every block stays whole

const Turned* turned(const QString& path) {
    for (const Turned& t : kTurned)
        if (path.endsWith(QLatin1String(t.name)))
            return &t;
    return nullptr;
}

} // namespace

TEST(PackCorpus, EveryJpegQtDecodesPacksVerifiesAndExtractsUnchanged) {
    const QStringList files = corpusJpegs();
    ASSERT_GE(files.size(), 20) << "corpus not found at CARTAVOX_CORPUS="
                                << corpusFolder().toStdString();
    QStringList good;
    for (const QString& f : files)
        if (qtDecodes(f))
            good << f;
    ASSERT_GE(good.size(), 20);
    PackBench bench;
    bench.setBooks({bookJson("01 Lib.01 Corpus", 1, 1, good)});
    // check names the three scans to turn, and no error (unlike scans differ in size, too).
    int turns = 0;
    for (const pack::Finding& f : pack::checkManifest(bench.path("manifest.json"), {}).findings)
        turns += f.text.contains("l'orientamento EXIF") ? 1 : f.severity == pack::Severity::Error;
    EXPECT_EQ(turns, 3);
    const pack::BuildReport report = bench.build();
    ASSERT_TRUE(report.ok()) << report.errors.join('\n').toStdString();
    EXPECT_EQ(report.turnedLosslessly, 2);
    EXPECT_EQ(report.turnedReencoded, 1);
    const pack::VolumeInfo volume = pack::readVolume(bench.outDir());
    EXPECT_EQ(pack::verifyVolume(volume).join('\n'), "");
    ASSERT_TRUE(pack::extractVolume(volume, bench.path("pages")).problems.isEmpty());
    for (int i = 0; i < good.size(); ++i) {
        SCOPED_TRACE(good[i].toStdString());
        const QByteArray back = contentOf(
            bench.path(QStringLiteral("pages/dv00001_%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0'))));
        const Turned* t = turned(good[i]);
        if (!t) {
            EXPECT_EQ(back, contentOf(good[i]));
            continue;
        }
        // Stored upright, with no orientation left: what Qt shows turning the scan itself.
        QImageReader stored(
            bench.path(QStringLiteral("pages/dv00001_%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0'))));
        EXPECT_EQ(stored.transformation(), QImageIOHandler::TransformationNone);
        QImageReader original(good[i]);
        original.setAutoTransform(true);
        const QImage upright = original.read(), packed = stored.read();
        ASSERT_EQ(packed.size(), t->upright);
        ASSERT_EQ(upright.size(), t->upright);
        EXPECT_LT(meanDifference(packed, upright), t->lossless ? 0.5 : 2.0);
    }
}

TEST(PackCorpus, DamagedJpegsAreRefusedByName) {
    QStringList damaged;
    for (const QString& f : corpusJpegs())
        if (!qtDecodes(f))
            damaged << f;
    EXPECT_FALSE(damaged.isEmpty()); // the corpus's empty file at least
    PackBench bench;
    for (const QString& f : damaged) {
        SCOPED_TRACE(f.toStdString());
        ASSERT_FALSE(qtDecodes(f));
        setJson(bench.manifest, "books/0/pages", QJsonArray{"front/b.jpg", f});
        QStringList before = bench.listing();
        const pack::BuildReport report = bench.build();
        QStringList after = bench.listing();
        before.removeAll("manifest.json");
        after.removeAll("manifest.json");
        ASSERT_EQ(report.errors.size(), 1) << report.errors.join('\n').toStdString();
        EXPECT_TRUE(report.errors[0].contains(QStringLiteral("pagina 2 (0002, %1): ").arg(f)))
            << report.errors[0].toStdString();
        EXPECT_EQ(after.join(' '), before.join(' '));
    }
}
