// The packing tool refuses what the formats cannot hold and input it cannot use: manifests with
// wrong types, missing fields or values beyond the limits, scans that are missing, unreadable,
// cut short or no pictures, and output folders that exist or cannot be written. Each refusal
// names the book, page, field or folder, and leaves nothing behind.
#include "tests/pack/pack_fixture.h"
#include "tests/support/test_volume.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <functional>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// Builds into `outDir` (the bench's own by default); the refusal must name `message`, and the
// scratch folder must hold afterwards what it held before.
void expectRefused(PackBench& bench, const QString& message, QString outDir = {}) {
    bench.write("manifest.json", QJsonDocument(bench.manifest).toJson());
    const QStringList before = bench.listing();
    pack::BuildOptions options;
    options.manifestPath = bench.path("manifest.json");
    options.outDir = outDir.isEmpty() ? bench.outDir() : outDir;
    options.viewerPath = bench.viewerPath();
    const pack::BuildReport report = pack::buildVolume(options);
    EXPECT_FALSE(report.ok());
    EXPECT_TRUE(report.errors.join('\n').contains(message))
        << "wanted: " << message.toStdString()
        << "\ngot: " << report.errors.join('\n').toStdString();
    EXPECT_EQ(bench.listing(), before);
    EXPECT_EQ(report.volumeBytes, 0);
}

void expectBuilt(PackBench& bench) {
    const pack::BuildReport report = bench.build();
    EXPECT_TRUE(report.ok()) << report.errors.join('\n').toStdString();
}

QJsonArray repeated(const QString& page, int times) {
    QJsonArray pages;
    for (int i = 0; i < times; ++i)
        pages << page;
    return pages;
}

// A file of `length` bytes that reads as JPEG from its first bytes; sparse, so it costs nothing.
void sparseJpeg(const PackBench& bench, const QString& name, qint64 length) {
    bench.write(name, QByteArray("\xff\xd8\xff\xe0", 4));
    QFile f(bench.path(name));
    ASSERT_TRUE(f.resize(length));
}

// The second page of the first book replaced by the scan `name`, written with `bytes`.
void secondPage(PackBench& bench, const char* name, const QByteArray& bytes) {
    bench.write(name, bytes);
    setJson(bench.manifest, "books/0/pages", QJsonArray{"front/a.jpg", name});
}

struct Refusal {
    const char* name;
    std::function<void(PackBench&)> damage;
    const char* message;
};

std::function<void(PackBench&)> set(const char* path, const QJsonValue& value) {
    return [=](PackBench& b) { setJson(b.manifest, QString::fromLatin1(path), value); };
}

const char* const kSecondPage = "libro 1 (dv00001.ex_, \"01 Lib.01 Antiporta\"), pagina 2 (0002, ";
} // namespace

