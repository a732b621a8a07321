// The command line of cartavox-pack: exit statuses, the summary, and faults on stderr.
#include "tests/pack/pack_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

using namespace cvx::test;

namespace {
struct ToolRun {
    int status = -1;
    QString out, err;
};

ToolRun pack(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(CARTAVOX_PACK_PATH), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QStringList buildArgs(const PackBench& bench) {
    bench.write("manifest.json", QJsonDocument(bench.manifest).toJson());
    return {"build", bench.path("manifest.json"), bench.outDir(), "--viewer", bench.viewerPath()};
}
} // namespace

TEST(PackCommandLine, BuildInspectVerifyExtract) {
    PackBench bench;
    const ToolRun built = pack(buildArgs(bench));
    ASSERT_EQ(built.status, 0) << built.err.toStdString();
    EXPECT_TRUE(built.out.contains(": 3 libri, 7 pagine (0 convertite in JPEG), "))
        << built.out.toStdString();
    EXPECT_TRUE(built.out.contains(" MB/s"));

    const ToolRun inspect = pack({"inspect", bench.outDir()});
    EXPECT_EQ(inspect.status, 0);
    EXPECT_TRUE(inspect.out.contains("002s"));

    const ToolRun verify = pack({"verify", bench.outDir()});
    EXPECT_EQ(verify.status, 0) << verify.err.toStdString();
    EXPECT_TRUE(verify.out.contains("Volume integro: 3 libri, 7 pagine verificate"));

    const ToolRun extract = pack({"extract", bench.outDir(), bench.path("pages")});
    EXPECT_EQ(extract.status, 0);
    EXPECT_EQ(QDir(bench.path("pages")).entryList(QDir::Files).size(), 7);
}

TEST(PackCommandLine, FaultsGiveStatusOneAndUsageTwo) {
    PackBench bench;
    setJson(bench.manifest, "books/0/kind", 5);
    const ToolRun refused = pack(buildArgs(bench));
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("campo \"kind\": il tipo di numerazione è 5"));
    EXPECT_FALSE(QFileInfo::exists(bench.outDir()));

    setJson(bench.manifest, "books/0/kind", 1);
    ASSERT_EQ(pack(buildArgs(bench)).status, 0);
    QFile archive(QDir(bench.outDir()).filePath("dv00002.ex_"));
    ASSERT_TRUE(archive.resize(archive.size() - 10));
    const ToolRun verify = pack({"verify", bench.outDir()});
    EXPECT_EQ(verify.status, 1);
    EXPECT_TRUE(verify.err.contains("pagina 002d (voce 2)")) << verify.err.toStdString();

    EXPECT_EQ(pack({}).status, 2);
    EXPECT_EQ(pack({"verify"}).status, 2);
    EXPECT_EQ(pack({"build", "only-one"}).status, 2);
    EXPECT_TRUE(pack({"pack"}).err.startsWith("Uso:"));
}

TEST(PackCommandLine, ViewerDefaultsToTheOneBesideTheTool) {
    PackBench bench;
    QStringList args = buildArgs(bench);
    args.resize(3); // without --viewer
    ASSERT_EQ(pack(args).status, 0);
    QFile viewer(QFileInfo(QStringLiteral(CARTAVOX_PACK_PATH)).dir().filePath("cartavox-viewer"));
    QFile exe(QDir(bench.outDir()).filePath("Cartavox.exe"));
    ASSERT_TRUE(viewer.open(QIODevice::ReadOnly) && exe.open(QIODevice::ReadOnly));
    const QByteArray program = viewer.readAll();
    EXPECT_EQ(exe.read(program.size()), program);
    EXPECT_TRUE(exe.permissions() & QFile::ExeOwner);
}
