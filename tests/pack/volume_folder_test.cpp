// The volume folder a build leaves: the modes the umask gives, open to another user, nothing
// left behind when a build stops, and the leftovers of killed builds removed.
#include "tests/pack/pack_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const QString kTool = QStringLiteral(CARTAVOX_PACK_PATH);

int modeOf(const QString& path) {
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? int(s.st_mode & 07777) : -1;
}

// Starts `command` (after env: settings, then the program) in `folder` as the user nobody.
void startAsNobody(QProcess& p, const QString& folder, const QStringList& command) {
    p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("setpriv"),
            QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "env"} + command);
}
} // namespace

TEST(VolumeFolder, HasTheUmasksModesAndOpensForAnotherUser) {
    struct Case {
        mode_t umask;
        bool existing; // an empty output folder made beforehand with mode 0755
        int folder, file, exe;
    };
    for (const Case& c : {Case{022, true, 0755, 0644, 0755}, Case{027, false, 0750, 0640, 0750}}) {
        SCOPED_TRACE(c.umask);
        PackBench bench;
        const mode_t before = ::umask(c.umask);
        if (c.existing) {
            ASSERT_EQ(::mkdir(QFile::encodeName(bench.outDir()).constData(), 0755), 0);
        }
        const pack::BuildReport r = bench.build();
        ::umask(before);
        ASSERT_TRUE(r.ok()) << r.errors.join('\n').toStdString();
        EXPECT_EQ(modeOf(bench.outDir()), c.folder);
        EXPECT_EQ(modeOf(QDir(bench.outDir()).filePath("dv00002.ex_")), c.file);
        EXPECT_EQ(modeOf(QDir(bench.outDir()).filePath("Cartavox.exe")), c.exe);
    }
    if (geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP() << "another user needs root and setpriv";
    PackBench bench; // the real viewer, beside the tool
    ASSERT_EQ(::chmod(QFile::encodeName(bench.path(".")).constData(), 0755), 0);
    const mode_t before = ::umask(022);
    const auto built = bench.tool({"build", "@", bench.outDir()});
    ::umask(before);
    ASSERT_EQ(built.status, 0) << built.err.toStdString();
    QProcess verify;
    startAsNobody(verify, bench.outDir(), {kTool, "verify", "."});
    ASSERT_TRUE(verify.waitForFinished(60000));
    EXPECT_EQ(verify.exitCode(), 0) << verify.readAll().toStdString();
    bench.write("home/screens.json", R"({"screens":[{"name":"s","x":0,"y":0,"width":1280,)"
                                     R"("height":1024,"logicalDpiX":96,"logicalDpiY":96}]})");
    ASSERT_EQ(::chmod(QFile::encodeName(bench.path("home")).constData(), 0777), 0);
    QProcess viewer;
    startAsNobody(viewer, bench.outDir(),
                  {"XDG_DATA_HOME=" + bench.path("home"), "CARTAVOX_BENCH_TRACE=1",
                   "QT_QPA_PLATFORM=offscreen:configfile=" + bench.path("home/screens.json"),
                   "./Cartavox.exe"});
    QByteArray said;
    while (!said.contains("prima pagina dipinta") && viewer.waitForReadyRead(30000))
        said += viewer.readAll();
    viewer.kill();
    viewer.waitForFinished();
    EXPECT_TRUE(said.contains("prima pagina dipinta")) << said.toStdString();
}

TEST(VolumeFolder, AStoppedBuildLeavesNothingAndALaterOneRemovesLeftovers) {
    PackBench bench;
    bench.write("manifest.json", QJsonDocument(bench.manifest).toJson());
    const QStringList before = bench.listing();
    pack::BuildOptions o;
    o.manifestPath = bench.path("manifest.json");
    o.outDir = bench.outDir();
    o.viewerPath = bench.viewerPath();
    int asked = 0;
    o.stopped = [&] { return ++asked > 4; }; // in the middle of the writing
    const pack::BuildReport stopped = pack::buildVolume(o);
    EXPECT_EQ(stopped.errors, QStringList{"costruzione interrotta: nessun volume scritto"});
    EXPECT_EQ(bench.listing(), before);

    // A killed build's folders, beside the volume and inside it; one of a build still running.
    bench.write(".volume.cartavox-build-999999999/dv00001.ex_", "x");
    bench.write("volume/.cartavox-build-999999998/Cartavox.exe", "x");
    bench.write(".volume.cartavox-build-1/x", "x"); // process 1 runs
    const pack::BuildReport r = bench.build();
    ASSERT_TRUE(r.ok()) << r.errors.join('\n').toStdString();
    for (const char* left : {"/.volume.cartavox-build-999999999", "/.cartavox-build-999999998"})
        EXPECT_TRUE(r.notes.filter(left).join("").startsWith("rimossa la cartella"))
            << r.notes.join('\n').toStdString();
    EXPECT_EQ(bench.listing().filter("cartavox-build-"),
              (QStringList{".volume.cartavox-build-1", ".volume.cartavox-build-1/x"}));
}