TEST(PackRefusals, EachFaultIsNamedAndNothingIsLeft) {
    const QByteArray jpeg = noisyJpeg(QSize(120, 160), 2);
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    QByteArray png, bmp;
    QBuffer pngBuffer(&png), bmpBuffer(&bmp);
    ASSERT_TRUE(picture.save(&pngBuffer, "png") && picture.save(&bmpBuffer, "bmp"));
    const Refusal cases[] = {
        // Values beyond the formats' limits.
        {"long title", set("title", QString(64, 'T')),
         "campo \"title\": il testo ha 64 caratteri, al massimo 63"},
        {"Greek place", set("place", QString::fromUtf8("Βενετία")),
         "campo \"place\": il carattere \"Β\""},
        {"tab in year", set("year", "15\t88"),
         "campo \"year\": contiene il carattere di controllo"},
        {"long folder name", set("workFolder", "NOVECARAT"),
         "\"NOVECARAT\" ha 9 caratteri: da 1 a 8"},
        {"slash in folder", set("workFolder", "A/B"), "\"A/B\" non può essere il nome"},
        {"quality 0", set("jpegQuality", 0), "campo \"jpegQuality\": la qualità JPEG è 0"},
        {"quality 101", set("jpegQuality", 101), "campo \"jpegQuality\": la qualità JPEG è 101"},
        {"empty label", set("books/1/label", ""),
         "libro 2 (dv00002.ex_, \"\"), campo \"label\": l'etichetta è vuota"},
        {"long label", set("books/1/label", QString(50, 'L')), "l'etichetta ha 50 caratteri"},
        {"blanks before label", set("books/1/label", "   AB"), "è preceduta da 3 spazi"},
        {"label twice", set("books/2/label", "02 lib.02 PRIMO LIBRO"),
         "libro 3 (dv00003.ex_, \"02 lib.02 PRIMO LIBRO\"), campo \"label\": l'etichetta è uguale "
         "a quella del libro 2"},
        {"kind 3", set("books/1/kind", 3), "campo \"kind\": il tipo di numerazione è 3"},
        {"side DS", set("books/1/side", "DS"),
         "campo \"side\": il lato della prima pagina è \"DS\""},
        {"side R", set("books/1/side", "R"), "è \"R\": deve essere D per destra o S per sinistra"},
        {"first -1", set("books/0/firstNumber", -1), "campo \"firstNumber\": il primo numero è -1"},
        {"first 32768", set("books/0/firstNumber", 32768), "il primo numero è 32768"},
        // Pages from 9999 on the right: the second page would be 10000; sheets from 999 on the
        // right: 999d, 1000s; openings from 9996 on the right: 9999, then 10001.
        {"page 10000", set("books/0/firstNumber", 9999),
         "libro 1 (dv00001.ex_, \"01 Lib.01 Antiporta\"): l'ultima pagina avrebbe il numero 10000"},
        {"sheet 1000", set("books/1/firstNumber", 999), "avrebbe il numero 1000 di foglio"},
        {"opening 10001", set("books/2/firstNumber", 9996), "avrebbe il numero 10001"},
        {"no books", set("books", QJsonArray{}), "campo \"books\": nessun libro"},
        {"no pages", set("books/0/pages", QJsonArray{}),
         "\"01 Lib.01 Antiporta\"): il libro non ha pagine"},
        {"402 pages", set("books/1/pages", repeated("text/1.jpg", 402)),
         "\"02 Lib.02 Primo libro\"): le pagine sono 402, al massimo 401"},
        {"cover book 4", set("cover/book", 4),
         "campo \"cover\": il libro 4 non esiste (i libri sono 3)"},
        {"cover page 4", set("cover/page", 4), "il libro 2 non ha la pagina 4 (le pagine sono 3)"},
        // Fields of the wrong type, or missing.
        {"title number", set("title", 1588), "campo \"title\": deve essere un testo"},
        {"quality text", set("jpegQuality", "90"),
         "campo \"jpegQuality\": deve essere un numero intero"},
        {"cover text", set("cover", "1,1"), "campo \"cover\": deve essere un oggetto"},
        {"book text", set("books/1", "libro"), "libro 2: deve essere un oggetto"},
        {"first 1e12", set("books/1/firstNumber", 1e12),
         "campo \"firstNumber\": deve essere un numero intero fra 0 e 32767, non 1000000000000"},
        {"page object", set("books/1/pages/0", QJsonObject{}),
         "la voce 1 deve essere il nome di un file"},
        {"misspelt field", [](PackBench& b) { b.manifest["titel"] = "x"; },
         "campo \"titel\": campo sconosciuto"},
        {"no title", set("title", QJsonValue::Undefined), "campo \"title\": manca"},
        {"no cover book", set("cover/book", QJsonValue::Undefined), "cover: campo \"book\": manca"},
        {"no pages field", set("books/2/pages", QJsonValue::Undefined),
         "libro 3: campo \"pages\": manca"},
        // Scans that are missing, cut short, too large, or no pictures.
        {"missing scan", set("books/0/pages", QJsonArray{"front/a.jpg", "bad/none.jpg"}),
         "pagina 2 (0002, bad/none.jpg): il file "},
        {"half a JPEG",
         [&](PackBench& b) { secondPage(b, "cut/half.jpg", jpeg.left(jpeg.size() / 2)); },
         "pagina 2 (0002, cut/half.jpg): il file JPEG è troncato"},
        {"JPEG head", [&](PackBench& b) { secondPage(b, "cut/head.jpg", jpeg.left(200)); },
         "pagina 2 (0002, cut/head.jpg): "},
        {"half a PNG",
         [&](PackBench& b) { secondPage(b, "cut/half.png", png.left(png.size() / 2)); },
         "pagina 2 (0002, cut/half.png): "},
        {"empty", [](PackBench& b) { secondPage(b, "bad/empty.jpg", ""); },
         "bad/empty.jpg è vuoto"},
        {"text",
         [](PackBench& b) { secondPage(b, "bad/notes.jpg", "Pagina mancante: da riprendere"); },
         "pagina 2 (0002, bad/notes.jpg): il file non contiene un'immagine leggibile"},
        {"fake PNG",
         [](PackBench& b) {
             secondPage(b, "bad/fake.png",
                        QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, 'x'));
         },
         "pagina 2 (0002, bad/fake.png): "},
        {"BMP",
         [&](PackBench& b) {
             b.write("bad/image.bmp", bmp);
             setJson(b.manifest, "books/0/pages", QJsonArray{"bad/image.bmp"});
         },
         "pagina 1 (0001, bad/image.bmp): il formato bmp non è ammesso"},
        {"bomb",
         [](PackBench& b) { secondPage(b, "huge/bomb.jpg", claimingSize(40000, 30000, true)); },
         "huge/bomb.jpg): l'immagine è di 40000 x 30000 pixel, al massimo 256 milioni di pixel"},
        {"10 MB entry",
         [](PackBench& b) {
             sparseJpeg(b, "big.jpg", 10'000'000);
             setJson(b.manifest, "books/0/pages", QJsonArray{"front/a.jpg", "big.jpg"});
         },
         "big.jpg): l'immagine è di 10000000 byte, al massimo 9999999"},
        // 215 entries of 9,999,999 bytes pass one by one, but make an archive above 2^31 - 1.
        {"2 GB archive",
         [](PackBench& b) {
             sparseJpeg(b, "big.jpg", 9'999'999);
             setJson(b.manifest, "books/2/pages", repeated("big.jpg", 215));
         },
         "\"03 Lib.03 Tavole\"): l'archivio sarebbe di 2150010453 byte, al massimo 2147483647"},
        // A viewer whose block base (its length + 1 + 35,000) has nine digits.
        {"large viewer",
         [](PackBench& b) { ASSERT_TRUE(QFile(b.viewerPath()).resize(99'965'000)); },
         "il programma del visore è di 99965000 byte: la base del blocco dei dati (100000001) non "
         "sta in 8 cifre"},
        {"folder taken", [](PackBench& b) { b.write("volume/old.txt", "x"); },
         "esiste già e non è una cartella vuota"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        PackBench bench;
        c.damage(bench);
        expectRefused(bench, QString::fromUtf8(c.message));
    }
}

