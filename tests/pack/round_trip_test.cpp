// Round trip: a volume packed from a manifest reads back with the viewer's own layout helpers,
// and extraction gives back the publisher's files byte for byte.
#include "app/product_block.h"
#include "app/text_rules.h"
#include "archive/archive_layout.h"
#include "archive/entry_restore.h"
#include "pack/volume/volume_check.h"
#include "pack/volume/volume_writer.h"
#include "tests/pack/pack_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QJsonArray>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// The characters of the string record in slot k, read straight from the executable's bytes.
QString slotText(const QByteArray& exe, qint64 base, int k) {
    const auto chars =
        block::decodeStringRecord(exe.mid(block::slotPosition(base, k) - 1, block::kSlotSize));
    return chars ? fromSingleByte(*chars) : QStringLiteral("<no record>");
}

struct Slot {
    QString text;
    QByteArray entry;
};

// The directory of an archive and each entry restored, read with the layout helpers.
QList<Slot> directory(const QByteArray& archive) {
    QList<Slot> entries;
    for (int i = 0; i < archive::kMaxEntries; ++i) {
        const QString text = trimBlanks(fromSingleByte(
            archive.mid(archive::slotTextPosition(i) - 1, archive::kSlotTextLength)));
        if (archive::endsDirectory(text))
            break;
        const archive::SlotFields f = archive::splitSlotText(text);
        QByteArray entry = archive.mid(static_cast<qint64>(numericValue(f.offsetText)) - 1,
                                       static_cast<qint64>(numericValue(f.lengthText)));
        EXPECT_TRUE(archive::restoreEntry(entry)) << text.toStdString();
        entries.append({text, entry});
    }
    return entries;
}
} // namespace

TEST(PackRoundTrip, BlockReadsBackWithTheViewersLayout) {
    PackBench bench;
    const pack::BuildReport report = bench.build();
    ASSERT_TRUE(report.ok()) << report.errors.join('\n').toStdString();
    EXPECT_EQ(report.books, 3);
    EXPECT_EQ(report.pages, 7);

    const QByteArray exe = contentOf(QDir(bench.outDir()).filePath("Cartavox.exe"));
    ASSERT_TRUE(exe.startsWith(bench.viewer));
    // The 1600-byte viewer puts slot 0 at position 1601: base = 1601 + 35000.
    const QByteArray digits = exe.mid(exe.size() - 8048 - 1, 8);
    EXPECT_EQ(digits, "00036601");
    const qint64 base = 36601;
    EXPECT_EQ(slotText(exe, base, 1), "00002"); // the cover is in the second archive
    EXPECT_EQ(slotText(exe, base, 2), QString::fromLatin1("2\0", 2)); // its third page
    EXPECT_EQ(slotText(exe, base, 3), QString::fromLatin1("Historia Naturalis\0", 19));
    EXPECT_EQ(slotText(exe, base, 7), QString::fromLatin1("1472\0", 5));
    EXPECT_EQ(exe.mid(base - 7116 - 1, 8), "PLINIO  ");

    const block::BookRecordFields sheets = block::splitBookRecord(slotText(exe, base, 9));
    EXPECT_EQ(sheets.label, "02 Lib.02 Primo libro");
    EXPECT_EQ(sheets.numberingKind, 0);
    EXPECT_EQ(sheets.firstSide, "D");
    EXPECT_EQ(sheets.firstNumber, 1);
    EXPECT_EQ(slotText(exe, base, 10).size(), 60);
    EXPECT_EQ(slotText(exe, base, 11), "<no record>"); // three books, three records
}

TEST(PackRoundTrip, DirectoriesHoldTheScansInReadingOrder) {
    PackBench bench;
    ASSERT_TRUE(bench.build().ok());
    const QList<Slot> entries = directory(contentOf(QDir(bench.outDir()).filePath("dv00002.ex_")));
    ASSERT_EQ(entries.size(), 3);
    // The first entry follows the 401 entries: 243 + 26 x 401 = 10669.
    EXPECT_TRUE(entries[0].text.startsWith("P00010000010669"));
    EXPECT_EQ(archive::sequenceNumber(entries[2].text), 3);
    for (int k = 0; k < 3; ++k) {
        const QByteArray scan = bench.scans.value(QStringLiteral("text/%1.jpg").arg(k + 1));
        EXPECT_EQ(entries[k].entry.left(scan.size()), scan) << k;
        // A small scan is padded with zeros after its end, up to 7705 bytes.
        EXPECT_EQ(entries[k].entry.size(), std::max<qsizetype>(scan.size(), 7705)) << k;
    }
    EXPECT_TRUE(QDir(bench.outDir()).exists("dv00003.ex_"));
    EXPECT_FALSE(QDir(bench.outDir()).exists("dv00004.ex_"));
}

