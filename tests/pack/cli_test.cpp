// The command line of cartavox-pack: help and version, exit statuses, summaries on stdout and
// faults on stderr, for every command.
#include "tests/pack/pack_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QUrl>
#include <gtest/gtest.h>

using namespace cvx::test;

namespace {
QStringList buildArgs(const PackBench& bench) {
    return {"build", "@", bench.outDir(), "--viewer", bench.viewerPath()};
}
} // namespace

TEST(PackCommandLine, HelpVersionAndWrongCommandLines) {
    PackBench bench;
    const auto help = bench.tool({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"build", "inspect", "verify", "extract", "init", "check", "proof", "export-iiif"})
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  %1 ").arg(command))) << command;
    EXPECT_TRUE(help.out.contains("\"check\": 0 nessun problema, 1 avvisi, 3 errori"));
    const auto checkHelp = bench.tool({"check", "--help"});
    EXPECT_EQ(checkHelp.status, 0);
    EXPECT_TRUE(checkHelp.out.startsWith("Uso: cartavox-pack check MANIFESTO"));
    for (const QStringList& version : {QStringList{"--version"}, QStringList{"proof", "-v"}}) {
        const auto v = bench.tool(version);
        EXPECT_EQ(v.status, 0);
        EXPECT_EQ(v.out, "cartavox-pack 0.1\n");
    }
    for (const char* wrong : {"", "verify", "build only-one", "build a b --viewer", "check a b",
                              "init", "proof x --bogus", "pack"})
        EXPECT_EQ(bench.tool(QString(wrong).split(' ', Qt::SkipEmptyParts)).status, 2) << wrong;
    EXPECT_TRUE(
        bench.tool({"pack"}).err.startsWith("cartavox-pack: comando sconosciuto: pack\n\nUso:"));
    EXPECT_TRUE(bench.tool({"proof", "x", "--bogus"}).err.contains("opzione sconosciuta: --bogus"));
}

TEST(PackCommandLine, BuildInspectVerifyExtract) {
    PackBench bench; // a scan to transpose, which moves no partial block: lossless
    bench.write("front/b.jpg", withOrientation(bench.scans["front/b.jpg"], 5));
    const auto built = bench.tool(buildArgs(bench).mid(0, 3)); // the viewer beside the tool
    ASSERT_EQ(built.status, 0) << built.err.toStdString();
    EXPECT_TRUE(built.out.contains("Orientamento EXIF: 1 scansioni raddrizzate, 1 senza perdita e "
                                   "0 ricodificate alla qualità 90"));
    const QByteArray viewer =
        contentOf(QFileInfo(QStringLiteral(CARTAVOX_PACK_PATH)).dir().filePath("cartavox-viewer"));
    EXPECT_TRUE(contentOf(QDir(bench.outDir()).filePath("Cartavox.exe")).startsWith(viewer));
    EXPECT_TRUE(QFile::permissions(QDir(bench.outDir()).filePath("Cartavox.exe")) &
                QFile::ExeOwner);
    EXPECT_TRUE(built.out.contains(": 3 libri, 7 pagine (0 convertite in JPEG), "));
    EXPECT_TRUE(built.out.contains(" MB/s"));
    const auto inspect = bench.tool({"inspect", bench.outDir()});
    EXPECT_EQ(inspect.status, 0);
    for (const char* shown : {"\"Historia Naturalis\"", "\"PLINIO  \"", "dv00002.ex_, voce 2",
                              "02 Lib.02 Primo libro", "0 fogli", "2 doppie", "002s", "0005"})
        EXPECT_TRUE(inspect.out.contains(QString::fromUtf8(shown))) << shown;
    EXPECT_FALSE(inspect.out.contains(QChar(0)));
    const auto verify = bench.tool({"verify", bench.outDir()});
    EXPECT_EQ(verify.status, 0) << verify.err.toStdString();
    EXPECT_TRUE(verify.out.contains("Volume integro: 3 libri, 7 pagine verificate"));
    const auto extract = bench.tool({"extract", bench.outDir(), bench.path("pages")});
    EXPECT_EQ(extract.status, 0);
    EXPECT_EQ(QDir(bench.path("pages")).entryList(QDir::Files).size(), 7);
}

