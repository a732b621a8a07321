// The check of JPEG scans stored as they are: it decodes no pixels, yet refuses what the viewer's
// decoder refuses (damaged headers and tables, faults after the scan, a missing end) and takes
// what it shows, damaged scan data included, as a whole decode at display size finds.
#include "pack/scans/jpeg_structure.h"
#include "pack/scans/page_preparation.h"
#include "tests/pack/pack_fixture.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::pack;
using namespace cvx::test;

namespace {
// A marker segment of the header: where its 0xFF is, and its length with the marker.
struct Segment {
    qsizetype at = 0;
    qsizetype length = 0;
    unsigned char code = 0;
};

// The segments from the start of the file to the first scan header, included.
QList<Segment> headerSegments(const QByteArray& jpeg) {
    QList<Segment> list;
    for (qsizetype at = 2; at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF;) {
        const Segment s{at, 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3])),
                        uchar(jpeg[at + 1])};
        list << s;
        if (s.code == 0xDA)
            break;
        at += s.length;
    }
    return list;
}

qsizetype scanDataStart(const QByteArray& jpeg) {
    const Segment sos = headerSegments(jpeg).last();
    EXPECT_EQ(sos.code, 0xDA);
    return sos.at + sos.length;
}

QByteArray segment(unsigned char code, const QByteArray& payload) {
    const qsizetype length = payload.size() + 2;
    return QByteArray("\xff") + char(code) + char(length >> 8) + char(length & 0xff) + payload;
}

QByteArray withoutSegments(QByteArray jpeg, unsigned char code) {
    const QList<Segment> list = headerSegments(jpeg);
    for (auto s = list.rbegin(); s != list.rend(); ++s)
        if (s->code == code)
            jpeg.remove(s->at, s->length);
    return jpeg;
}

// `bytes` put just before the file's end-of-image marker.
QByteArray beforeEnd(QByteArray jpeg, const QByteArray& bytes) {
    return jpeg.insert(jpeg.lastIndexOf(QByteArrayView("\xff\xd9", 2)), bytes);
}

bool viewerDecodes(const QByteArray& jpeg) {
    return decodeProblem(jpeg).isEmpty();
}

std::string problemOf(const QByteArray& jpeg) {
    return scanProblem(jpeg).toStdString();
}

// A grey picture of 2400 x 2400 pixels whose every block adds the largest difference there is to
// the DC value, which leaves the range of an int after 65538 blocks.
QByteArray driftingDc(bool progressive) {
    const QByteArray oneCode = QByteArray(1, '\1') + QByteArray(15, '\0'); // one code, "0"
    QByteArray jpeg("\xff\xd8", 2);
    jpeg += segment(0xDB, QByteArray(1, '\0') + QByteArray(64, '\1'));
    jpeg +=
        segment(progressive ? 0xC2 : 0xC0, QByteArray("\x08\x09\x60\x09\x60\x01\x01\x11\x00", 9));
    jpeg += segment(0xC4, '\x00' + oneCode + '\x0f'); // DC: the difference of 15 bits
    if (progressive) {
        jpeg += segment(0xDA, QByteArray("\x01\x01\x00\x00\x00\x00", 6)); // DC only
    } else {
        jpeg += segment(0xC4, '\x10' + oneCode + '\x00'); // AC: end of block
        jpeg += segment(0xDA, QByteArray("\x01\x01\x00\x00\x3f\x00", 6));
    }
    // Per block "0" and fifteen ones (+32767), then "0" for the end of block when sequential.
    QList<bool> bits;
    for (int block = 0; block < 300 * 300; ++block) {
        bits << false;
        for (int i = 0; i < 15; ++i)
            bits << true;
        if (!progressive)
            bits << false;
    }
    while (bits.size() % 8)
        bits << true;
    for (qsizetype i = 0; i < bits.size(); i += 8) {
        int byte = 0;
        for (int b = 0; b < 8; ++b)
            byte = byte << 1 | (bits[i + b] ? 1 : 0);
        jpeg += char(byte);
        if (byte == 0xFF)
            jpeg += '\0';
    }
    return jpeg + "\xff\xd9";
}

const QString kBaseline = QStringLiteral("real-scans/lept_breviar.38.150.jpg");
const std::string kTruncated = "il file JPEG è troncato: manca la fine dell'immagine";
} // namespace

TEST(ScanCheck, AgreesWithAWholeDecodeOnEveryCorpusFile) {
    QDirIterator it(qEnvironmentVariable("CARTAVOX_CORPUS"), {"*.jpg", "*.jpeg"}, QDir::Files,
                    QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QByteArray jpeg = contentOf(it.next());
        SCOPED_TRACE(it.filePath().toStdString());
        ++files;
        EXPECT_EQ(scanProblem(jpeg).isEmpty(), jpegComplete(jpeg) && viewerDecodes(jpeg));
    }
    EXPECT_GE(files, 20);
}

