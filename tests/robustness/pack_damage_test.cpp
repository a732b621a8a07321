// The packing tool on bad input: scans that cannot be read, are cut short or are no pictures,
// manifests with wrong types, missing fields or values beyond the formats' limits, and output
// folders that exist or cannot be written. Each is refused with a message naming the book,
// page, field or folder, and nothing is left behind.
#include "tests/pack/pack_fixture.h"
#include "tests/robustness/damage.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
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

QByteArray scanOf(const PackBench& bench, const QString& name) {
    QFile f(bench.path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray png(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

const char* const kSecondPage = "libro 1 (dv00001.ex_, \"01 Lib.01 Antiporta\"), pagina 2 (0002, ";
} // namespace

TEST(PackFaults, UnreadableScanIsNamed) {
    PackBench bench;
    const FilePermissionsObeyed obeyed;
    setMode(bench.path("front/b.jpg"), 0);
    expectRefused(bench, QString(kSecondPage) + "front/b.jpg): ");
    setMode(bench.path("front/b.jpg"), 0644);
}

TEST(PackFaults, ScansCutShortAreNamed) {
    PackBench bench;
    const QByteArray jpeg = scanOf(bench, "front/b.jpg");
    ASSERT_GT(jpeg.size(), 1000);
    bench.write("cut/half.jpg", jpeg.left(jpeg.size() / 2));
    bench.write("cut/head.jpg", jpeg.left(200));
    const QByteArray picture = png(QSize(300, 200));
    bench.write("cut/half.png", picture.left(picture.size() / 2));
    const char* cut[] = {"cut/half.jpg", "cut/head.jpg", "cut/half.png"};
    for (const char* name : cut) {
        SCOPED_TRACE(name);
        setJson(bench.manifest, "books/0/pages", QJsonArray{"front/a.jpg", name});
        expectRefused(bench, QString(kSecondPage) + name + "): ");
    }
}

TEST(PackFaults, ScansThatAreNoPicturesAreNamed) {
    PackBench bench;
    bench.write("bad/notes.jpg", "Pagina mancante: da riprendere");
    bench.write("bad/zeros.jpg", QByteArray(20000, '\0'));
    bench.write("bad/fake.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, 'x'));
    const char* bad[] = {"bad/notes.jpg", "bad/zeros.jpg", "bad/fake.png"};
    for (const char* name : bad) {
        SCOPED_TRACE(name);
        setJson(bench.manifest, "books/0/pages", QJsonArray{"front/a.jpg", name});
        expectRefused(bench, QString(kSecondPage) + name + "): ");
    }
}

TEST(PackFaults, ScansOfAbsurdSizeAreNamedWithTheirSize) {
    PackBench bench;
    bench.write("huge/bomb.jpg", claimingSize(40000, 30000, true));
    setJson(bench.manifest, "books/0/pages", QJsonArray{"front/a.jpg", "huge/bomb.jpg"});
    expectRefused(bench, QString(kSecondPage) +
                             "huge/bomb.jpg): l'immagine è di 40000 x 30000 pixel, al massimo "
                             "256 milioni di pixel");
}

TEST(PackFaults, FieldsOfTheWrongTypeAreNamed) {
    const struct {
        const char* path;
        QJsonValue value;
        const char* message;
    } cases[] = {
        {"title", 1588, "campo \"title\": deve essere un testo"},
        {"workFolder", QJsonArray{}, "campo \"workFolder\": deve essere un testo"},
        {"jpegQuality", "90", "campo \"jpegQuality\": deve essere un numero intero"},
        {"cover", "1,1", "campo \"cover\": deve essere un oggetto"},
        {"cover/page", true, "cover: campo \"page\": deve essere un numero intero"},
        {"books", QJsonObject{}, "campo \"books\": deve essere un elenco"},
        {"books/1", "libro", "libro 2: deve essere un oggetto"},
        {"books/1/label", 2, "libro 2: campo \"label\": deve essere un testo"},
        {"books/1/firstNumber", 1e12, "libro 2: campo \"firstNumber\": deve essere un numero"},
        {"books/1/side", QJsonValue::Null, "libro 2: campo \"side\": deve essere un testo"},
        {"books/1/pages", "text/1.jpg", "libro 2: campo \"pages\": deve essere un elenco"},
        {"books/1/pages/0", QJsonObject{}, "la voce 1 deve essere il nome di un file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        PackBench bench;
        setJson(bench.manifest, QString::fromLatin1(c.path), c.value);
        expectRefused(bench, QString::fromUtf8(c.message));
    }
}

TEST(PackFaults, MissingFieldsAreNamed) {
    const struct {
        const char* object; // "" for the manifest itself
        const char* key;
        const char* message;
    } cases[] = {
        {"", "title", "campo \"title\": manca"},
        {"", "workFolder", "campo \"workFolder\": manca"},
        {"", "cover", "campo \"cover\": manca"},
        {"", "books", "campo \"books\": manca"},
        {"cover", "book", "cover: campo \"book\": manca"},
        {"books/2", "label", "libro 3: campo \"label\": manca"},
        {"books/2", "kind", "libro 3: campo \"kind\": manca"},
        {"books/2", "side", "libro 3: campo \"side\": manca"},
        {"books/2", "firstNumber", "libro 3: campo \"firstNumber\": manca"},
        {"books/2", "pages", "libro 3: campo \"pages\": manca"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        PackBench bench;
        if (QLatin1String(c.object).isEmpty()) {
            bench.manifest.remove(QLatin1String(c.key));
        } else {
            const QStringList steps = QString::fromLatin1(c.object).split('/');
            QJsonObject inner = bench.manifest.value(steps[0]).toObject();
            if (steps.size() == 2)
                inner = bench.manifest.value(steps[0]).toArray()[steps[1].toInt()].toObject();
            inner.remove(QLatin1String(c.key));
            setJson(bench.manifest, QString::fromLatin1(c.object), inner);
        }
        expectRefused(bench, QString::fromUtf8(c.message));
    }
}

TEST(PackFaults, ValuesBeyondTheLimitsAreNamed) {
    PackBench bench;
    setJson(bench.manifest, "title", QString(200, 'T'));
    setJson(bench.manifest, "books/1/firstNumber", 2147483647);
    setJson(bench.manifest, "books/2/kind", -2147483647);
    setJson(bench.manifest, "jpegQuality", 101);
    expectRefused(bench, "campo \"title\": il testo ha 200 caratteri, al massimo 63");
    const QString all =
        pack::buildVolume({bench.path("manifest.json"), bench.outDir(), bench.viewerPath(), {}})
            .errors.join('\n');
    EXPECT_TRUE(all.contains("campo \"firstNumber\": il primo numero è 2147483647"))
        << all.toStdString();
    EXPECT_TRUE(all.contains("campo \"kind\": il tipo di numerazione è -2147483647"));
    EXPECT_TRUE(all.contains("campo \"jpegQuality\": la qualità JPEG è 101"));
}

TEST(PackFaults, OutputThatExistsOrCannotBeWrittenIsNamed) {
    PackBench bench;
    bench.write("taken", "a file where the volume should go");
    expectRefused(bench, "taken esiste già e non è una cartella vuota", bench.path("taken"));
    expectRefused(bench, "la cartella " + bench.path("nowhere") + " non esiste",
                  bench.path("nowhere/volume"));
    bench.write("locked/readme.txt", "x");
    const FilePermissionsObeyed obeyed;
    setMode(bench.path("locked"), 0555);
    expectRefused(bench, "impossibile creare una cartella accanto a " + bench.path("locked/volume"),
                  bench.path("locked/volume"));
    setMode(bench.path("locked"), 0755);
}

TEST(PackFaults, EveryFaultyScanIsNamedAtOnce) {
    // One scan that cannot be converted, then JPEG scans checked only as the volume is written:
    // the writing stops at the first fault, the checking goes on to the last page.
    PackBench bench;
    const QByteArray jpeg = scanOf(bench, "text/2.jpg");
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
    EXPECT_TRUE(report.errors[1].contains("pagina 1 (001d, bad/cut.jpg): il file JPEG è troncato"))
        << report.errors[1].toStdString();
    EXPECT_TRUE(report.errors[2].contains(
        "pagina 2 (0005, bad/second-start.jpg): l'immagine JPEG non si può decodificare"))
        << report.errors[2].toStdString();
    EXPECT_EQ(bench.listing(), before);

    setJson(bench.manifest, "books/0/pages", QJsonArray{"front/a.jpg", "front/b.jpg"});
    expectRefused(bench, "bad/cut.jpg): il file JPEG è troncato");
}

TEST(PackFaults, AFullDiskWhileWritingIsNamed) {
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
    EXPECT_TRUE(report.errors[0].startsWith("impossibile scrivere "));
    EXPECT_TRUE(report.errors[0].endsWith(".ex_")) << report.errors[0].toStdString();
    EXPECT_EQ(bench.listing(), before);
    EXPECT_EQ(report.volumeBytes, 0);
}