TEST(PackCommandLine, FaultsGiveStatusOneAndCheckThree) {
    PackBench bench;
    setJson(bench.manifest, "books/0/kind", 5);
    const auto refused = bench.tool(buildArgs(bench));
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("campo \"kind\": il tipo di numerazione è 5"));
    EXPECT_FALSE(QFileInfo::exists(bench.outDir()));
    const auto check = bench.tool({"check", "@"});
    EXPECT_EQ(check.status, 3);
    EXPECT_TRUE(check.err.contains("cartavox-pack: errore: libro 1 (dv00001.ex_, \"01 Lib.01 "
                                   "Antiporta\"), campo \"kind\": il tipo di numerazione è 5"));

    setJson(bench.manifest, "books/0/kind", 1);
    ASSERT_EQ(bench.tool(buildArgs(bench)).status, 0);
    QFile archive(QDir(bench.outDir()).filePath("dv00002.ex_"));
    ASSERT_TRUE(archive.resize(archive.size() - 10));
    const auto verify = bench.tool({"verify", bench.outDir()});
    EXPECT_EQ(verify.status, 1);
    EXPECT_TRUE(verify.err.contains("pagina 002d (voce 2)")) << verify.err.toStdString();
}

TEST(PackCommandLine, InitProofAndExportSayWhatTheyWrote) {
    PackBench bench;
    const auto init = bench.tool({"init", bench.path("text"), "-o", bench.path("m.json")});
    ASSERT_EQ(init.status, 0) << init.err.toStdString();
    EXPECT_TRUE(init.out.contains(": 1 libri, 3 pagine. Da controllare:"));
    EXPECT_TRUE(init.out.contains("libro 1 \"text\": 3 pagine, pagine, la prima a destra, dal "
                                  "numero 1 (dai nomi dei file)"))
        << init.out.toStdString();
    const auto again = bench.tool({"init", bench.path("text"), "-o", bench.path("m.json")});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("m.json esiste già"));
    bench.write("nulla/leggimi.txt", "x"); // what the scans lack is said first, nothing written
    for (const char* scans : {"nulla", "assente", "manifest.json"}) {
        const auto none = bench.tool({"init", bench.path(scans), "-o", bench.path("m.json")});
        EXPECT_EQ(none.status, 1);
        EXPECT_TRUE(none.err.contains(QStringLiteral("%1 non ").arg(bench.path(scans))))
            << none.err.toStdString();
    }
    EXPECT_TRUE(bench.tool({"init", bench.path("nulla"), "-o", bench.path("n.json")})
                    .err.contains("nulla: 1 file non presi, non sono immagini: leggimi.txt"));
    EXPECT_FALSE(QFileInfo::exists(bench.path("n.json")));

    const auto proof = bench.tool({"proof", "@", "-o", bench.path("bozza.html")});
    EXPECT_EQ(proof.status, 0) << proof.err.toStdString();
    EXPECT_TRUE(proof.out.contains("bozza.html: 3 libri, 7 pagine, "));
    ASSERT_EQ(bench.tool(buildArgs(bench)).status, 0);
    const auto exported = bench.tool({"export-iiif", bench.outDir(), bench.path("web")});
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.contains("web/manifest.json con 7 immagini"));
}

