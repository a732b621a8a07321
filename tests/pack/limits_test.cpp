// Every limit of the formats: the tool refuses the manifest with a message naming the book,
// page or field, and leaves nothing behind.
#include "tests/pack/pack_fixture.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// Builds the bench's manifest, expecting a refusal that mentions `message`, and checks that
// neither the volume nor any temporary folder was left.
void expectRefused(PackBench& bench, const QString& message) {
    const QStringList before = bench.listing();
    const pack::BuildReport report = bench.build();
    QStringList after = bench.listing();
    after.removeAll(QStringLiteral("manifest.json"));
    EXPECT_FALSE(report.ok());
    EXPECT_TRUE(report.errors.join('\n').contains(message))
        << "wanted: " << message.toStdString()
        << "\ngot: " << report.errors.join('\n').toStdString();
    EXPECT_EQ(after.join(' '), before.join(' '));
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

struct FieldCase {
    const char* path;
    QJsonValue value;
    const char* message;
};
} // namespace

TEST(PackLimits, EachFieldOutsideItsLimitIsRefusedByName) {
    const FieldCase cases[] = {
        {"title", QString(64, 'T'), "campo \"title\": il testo ha 64 caratteri, al massimo 63"},
        {"place", QString::fromUtf8("Βενετία"), "campo \"place\": il carattere \"Β\""},
        {"year", QString::fromLatin1("15\t88"),
         "campo \"year\": contiene il carattere di controllo"},
        {"workFolder", "", "campo \"workFolder\": il nome della cartella di lavoro \"\" ha 0"},
        {"workFolder", "NOVECARAT", "\"NOVECARAT\" ha 9 caratteri: da 1 a 8"},
        {"workFolder", "A/B", "campo \"workFolder\": \"A/B\" non può essere il nome"},
        {"workFolder", "   ", "\"   \" non può essere il nome"},
        {"jpegQuality", 0, "campo \"jpegQuality\": la qualità JPEG è 0"},
        {"books/1/label", "", "libro 2 (dv00002.ex_, \"\"), campo \"label\": l'etichetta è vuota"},
        {"books/1/label", QString(50, 'L'),
         "campo \"label\": l'etichetta ha 50 caratteri, al massimo 49"},
        {"books/1/label", "   AB", "è preceduta da 3 spazi"},
        {"books/2/label", "02 lib.02 PRIMO LIBRO",
         "libro 3 (dv00003.ex_, \"02 lib.02 PRIMO LIBRO\"), campo \"label\": l'etichetta è uguale "
         "a quella del libro 2"},
        {"books/1/kind", 3,
         "libro 2 (dv00002.ex_, \"02 Lib.02 Primo libro\"), campo \"kind\": il tipo di numerazione "
         "è 3"},
        {"books/1/side", "DS", "campo \"side\": il lato della prima pagina è \"DS\""},
        {"books/1/side", "4", "campo \"side\": il lato della prima pagina è \"4\""},
        {"books/0/firstNumber", -1, "campo \"firstNumber\": il primo numero è -1"},
        {"books/0/firstNumber", 32768, "campo \"firstNumber\": il primo numero è 32768"},
        // Pages from 9999 on the right: the second page would be 10000.
        {"books/0/firstNumber", 9999,
         "libro 1 (dv00001.ex_, \"01 Lib.01 Antiporta\"): l'ultima pagina avrebbe il numero 10000"},
        // Sheets from 999 on the right: 999d, then 1000s, 1000d.
        {"books/1/firstNumber", 999, "l'ultima pagina avrebbe il numero 1000 di foglio"},
        // Openings from 9996 on the right, two entries: 9999, then 10001.
        {"books/2/firstNumber", 9996, "l'ultima pagina avrebbe il numero 10001"},
        {"books", QJsonArray{}, "campo \"books\": nessun libro"},
        {"books/0/pages", QJsonArray{},
         "libro 1 (dv00001.ex_, \"01 Lib.01 Antiporta\"): il libro non ha pagine"},
        {"cover/book", 4, "campo \"cover\": il libro 4 non esiste (i libri sono 3)"},
        {"cover/page", 4, "campo \"cover\": il libro 2 non ha la pagina 4 (le pagine sono 3)"},
        {"cover/page", 0, "il libro 2 non ha la pagina 0"},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.path);
        PackBench bench;
        setJson(bench.manifest, QString::fromLatin1(c.path), c.value);
        expectRefused(bench, QString::fromUtf8(c.message));
    }
}

TEST(PackLimits, ValuesRightAtTheLimitArePacked) {
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
}

TEST(PackLimits, TooManyBooksOrPagesAreRefused) {
    PackBench bench;
    QJsonArray books;
    for (int i = 0; i < 402; ++i)
        books << QJsonObject{{"label", QStringLiteral("Libro %1").arg(i)},
                             {"kind", 1},
                             {"side", "D"},
                             {"firstNumber", 1},
                             {"pages", QJsonArray{"front/a.jpg"}}};
    setJson(bench.manifest, "books", books);
    expectRefused(bench, "campo \"books\": i libri sono 402, al massimo 401");

    PackBench pages;
    setJson(pages.manifest, "books/1/pages", repeated("text/1.jpg", 402));
    expectRefused(pages, "libro 2 (dv00002.ex_, \"02 Lib.02 Primo libro\"): le pagine sono 402, "
                         "al massimo 401");

    PackBench most; // 401 entries of one book: the directory has no terminating slot
    setJson(most.manifest, "books/0/pages", repeated("front/b.jpg", 401));
    expectBuilt(most);
}