TEST(PackRefusals, ValuesRightAtTheLimitArePacked) {
    PackBench bench;
    setJson(bench.manifest, "title", QString(63, 'T'));
    setJson(bench.manifest, "secondLine", QString::fromUtf8("Città € «Œuvre» ÿ\rseconda riga"));
    setJson(bench.manifest, "workFolder", "A");
    setJson(bench.manifest, "books/0/label", QString(49, 'L'));
    setJson(bench.manifest, "books/1/label", "  02 Lib.02"); // fewer blanks than letters
    setJson(bench.manifest, "books/0/firstNumber", 9998);    // pages 9998 and 9999
    setJson(bench.manifest, "books/1/firstNumber", 998);     // 998d, 999s, 999d
    setJson(bench.manifest, "books/2/firstNumber", 9995);    // openings 9997, 9999
    expectBuilt(bench);
    PackBench most; // 401 entries of one book: the directory has no terminating slot
    setJson(most.manifest, "books/0/pages", repeated("front/b.jpg", 401));
    expectBuilt(most);
    PackBench viewer;
    ASSERT_TRUE(QFile(viewer.viewerPath()).resize(99'964'998)); // base 99,999,999 still fits
    expectBuilt(viewer);
    PackBench empty; // an empty folder is taken over
    empty.write("volume/old.txt", "x");
    QFile::remove(empty.path("volume/old.txt"));
    expectBuilt(empty);
}

