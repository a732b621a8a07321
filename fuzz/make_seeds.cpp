// Writes the seed corpus of the fuzz targets into corpus/<target>/ of the folder given: volumes
// and files made with the packing tool's own writers, so the seeds are what the readers meet.
// Usage: fuzz_seeds FOLDER
#include "app/product_block.h"
#include "pack/volume/volume_writer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>

using namespace cvx;

namespace {
QString root;

void seed(const char* target, const char* name, const QByteArray& bytes) {
    const QString folder = root + QStringLiteral("/corpus/") + QLatin1String(target);
    QDir().mkpath(folder);
    QFile f(folder + QLatin1Char('/') + QLatin1String(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray jpeg(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(image);
    return bytes;
}

// A page scan in little: a picture with some detail, so that its scans hold more than a few
// bytes, and a comment marker.
QByteArray scan(QImage::Format format, bool progressive) {
    QImage image(QSize(40, 24), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 9 % 256, (x ^ y) * 5 % 256, y * 11 % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.setText(QStringLiteral("Description"), QStringLiteral("carta 1r"));
    writer.write(image.convertToFormat(format));
    return bytes;
}

pack::VolumeSpec volume() {
    pack::VolumeSpec plan;
    plan.title = QStringLiteral("Historia Naturalis");
    plan.secondLine = QStringLiteral("C. Plinius Secundus");
    plan.year = QStringLiteral("1472");
    plan.workFolderName = QStringLiteral("CVXSEED1");
    const int kinds[] = {1, 0, 2};
    for (int b = 0; b < 3; ++b) {
        pack::BookSpec book;
        book.label = QStringLiteral("0%1 Lib.0%1 Libro").arg(b + 1);
        book.kind = kinds[b];
        book.pages << jpeg(QSize(8, 12), Qt::gray) << jpeg(QSize(12, 8), Qt::darkRed);
        plan.books << book;
    }
    plan.executable = QByteArray("\x7f"
                                 "ELF seed viewer",
                                 16);
    return plan;
}

void productBlockSeeds(const pack::VolumeSpec& plan) {
    const QByteArray block = *block::buildBlock(pack::productData(plan), plan.executable.size());
    seed("fuzz_product_block", "volume.exe", plan.executable + block);
    pack::VolumeSpec one = plan;
    one.books.resize(1);
    one.workFolderName = QStringLiteral("AB      ");
    seed("fuzz_product_block", "one-book.exe",
         one.executable + *block::buildBlock(pack::productData(one), one.executable.size()));
}

void directorySeeds(const pack::VolumeSpec& plan) {
    seed("fuzz_directory", "two-pages.ex_", pack::buildArchive(plan.books[0].pages));
    seed("fuzz_directory", "full-directory.ex_", pack::archiveHead(QList<qint64>(401, 7705)));
    QByteArray cut = pack::buildArchive(plan.books[1].pages);
    seed("fuzz_directory", "cut-in-directory.ex_", cut.left(300));
}

void entrySeeds(const pack::VolumeSpec& plan) {
    seed("fuzz_entry_restore", "page.entry", pack::storedEntry(plan.books[0].pages[0]));
    seed("fuzz_entry_restore", "wide.entry", pack::storedEntry(jpeg(QSize(40, 20), Qt::blue)));
    seed("fuzz_entry_restore", "short.entry", pack::storedEntry(plan.books[0].pages[1]).left(7704));
}

void jpegSeeds() {
    seed("fuzz_jpeg_check", "colour.jpg", scan(QImage::Format_RGB32, false));
    seed("fuzz_jpeg_check", "grey.jpg", scan(QImage::Format_Grayscale8, false));
    seed("fuzz_jpeg_check", "progressive.jpg", scan(QImage::Format_RGB32, true));
}

void textSeeds() {
    const QString record =
        block::makeBookRecord(QStringLiteral("02 Lib.02 Primo libro"), 0, QLatin1Char('D'), 1);
    const QByteArray r = record.toLatin1();
    seed("fuzz_labels", "sheets", r + "\nP0003000001066900077050\n002s\n" + r);
    seed("fuzz_labels", "pages",
         block::makeBookRecord(QStringLiteral("Libro"), 1, QLatin1Char('S'), 12).toLatin1() +
             "\nP0012\n23\n" + r);
    seed("fuzz_labels", "openings",
         block::makeBookRecord(QStringLiteral("Tavole"), 2, QLatin1Char('D'), 1).toLatin1() +
             "\nP0002\n4\n" + r + "\n" + r);
    seed("fuzz_bookmark", "saved", " 2\r\n 15\r\n");
    seed("fuzz_bookmark", "commas", "1,-4");
    seed("fuzz_bookmark", "quoted", "\"1\" , \"3\"\r\n");
    seed("fuzz_bookmark", "one-line", " 1\r\n");
    seed("fuzz_manifest", "readme.json", R"({"title": "Theatro delle Piante",
 "secondLine": "di Anselmo Cartari", "publisher": "Heredi", "place": "Venetia", "year": "1588",
 "workFolder": "TEATRO88", "cover": {"book": 1, "page": 1}, "jpegQuality": 90,
 "books": [{"label": "01 Lib.01 Frontespizio", "kind": 1, "side": "D", "firstNumber": 1,
            "pages": ["b1/0001.png", "b1/0002.jpg"]},
           {"label": "02 Lib.02 Tavole", "kind": 2, "side": "S", "firstNumber": 0,
            "pages": ["b2/0001.jpg"]}]})");
    seed("fuzz_manifest", "at-limits.json",
         R"({"title": "T", "workFolder": "ABCDEFGH", "cover": {"book": 1, "page": 3},
 "books": [{"label": "L", "kind": 0, "side": "D", "firstNumber": 998,
            "pages": ["a.jpg", "b.jpg", "c.jpg"]}]})");
    seed("fuzz_manifest", "faults.json",
         R"({"title": 3, "workFolder": "A/B", "cover": {}, "books": [7, {"kind": 1.5}]})");
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    root = QString::fromLocal8Bit(argv[1]);
    const pack::VolumeSpec plan = volume();
    productBlockSeeds(plan);
    directorySeeds(plan);
    entrySeeds(plan);
    textSeeds();
    jpegSeeds();
    return 0;
}