TEST(PackRoundTrip, ExtractGivesBackTheScansByteForByte) {
    PackBench bench;
    ASSERT_TRUE(bench.build().ok());
    const pack::VolumeInfo volume = pack::readVolume(bench.outDir());
    EXPECT_TRUE(volume.problems.isEmpty()) << volume.problems.join('\n').toStdString();
    const pack::ExtractReport r = pack::extractVolume(volume, bench.path("pages"));
    EXPECT_TRUE(r.problems.isEmpty());
    EXPECT_EQ(r.written, 7);
    const std::pair<const char*, const char*> expected[] = {
        {"dv00001_0001.jpg", "front/a.jpg"}, {"dv00001_0002.jpg", "front/b.jpg"},
        {"dv00002_001d.jpg", "text/1.jpg"},  {"dv00002_002s.jpg", "text/2.jpg"},
        {"dv00002_002d.jpg", "text/3.jpg"},  {"dv00003_0003.jpg", "wide/1.jpg"},
        {"dv00003_0005.jpg", "wide/2.jpg"}};
    for (const auto& [extracted, scan] : expected)
        EXPECT_EQ(contentOf(bench.path(QStringLiteral("pages/") + extracted)),
                  bench.scans.value(scan))
            << extracted;
    EXPECT_EQ(QDir(bench.path("pages")).entryList(QDir::Files).size(), 7);
}

TEST(PackRoundTrip, PngAndTiffScansBecomeJpegOfTheSameSize) {
    PackBench bench;
    QImage picture(80, 100, QImage::Format_ARGB32);
    picture.fill(QColor(200, 40, 40));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            picture.setPixelColor(x, y, QColor(0, 0, 0, 0)); // a transparent corner
    picture.save(bench.path("front/c.png"));
    QImageWriter tiff(bench.path("front/d.tif"), "tiff"); // stored 80 x 100, to turn clockwise
    tiff.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(tiff.write(picture.convertToFormat(QImage::Format_RGB32)));
    setJson(bench.manifest, "books/0/pages",
            QJsonArray{"front/a.jpg", "front/b.jpg", "front/c.png", "front/d.tif"});
    const pack::BuildReport report = bench.build();
    ASSERT_TRUE(report.ok()) << report.errors.join('\n').toStdString();
    EXPECT_EQ(report.convertedPages, 2);
    ASSERT_TRUE(pack::extractVolume(pack::readVolume(bench.outDir()), bench.path("pages"))
                    .problems.isEmpty());
    for (const char* name : {"pages/dv00001_0003.jpg", "pages/dv00001_0004.jpg"}) {
        const QByteArray jpeg = contentOf(bench.path(name));
        ASSERT_TRUE(jpeg.startsWith("\xff\xd8")) << name;
        const QImage back = QImage::fromData(jpeg);
        ASSERT_EQ(back.size(), QByteArray(name).contains("0003") ? QSize(80, 100) : QSize(100, 80))
            << name;
        const QColor middle = back.pixelColor(back.width() / 2, back.height() / 2);
        EXPECT_NEAR(middle.red(), 200, 8) << name;
        EXPECT_NEAR(middle.green(), 40, 8) << name;
    }
    // Transparency shows the paper's white, not black; the TIFF's corner is turned to the right.
    EXPECT_GT(QImage::fromData(contentOf(bench.path("pages/dv00001_0003.jpg")))
                  .pixelColor(4, 4)
                  .lightness(),
              230);
    EXPECT_LT(QImage::fromData(contentOf(bench.path("pages/dv00001_0004.jpg")))
                  .pixelColor(95, 4)
                  .lightness(),
              40);
}

TEST(PackRoundTrip, EntriesWrittenInPiecesAreTheStoredEntries) {
    for (const QByteArray& image :
         {makeJpeg(QSize(60, 90), Qt::white, "1"), noisyJpeg(QSize(200, 120), 5)}) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        out.write("head");
        ASSERT_TRUE(pack::writeStoredEntry(out, image));
        EXPECT_EQ(out.data(), "head" + pack::storedEntry(image)) << image.size();
    }
}