TEST(PackRefusals, UnreadableScanAndUnwritableFoldersAreNamed) {
    PackBench bench;
    {
        const FilePermissionsObeyed obeyed;
        setMode(bench.path("front/b.jpg"), 0);
        expectRefused(bench, QString(kSecondPage) + "front/b.jpg): ");
        setMode(bench.path("front/b.jpg"), 0644);
    }
    bench.write("taken", "a file where the volume should go");
    expectRefused(bench, "taken esiste già e non è una cartella vuota", bench.path("taken"));
    expectRefused(bench, "la cartella " + bench.path("nowhere") + " non esiste",
                  bench.path("nowhere/volume"));
    bench.write("locked/readme.txt", "x");
    const FilePermissionsObeyed obeyed;
    setMode(bench.path("locked"), 0555);
    expectRefused(bench,
                  "impossibile scrivere volume in " + bench.path("locked") + ": permesso negato",
                  bench.path("locked/volume"));
    setMode(bench.path("locked"), 0755);
}

TEST(PackRefusals, EveryFaultyScanIsNamedAtOnce) {
    // One scan that cannot be converted, then JPEG scans checked only as the volume is written:
    // the writing stops at the first fault, the checking goes on to the last page.
    PackBench bench;
    const QByteArray jpeg = bench.scans["text/2.jpg"];
    bench.write("bad/fake.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, 'x'));
    bench.write("bad/cut.jpg", jpeg.left(jpeg.size() / 2));
    bench.write("bad/second-start.jpg", QByteArray(jpeg).insert(jpeg.size() - 2, "\xff\xd8", 2));
    setJson(bench.manifest, "books/0/pages", QJsonArray{"front/a.jpg", "bad/fake.png"});
    setJson(bench.manifest, "books/1/pages", QJsonArray{"bad/cut.jpg", "text/1.jpg", "text/3.jpg"});
    setJson(bench.manifest, "books/2/pages", QJsonArray{"wide/1.jpg", "bad/second-start.jpg"});
    bench.write("manifest.json", QJsonDocument(bench.manifest).toJson());
    const QStringList before = bench.listing();
    const pack::BuildReport report = bench.build();
    ASSERT_EQ(report.errors.size(), 3) << report.errors.join('\n').toStdString();
    EXPECT_TRUE(report.errors[0].startsWith(QString(kSecondPage) + "bad/fake.png): "));
    EXPECT_TRUE(report.errors[1].contains("pagina 1 (001d, bad/cut.jpg): il file JPEG è troncato"));
    EXPECT_TRUE(report.errors[2].contains(
        "pagina 2 (0005, bad/second-start.jpg): l'immagine JPEG non si può decodificare"));
    EXPECT_EQ(bench.listing(), before);
}

TEST(PackRefusals, AFullDiskWhileWritingIsNamed) {
    PackBench bench;
    bench.write("manifest.json", QJsonDocument(bench.manifest).toJson());
    const QStringList before = bench.listing();
    pack::BuildReport report;
    {
        // Room for the executable with its data block, not for the largest archive.
        const FileSizeLimit full(static_cast<rlim_t>(bench.viewer.size()) + 40000);
        report = bench.build();
    }
    ASSERT_EQ(report.errors.size(), 1) << report.errors.join('\n').toStdString();
    // Why, and in a folder that exists: the working folder is gone.
    EXPECT_EQ(report.errors[0], "impossibile scrivere dv00003.ex_ in " +
                                    QFileInfo(bench.outDir()).absolutePath() +
                                    ": il file supera la dimensione massima concessa");
    EXPECT_EQ(bench.listing(), before);
    EXPECT_EQ(report.volumeBytes, 0);
}
