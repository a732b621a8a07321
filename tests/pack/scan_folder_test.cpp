// A digitisation studio's folder through init: every file a page or named with its reason; JPEG
// 2000 masters, 16-bit and grey-with-alpha scans converted or refused by name; the numbering gap
// whatever the names' step.
#include "pack/checks/sequence_checks.h"
#include "pack/scans/page_preparation.h"
#include "tests/pack/pack_fixture.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDirIterator>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
QByteArray box(const char* type, const QByteArray& payload) {
    QByteArray length(4, 0);
    qToBigEndian<quint32>(quint32(payload.size() + 8), length.data());
    return length + type + payload;
}

// A JPEG 2000 made by OpenJPEG's own encoder from `image`; a JP2 also carries `icc` and a capture
// resolution of 11811 pixels per metre (300 per inch), put into its header box here.
QByteArray jpeg2000(const PackBench& bench, const QImage& image, const char* suffix,
                    const QByteArray& icc) {
    const QString in = bench.path("in.png"), out = bench.path(QStringLiteral("out.") + suffix);
    EXPECT_TRUE(image.save(in));
    QProcess encoder;
    encoder.start("opj_compress", {"-n", "3", "-i", in, "-o", out});
    EXPECT_TRUE(encoder.waitForFinished() && encoder.exitCode() == 0);
    const QByteArray made = contentOf(out);
    const qsizetype header = made.indexOf("jp2h") - 4;
    if (icc.isEmpty() || header < 0)
        return made;
    const qsizetype rest = header + qFromBigEndian<quint32>(made.constData() + header);
    const QByteArray ihdr = made.mid(made.indexOf("ihdr") - 4, 22);
    const QByteArray resc("\x2e\x23\x00\x01\x2e\x23\x00\x01\x00\x00", 10); // 11811 / 1
    return made.left(header) +
           box("jp2h", ihdr + box("colr", QByteArray("\x02\x00\x00", 3) + icc) +
                           box("res ", box("resc", resc))) +
           made.mid(rest);
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

QImage filled(QImage::Format format, QColor colour) {
    QImage image(8, 8, format);
    image.fill(colour);
    return image;
}

// A grey TIFF with an unassociated alpha channel, which Qt reads without it.
QByteArray greyAlphaTiff() {
    QByteArray tiff("II*\x00\x08\x00\x00\x00\x0a\x00", 10);
    const auto entry = [&](quint16 tag, quint16 type, quint32 value) {
        QByteArray e(12, 0);
        qToLittleEndian<quint16>(tag, e.data());
        qToLittleEndian<quint16>(type, e.data() + 2);
        qToLittleEndian<quint32>(1, e.data() + 4);
        qToLittleEndian<quint32>(value, e.data() + 8);
        tiff += e;
    };
    for (const auto& [tag, value] : std::initializer_list<std::pair<quint16, quint32>>{{256, 2},
                                                                                       {257, 1},
                                                                                       {258, 8},
                                                                                       {259, 1},
                                                                                       {262, 1},
                                                                                       {273, 134},
                                                                                       {277, 2},
                                                                                       {278, 1},
                                                                                       {279, 4},
                                                                                       {338, 2}})
        entry(tag, tag == 273 || tag == 279 ? 4 : 3, value);
    return tiff + QByteArray(4, 0) + QByteArray("\x80\xff\x80\x00", 4);
}
} // namespace

TEST(ScanFolder, EveryFileIsAPageOrNamedWithItsReason) {
    PackBench bench;
    const QStringList files = // "ä" decomposed in the last two, as macOS writes names
        QString::fromUtf8("frontespizio.tif|leggimi.txt|.DS_Store|copertina.gif|Testo/0001.jpg|"
                          "Testo/0002.jp2|Testo/0003.jpg|Testo/0004.j2k|Testo/._0001.jpg|"
                          "Opera/Tomo I/001.jpg|Opera/Tomo I/002.png|Opera/Tomo II/001.jpg|"
                          "Opera/Tomo I/tiff/001.tif|.miniature/1.jpg|Gebra\xcc\x88uche/1.jpg|"
                          "Gebra\xcc\x88uche/na\xcc\x88he.md")
            .split('|');
    const QImage page = QImage::fromData(noisyJpeg({60, 80}, 1));
    for (const QString& f : files) {
        const QString suffix = QFileInfo(f).suffix();
        bench.write("Scansioni/" + f, suffix.startsWith('j') && suffix != "jpg"
                                          ? jpeg2000(bench, page, qPrintable(suffix), {})
                                      : suffix == "jpg" ? noisyJpeg({60, 80}, 2)
                                      : suffix == "png" || suffix == "tif"
                                          ? encoded(page, qPrintable(suffix))
                                          : QByteArray("nota"));
    }
    const auto init = bench.tool({"init", bench.path("Scansioni"), "-o", bench.path("s.json")});
    ASSERT_EQ(init.status, 0) << init.err.toStdString();
    const QJsonObject m = QJsonDocument::fromJson(contentOf(bench.path("s.json"))).object();
    QStringList labels, pages;
    for (const QJsonValue b : m["books"].toArray()) {
        labels << b["label"].toString();
        for (const QJsonValue p : b["pages"].toArray())
            pages << QDir::cleanPath(bench.path(p.toString()));
    }
    EXPECT_EQ(labels.join('|'), QString::fromUtf8("frontespizio|Gebräuche|Opera, Tomo I|Opera, "
                                                  "Tomo II|Testo"));
    QDirIterator all(bench.path("Scansioni"), QDir::Files | QDir::Hidden,
                     QDirIterator::Subdirectories);
    int accounted = 0;
    while (all.hasNext()) {
        const QString path = all.next();
        const QString shown =
            QDir(bench.path("")).relativeFilePath(path).normalized(QString::NormalizationForm_C);
        bool named = false;
        const QRegularExpression listed("[:,] \\Q" + QFileInfo(shown).fileName() + "\\E(,|$)");
        for (QString folder = QFileInfo(shown).path(); folder != ".";
             folder = QFileInfo(folder).path())
            for (const QString& line : init.out.split('\n'))
                named |= line.startsWith("  " + folder + ": ") &&
                         (line.contains("non presa") ||
                          (folder == QFileInfo(shown).path() && listed.match(line).hasMatch()));
        EXPECT_NE(pages.contains(path), named) << shown.toStdString();
        ++accounted;
    }
    EXPECT_EQ(accounted, files.size());
    EXPECT_EQ(pages.size(), 9) << init.out.toStdString();
    EXPECT_TRUE(init.out.contains("tiff: cartella annidata oltre 2 livelli, non presa (1 file)"));
    const auto check = bench.tool({"check", bench.path("s.json")});
    EXPECT_FALSE(check.err.contains("saltano")) << check.err.toStdString();
}

