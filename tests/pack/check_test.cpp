// The checks of a book's structure: a generated volume with planted problems (a missing and a
// doubled page, a colour target, a sideways leaf, a landscape page, an EXIF-turned scan, numbers
// typed into another book), each found and named, and a clean book that gives none. The
// expected findings are worked out by hand from the pages planted.
#include "pack/checks/manifest_and_scans.h"
#include "pack/scans/jpeg_optimize.h"
#include "tests/pack/pack_fixture.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const QSize kPage(90, 120);

// Book 2 numbers its pages from 1, book 3 from 10: typing 10 to 12 opens book 3.
struct PlantedVolume : PackBench {
    PlantedVolume() {
        const std::pair<const char*, QByteArray> pages[] = {
            {"testo/p001.jpg", noisyJpeg(kPage, 11)},
            {"testo/p002.jpg", noisyJpeg(kPage, 12)},
            {"testo/p003.jpg", noisyJpeg(kPage, 13)},
            {"testo/p004.jpg", noisyJpeg(kPage, 14)},
            {"testo/p006.jpg", noisyJpeg(kPage, 16)},      // p005 missing
            {"testo/p007.jpg", noisyJpeg(kPage, 13)},      // p003 again
            {"testo/p008.jpg", noisyJpeg({60, 60}, 18)},   // a colour target
            {"testo/p009.jpg", noisyJpeg({120, 90}, 19)},  // a leaf shot sideways
            {"testo/p010.jpg", noisyJpeg({200, 100}, 20)}, // a landscape plate
            {"testo/p011.jpg", withOrientation(noisyJpeg({120, 90}, 21), 6)},
            {"testo/p012.jpg", noisyJpeg(kPage, 22)},
            {"testo/p013.jpg", noisyJpeg(kPage, 23)}};
        QStringList names;
        for (const auto& [name, bytes] : pages) {
            write(name, bytes);
            names << name;
        }
        write("front.jpg", noisyJpeg(kPage, 1));
        write("tav/t1.jpg", noisyJpeg(kPage, 31));
        write("tav/t2.jpg", noisyJpeg(kPage, 32));
        write("atl/a1.jpg", noisyJpeg({200, 120}, 41)); // openings 0023, 0025: typed 23 seeks 25
        write("atl/a2.jpg", noisyJpeg({200, 120}, 42));
        setBooks({bookJson("Frontespizio", 1, 1, {"front.jpg"}), bookJson("Testo", 1, 1, names),
                  bookJson("Tavole", 1, 10, {"tav/t1.jpg", "tav/t2.jpg"}),
                  bookJson("Atlante", 2, 20, {"atl/a1.jpg", "atl/a2.jpg"})});
    }
};

const QString kText = QStringLiteral("libro 2 (dv00002.ex_, \"Testo\")");

QString page(int n, const char* file) {
    return QStringLiteral("%1, pagina %2 (%3, testo/%4)")
        .arg(kText)
        .arg(n)
        .arg(n, 4, 10, QLatin1Char('0'))
        .arg(QLatin1String(file));
}

const QStringList kPlanted = {
    "17 scansioni JPEG non hanno marcatori di ripristino a ogni riga di blocchi (libro 1 "
    "(dv00001.ex_, \"Frontespizio\"), pagina 1 (0001, front.jpg); " +
        page(1, "p001.jpg") + "; " + page(2, "p002.jpg") +
        "; e altre 14): il visore le decodifica su un solo core; con \"build --optimize\" li "
        "ricevono senza perdita e si decodificano a bande su tutti i core",
    "libro 1 (dv00001.ex_, \"Frontespizio\"): il visore non apre mai il primo libro da un numero "
    "digitato; le sue pagine si raggiungono dall'elenco dei libri",
    page(5, "p006.jpg") +
        ": i nomi dei file saltano da p004.jpg a questa: manca qualche scansione?",
    page(6, "p007.jpg") + ": è la stessa immagine di " + page(3, "p003.jpg"),
    page(7, "p008.jpg") +
        ": misura 60 x 60 pixel, le altre pagine del libro circa 90 x 120 pixel: "
        "una tabella dei colori, una pagina bianca o una ripresa a un'altra scala?",
    page(8, "p009.jpg") +
        ": sembra girata di lato: misura 120 x 90 pixel, le altre pagine del libro "
        "90 x 120 pixel",
    page(9, "p010.jpg") + ": è orizzontale (200 x 100 pixel) fra pagine verticali",
    kText + ", pagine da 0010 a 0012: digitando i loro numeri si apre il libro 3 (dv00003.ex_, "
            "\"Tavole\")",
    page(10, "p011.jpg") + ": l'orientamento EXIF 6 la vuole ruotata di 90° in senso orario; il "
                           "visore mostra i pixel come sono: build la raddrizza",
    "libro 4 (dv00004.ex_, \"Atlante\"): con pagine doppie il visore trova i numeri digitati solo "
    "se il primo numero è 1 a destra (D) o 0 a sinistra"};

QStringList texts(const QList<pack::Finding>& findings) {
    QStringList list;
    for (const pack::Finding& f : findings)
        list << f.text;
    return list;
}
} // namespace

TEST(PackCheck, EachPlantedProblemIsFoundAndNamed) {
    PlantedVolume v;
    const pack::ManifestCheck c = pack::checkManifest(v.path("manifest.json"), {});
    EXPECT_EQ(texts(c.findings).join('\n').toStdString(), kPlanted.join('\n').toStdString());
    EXPECT_EQ(pack::checkStatus(c.findings), 1);
}

TEST(PackCheck, ACleanBookGivesNone) {
    PackBench bench; // openings from 0 on the left, whose labels the lookup finds
    QStringList pages;
    for (int i = 1; i <= 12; ++i) {
        pages << QStringLiteral("pulito/c%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        // Re-encoded as --optimize stores them: with restart markers at every MCU row.
        bench.write(pages.last(), pack::optimizeJpeg(noisyJpeg({200, 120}, 100 + i)).bytes);
    }
    bench.setBooks({bookJson("Pulito", 2, 0, pages)});
    setJson(bench.manifest, "books/0/side", "S");
    bench.write("manifest.json", QJsonDocument(bench.manifest).toJson());
    const auto c = pack::checkManifest(bench.path("manifest.json"), {});
    EXPECT_EQ(texts(c.findings).join('\n').toStdString(), "");
    EXPECT_EQ(pack::checkStatus(c.findings), 0);
}

TEST(PackCheck, BuildWarnsAlikeAndTurnsTheScanUpright) {
    PlantedVolume v;
    const pack::BuildReport r = v.build();
    ASSERT_TRUE(r.ok()) << r.errors.join('\n').toStdString();
    // The same findings but the orientation, which the build applies: 120 x 90 pixels in 16 x 16
    // blocks cannot turn losslessly (90 is no multiple of 16), so the scan is re-encoded.
    QStringList built = kPlanted;
    built.removeAt(8); // the orientation, applied
    built.removeAt(0); // the restart markers: the build's own --optimize adds them
    EXPECT_EQ((r.notes + r.warnings).join('\n').toStdString(), built.join('\n').toStdString());
    EXPECT_EQ(r.turnedReencoded, 1);
    EXPECT_EQ(r.turnedLosslessly, 0);
    const auto run = v.tool({"check", "@"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains("Controllo: 4 libri, 17 pagine: 0 errori, 8 avvisi, 2 note"))
        << run.out.toStdString();
}