TEST(ScanCheck, RefusesACutOrUnendedScan) {
    const QByteArray jpeg = corpusFile(kBaseline);
    ASSERT_EQ(problemOf(jpeg), "");
    EXPECT_EQ(problemOf(jpeg.left(jpeg.size() * 2 / 3)), kTruncated);
    EXPECT_EQ(problemOf(jpeg.chopped(2)), kTruncated);
}

TEST(ScanCheck, RefusesHeadersTheDecoderStopsOn) {
    const QByteArray jpeg = corpusFile(kBaseline);
    const QList<Segment> header = headerSegments(jpeg);
    QByteArray undefinedTable = jpeg; // the first colour component's tables made number 2
    undefinedTable[header.last().at + 6] = '\x22';
    QByteArray twelveBits = jpeg;
    for (const Segment& s : header)
        if (s.code == 0xC0)
            twelveBits[s.at + 4] = 12;
    QByteArray garbage(20000, '\0');
    QRandomGenerator random(7);
    random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    const struct {
        const char* name;
        QByteArray bytes;
        std::string problem;
    } cases[] = {
        {"undefined Huffman table", undefinedTable,
         "l'immagine JPEG non si può decodificare (Huffman table 0x02 was not defined)"},
        {"12-bit samples", twelveBits, "il file non contiene un'immagine leggibile"},
        {"random bytes", garbage + "\xff\xd9", "il file non contiene un'immagine leggibile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(viewerDecodes(c.bytes));
        EXPECT_EQ(problemOf(c.bytes), c.problem);
    }
}

TEST(ScanCheck, TakesAFileWithoutHuffmanTablesAsTheDecoderDoes) {
    // libjpeg decodes a scan without tables with the standard ones, as motion JPEG needs.
    const QByteArray noTables = withoutSegments(corpusFile(kBaseline), 0xC4);
    EXPECT_TRUE(viewerDecodes(noTables));
    EXPECT_EQ(problemOf(noTables), "");
}

TEST(ScanCheck, ReadsTheMarkersThatFollowTheScan) {
    // The decoder meets these only after the scan's data, in a file whose header is sound.
    const QByteArray jpeg = corpusFile(kBaseline);
    const QList<Segment> header = headerSegments(jpeg);
    const QByteArray frame = jpeg.mid(header[3].at, header[3].length);
    ASSERT_EQ(uchar(frame[1]), 0xC0);
    const QByteArray scanHeader = jpeg.mid(header.last().at, header.last().length);
    const QByteArray cases[] = {
        scanHeader + QByteArray(40, '\x11'),   // a second scan in a file of one
        frame,                                 // a second frame
        segment(0xC4, QByteArray(17, '\xff')), // a Huffman table of too many codes
        QByteArray("\xff\x05", 2),             // a reserved marker
        QByteArray("\xff\xd8", 2),             // a second start of image
    };
    for (const QByteArray& after : cases) {
        SCOPED_TRACE(after.left(2).toHex().toStdString());
        const QByteArray damaged = beforeEnd(jpeg, after);
        EXPECT_FALSE(viewerDecodes(damaged));
        EXPECT_NE(problemOf(damaged), "");
    }
    const QByteArray harmless = beforeEnd(jpeg, segment(0xFE, "scansione 2024") + "\xff\xd0");
    EXPECT_TRUE(viewerDecodes(harmless));
    EXPECT_EQ(problemOf(harmless), "");
}

TEST(ScanCheck, DecodesProgressiveDataTheDecoderMayStopOn) {
    const QByteArray sequential = driftingDc(false);
    EXPECT_TRUE(viewerDecodes(sequential));
    EXPECT_EQ(problemOf(sequential), "");
    const QByteArray progressive = driftingDc(true);
    EXPECT_FALSE(viewerDecodes(progressive));
    EXPECT_EQ(problemOf(progressive),
              "l'immagine JPEG non si può decodificare (DCT coefficient out of range)");
}

TEST(ScanCheck, TakesDamagedScanDataAsTheViewerShowsIt) {
    QByteArray jpeg = corpusFile(kBaseline);
    const qsizetype start = scanDataStart(jpeg);
    for (qsizetype at = start + 1000; at < jpeg.size() - 1000; at += 997)
        if (uchar(jpeg[at]) != 0xFF && uchar(jpeg[at - 1]) != 0xFF)
            jpeg[at] = char(uchar(jpeg[at]) ^ 0x5a);
    EXPECT_TRUE(viewerDecodes(jpeg));
    EXPECT_EQ(problemOf(jpeg), "");
}

TEST(ScanCheck, AnEndMarkerBeforeTheScanIsNoEnd) {
    // An EXIF thumbnail is a whole JPEG file, end marker included, before the page's own scan.
    const QByteArray jpeg = corpusFile(kBaseline);
    const QByteArray thumbnail = makeJpeg(QSize(16, 24), Qt::gray);
    ASSERT_TRUE(thumbnail.endsWith("\xff\xd9"));
    const QByteArray withThumbnail =
        QByteArray(jpeg).insert(2, segment(0xE1, QByteArray("Exif\0\0", 6) + thumbnail));
    EXPECT_TRUE(viewerDecodes(withThumbnail));
    EXPECT_EQ(problemOf(withThumbnail), "");
    const qsizetype start = scanDataStart(withThumbnail);
    EXPECT_EQ(problemOf(withThumbnail.left(start + 5000)), kTruncated);
}

TEST(ScanCheck, TakesBytesAfterTheEnd) {
    const QByteArray jpeg = corpusFile(kBaseline);
    const QByteArray trailing = jpeg + QByteArray(3000, '\x20') + QByteArray("\xff\xd8\xff", 3);
    EXPECT_TRUE(viewerDecodes(trailing));
    EXPECT_EQ(problemOf(trailing), "");
}

TEST(ScanCheck, SkipsRestartMarkersOnlyInScansWithRestartIntervals) {
    const QByteArray jpeg = corpusFile(QStringLiteral("jpeg-variants/jd_restarts.jpg"));
    const qsizetype start = scanDataStart(jpeg);
    const qsizetype firstRestart = jpeg.indexOf(QByteArrayView("\xff\xd0", 2), start);
    ASSERT_GT(firstRestart, start);
    EXPECT_EQ(entropyDataEnd(jpeg, start, true), jpeg.size() - 2);
    EXPECT_EQ(entropyDataEnd(jpeg, start, false), firstRestart);
    // A reserved code between the intervals: libjpeg passes it or stops on it after the last
    // interval, so the data is decoded to know.
    const QByteArray reserved = QByteArray(jpeg).insert(firstRestart, "\xff\x05", 2);
    EXPECT_EQ(entropyDataEnd(reserved, start, true), -1);
    EXPECT_EQ(scanProblem(reserved).isEmpty(), viewerDecodes(reserved));
    EXPECT_EQ(problemOf(jpeg), "");
}

TEST(ScanCheck, AgreesWithAWholeDecodeOnSystematicDamage) {
    // Every marker of the header and after the scan dropped or turned into another, and markers
    // put into the scan's data and after it, in files of each coding the viewer reads.
    const char* const names[] = {"jpeg-variants/go_video-001.q50.420.jpeg",
                                 "jpeg-variants/jd_restarts.jpg",
                                 "jpeg-variants/ljt_testimgari.jpg",
                                 "jpeg-variants/go_video-001.q50.420.progressive.jpeg",
                                 "jpeg-variants/jd_mozilla_jpg-cmyk-2.jpg",
                                 "jpeg-variants/pil_hopper_16bit_qtables.jpg"};
    const unsigned char codes[] = {0x01, 0x05, 0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC8, 0xCC, 0xD0,
                                   0xD3, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xE1, 0xF0, 0xFE};
    int variants = 0, refused = 0;
    for (const char* name : names) {
        const QByteArray jpeg = corpusFile(QString::fromLatin1(name));
        QList<QByteArray> damaged;
        QList<qsizetype> markers;
        for (const Segment& s : headerSegments(jpeg))
            markers << s.at;
        const qsizetype start = scanDataStart(jpeg);
        for (qsizetype at = jpeg.indexOf('\xff', start); at >= 0; at = jpeg.indexOf('\xff', at + 2))
            if (at + 1 < jpeg.size() && jpeg[at + 1] != '\0')
                markers << at;
        for (const qsizetype at : markers) {
            for (const unsigned char code : codes)
                damaged << QByteArray(jpeg).replace(at + 1, 1, QByteArray(1, char(code)));
            damaged << QByteArray(jpeg).remove(at, 2);
        }
        for (const unsigned char code : codes) {
            const QByteArray marker = QByteArray("\xff") + char(code);
            damaged << QByteArray(jpeg).insert((start + jpeg.size()) / 2, marker);
            damaged << beforeEnd(jpeg, marker);
            damaged << beforeEnd(jpeg, segment(code, QByteArray(4, '\x01')));
        }
        for (const QByteArray& d : damaged) {
            if (!jpegComplete(d))
                continue;
            ++variants;
            const bool decodes = viewerDecodes(d);
            refused += decodes ? 0 : 1;
            EXPECT_EQ(scanProblem(d).isEmpty(), decodes)
                << name << " variant " << d.toBase64().toStdString();
        }
    }
    EXPECT_GT(variants, 1000);
    EXPECT_GT(refused, variants / 10); // the damage is of the kind that matters
}