TEST(ScanFolder, HighDepthAlphaAndJpeg2000ScansConvertOrAreRefusedByName) {
    PackBench bench;
    const QByteArray icc = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    const struct {
        const char* name;
        QByteArray scan;
        QRgb onPaper; // the colour expected, transparency laid on white
    } cases[] = {
        {"16-bit grey PNG", encoded(filled(QImage::Format_Grayscale16, Qt::darkGray), "png"),
         qRgb(128, 128, 128)},
        {"16-bit RGBA PNG", encoded(filled(QImage::Format_RGBA64, QColor(255, 0, 0, 128)), "png"),
         qRgb(255, 127, 127)},
        {"16-bit RGB TIFF", encoded(filled(QImage::Format_RGBX64, Qt::blue), "tiff"),
         qRgb(0, 0, 255)},
        {"grey J2K", jpeg2000(bench, filled(QImage::Format_Grayscale8, Qt::darkGray), "j2k", {}),
         qRgb(128, 128, 128)},
        {"RGB JP2", jpeg2000(bench, filled(QImage::Format_RGB32, Qt::darkGreen), "jp2", icc),
         qRgb(0, 128, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const pack::PreparedImage r = pack::prepareImage(c.scan, 95);
        ASSERT_EQ(r.problem, "");
        EXPECT_TRUE(r.converted);
        const QImage jpeg = QImage::fromData(r.image);
        const QRgb got = jpeg.pixel(4, 4);
        EXPECT_LE(std::abs(qRed(got) - qRed(c.onPaper)) +
                      std::abs(qGreen(got) - qGreen(c.onPaper)) +
                      std::abs(qBlue(got) - qBlue(c.onPaper)),
                  6)
            << std::hex << got;
        if (std::string(c.name) == "RGB JP2") {
            EXPECT_EQ(jpeg.colorSpace(), QColorSpace(QColorSpace::AdobeRgb));
            EXPECT_EQ(jpeg.dotsPerMeterX(), 11811); // 300 per inch in the JFIF header
        }
    }
    EXPECT_EQ(pack::prepareImage(greyAlphaTiff(), 95).problem,
              "il TIFF in grigi con canale alfa non si converte: salvarlo senza trasparenza o in "
              "PNG");
}

TEST(ScanFolder, ANumberingGapIsFoundWhateverTheNamesStep) {
    PackBench bench;
    bench.write("n/0002.jp2", "x");
    bench.write("n/0004.jp2", "x");
    const struct {
        int kind;
        std::vector<int> numbers;
        const char* expected; // the pages warned about ("-" the book), "+" naming files left out
    } cases[] = {
        {1, {1, 3, 5, 7, 9}, "- 1+ 2+"}, // 0002 and 0004 beside: those two gaps are sure
        {1, {11, 13, 15, 17}, "-"},      // only odd numbers: said once for the book
        {2, {6, 8, 10, 12}, ""},         // openings named by their first page
        {1, {10, 20, 30, 50}, "- 3"},    // by tens, and a jump of twenty
        {0, {11, 12, 13, 15, 16}, "3"},
    };
    for (const auto& c : cases) {
        pack::CheckedBook book{"libro", c.kind, "D", 1, {}};
        for (const int n : c.numbers) {
            const QString name = QStringLiteral("n/%1.jpg").arg(n, 4, 10, QLatin1Char('0'));
            book.pages << pack::CheckedPage{name, name, {}, bench.path(name)};
        }
        QList<pack::Finding> found;
        pack::checkFileNames(book, 0, found);
        QStringList pages;
        for (const pack::Finding& f : found)
            pages << (f.firstPage < 0 ? "-" : QString::number(f.firstPage)) +
                         (f.text.contains("stessa cartella: 000") ? "+" : "");
        EXPECT_EQ(pages.join(' ').toStdString(), c.expected) << c.numbers.front();
    }
}