TEST(PackLimits, EntryAndArchiveLengthsMustFitTheirColumns) {
    PackBench entry;
    sparseJpeg(entry, "big.jpg", 10'000'000);
    setJson(entry.manifest, "books/0/pages", QJsonArray{"front/a.jpg", "big.jpg"});
    expectRefused(entry, "libro 1 (dv00001.ex_, \"01 Lib.01 Antiporta\"), pagina 2 (0002, "
                         "big.jpg): l'immagine è di 10000000 byte, al massimo 9999999");

    // 215 entries of 9,999,999 bytes pass one by one, but make an archive above 2^31 - 1.
    PackBench archive;
    sparseJpeg(archive, "big.jpg", 9'999'999);
    setJson(archive.manifest, "books/2/pages", repeated("big.jpg", 215));
    expectRefused(archive, "libro 3 (dv00003.ex_, \"03 Lib.03 Tavole\"): l'archivio sarebbe di "
                           "2150010453 byte, al massimo 2147483647");
}

TEST(PackLimits, ViewerTooLargeForAnEightDigitBaseIsRefused) {
    PackBench bench;
    QFile viewer(bench.viewerPath());
    ASSERT_TRUE(viewer.resize(99'965'000)); // base 99,965,000 + 1 + 35,000 has nine digits
    expectRefused(bench, "il programma del visore è di 99965000 byte: la base del blocco dei "
                         "dati (100000001) non sta in 8 cifre");
    ASSERT_TRUE(viewer.resize(99'964'998)); // base 99,999,999 still fits
    const pack::BuildReport report = bench.build();
    EXPECT_TRUE(report.ok()) << report.errors.join('\n').toStdString();
}

TEST(PackLimits, ScansThatAreMissingOrNotPicturesAreRefusedByName) {
    PackBench missing;
    setJson(missing.manifest, "cover", QJsonObject{{"book", 1}, {"page", 1}});
    setJson(missing.manifest, "books/1/pages", QJsonArray{"text/1.jpg", "bad/none.jpg"});
    expectRefused(missing, "libro 2 (dv00002.ex_, \"02 Lib.02 Primo libro\"), pagina 2 (002s, "
                           "bad/none.jpg): il file ");

    PackBench bench;
    setJson(bench.manifest, "cover", QJsonObject{{"book", 1}, {"page", 1}});
    bench.write("bad/empty.jpg", {});
    bench.write("bad/text.jpg", "not a picture at all");
    QImage bmp(20, 20, QImage::Format_RGB32);
    bmp.fill(Qt::red);
    ASSERT_TRUE(bmp.save(bench.path("bad/image.bmp"), "bmp"));
    setJson(bench.manifest, "books/1/pages", QJsonArray{"bad/empty.jpg", "bad/text.jpg"});
    setJson(bench.manifest, "books/2/pages", QJsonArray{"bad/image.bmp"});
    expectRefused(bench, "pagina 1 (001d, bad/empty.jpg): il file non contiene un'immagine "
                         "leggibile");
    // Every bad scan is named in one run, not only the first.
    const QString all = bench.build().errors.join('\n');
    EXPECT_TRUE(all.contains("pagina 2 (002s, bad/text.jpg): il file non contiene"));
    EXPECT_TRUE(all.contains("libro 3 (dv00003.ex_, \"03 Lib.03 Tavole\"), pagina 1 (0003, "
                             "bad/image.bmp): il formato bmp non è ammesso"));
}

TEST(PackLimits, DestinationMustBeNewOrEmpty) {
    PackBench bench;
    bench.write("volume/old.txt", "x");
    expectRefused(bench, "esiste già e non è una cartella vuota");
    QFile::remove(bench.path("volume/old.txt"));
    expectBuilt(bench); // an empty folder is taken over
    EXPECT_TRUE(QFile::exists(bench.path("volume/Cartavox.exe")));
}

TEST(PackLimits, OpeningsTheViewerCannotLookUpAreWarnedAbout) {
    PackBench bench;
    setJson(bench.manifest, "books/2/firstNumber", 3); // labels 0005, 0007; typed 5 seeks 7
    const pack::BuildReport report = bench.build();
    ASSERT_TRUE(report.ok());
    ASSERT_EQ(report.warnings.size(), 1);
    EXPECT_TRUE(report.warnings[0].startsWith("libro 3 (dv00003.ex_, \"03 Lib.03 Tavole\"): "));

    PackBench left; // from 0 on the left the labels and the lookup agree
    setJson(left.manifest, "books/2/firstNumber", 0);
    setJson(left.manifest, "books/2/side", "S");
    EXPECT_TRUE(left.build().warnings.isEmpty());
}