// Labels with "%N" pass through every message as they are, and "-o -" writes to stdout.
TEST(PackCommandLine, PercentLabelsAndStandardOutput) {
    PackBench bench;
    setJson(bench.manifest, "books/0/label", "01 %3 %6 %1%2");
    setJson(bench.manifest, "books/0/pages", QJsonArray{"front/a.jpg", "none.jpg"});
    const QString book = QStringLiteral("libro 1 (dv00001.ex_, \"01 %3 %6 %1%2\")");
    const auto check = bench.tool({"check", "@"});
    EXPECT_EQ(check.status, 3);
    EXPECT_TRUE(check.err.contains(book + ", pagina 2 (0002, none.jpg): il file "))
        << check.err.toStdString();
    const auto json = bench.tool({"check", "@", "--json"});
    EXPECT_EQ(json.status, 3);
    QJsonObject error;
    for (const QJsonValue& f : QJsonDocument::fromJson(json.out.toUtf8())["findings"].toArray())
        error = f["severity"] == "error" ? f.toObject() : error;
    EXPECT_EQ(error, (QJsonObject{{"book", 1},
                                  {"page", 2},
                                  {"lastPage", 2},
                                  {"file", "none.jpg"},
                                  {"severity", "error"},
                                  {"message", error["message"]}}))
        << json.out.toStdString();
    EXPECT_TRUE(error["message"].toString().startsWith(book)) << json.out.toStdString();
    bench.write("none.jpg", bench.scans["front/b.jpg"]);
    const auto proof = bench.tool({"proof", "@", "-o", "-"});
    EXPECT_EQ(proof.status, 0) << proof.err.toStdString();
    EXPECT_TRUE(proof.out.contains("<h2>01 %3 %6 %1%2</h2><p class=\"numerazione\">pagine, la "
                                   "prima a destra, dal numero 1 · 2 pagine · dv00001.ex_"))
        << proof.out.toStdString();
    EXPECT_TRUE(proof.err.startsWith("Bozza scritta in uscita standard: 3 libri"));
    const auto init = bench.tool({"init", bench.path("text"), "-o", "-"});
    EXPECT_EQ(init.status, 0);
    EXPECT_EQ(QJsonDocument::fromJson(init.out.toUtf8())["books"].toArray().size(), 1);
    bench.write("empty.json", "");
    const auto empty = bench.tool({"check", bench.path("empty.json")});
    EXPECT_EQ(empty.status, 3);
    EXPECT_TRUE(empty.err.contains("empty.json è vuoto")) << empty.err.toStdString();
}

TEST(PackCommandLine, ExportWritesValidUrisAndKeepsAManifestWithoutForce) {
    PackBench bench;
    ASSERT_EQ(bench.tool({"build", "@", bench.outDir(), "--viewer", bench.viewerPath()}).status, 0);
    const QString web = bench.path(QString::fromUtf8("web è qui"));
    ASSERT_EQ(bench.tool({"export-iiif", bench.outDir(), web}).status, 0);
    const QJsonObject m = QJsonDocument::fromJson(contentOf(web + "/manifest.json")).object();
    EXPECT_EQ(m["viewingDirection"], "left-to-right");
    const QString id = m["items"][0]["items"][0]["items"][0]["body"]["id"].toString();
    EXPECT_TRUE(id.endsWith("/web%20%C3%A8%20qui/immagini/dv00001_0001.jpg")) << id.toStdString();
    EXPECT_TRUE(QUrl(id, QUrl::StrictMode).isValid());
    const auto again = bench.tool({"export-iiif", bench.outDir(), web});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("manifest.json esiste già")) << again.err.toStdString();
    EXPECT_EQ(bench.tool({"export-iiif", bench.outDir(), web, "--force"}).status, 0);
}

TEST(SampleCommandLine, HelpAndWrongLinesDrawNothing) {
    QTemporaryDir here;
    const QString sample =
        QFileInfo(QStringLiteral(CARTAVOX_PACK_PATH)).dir().filePath("cartavox-sample");
    for (const auto& [args, status] : {std::pair{QStringList{"--help"}, 0},
                                       {QStringList{"--bogus", "x"}, 2},
                                       {QStringList{}, 2},
                                       {QStringList{"a", "b"}, 2}}) {
        QProcess p;
        p.setWorkingDirectory(here.path());
        p.start(sample, args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), status) << args.join(' ').toStdString();
        EXPECT_TRUE(QDir(here.path()).isEmpty()) << args.join(' ').toStdString();
    }
}
