// The whole benchmark, step by step.
#include "bench/bench_orchestra.h"

#include "bench/bench_pages.h"
#include "bench/bench_publisher.h"
#include "bench/bench_stats.h"
#include "pack/manifest/manifest.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cstdio>

namespace cvx::bench {

namespace {
struct VolumeDef {
    QString id;    // folder name
    QString scans; // name in the table
    ScanSize size;
    bool progressive = false;
    int books = 2;
    int pages = 12;
    bool markers = false; // built with --optimize: restart markers at every MCU row
};

struct Screen {
    QString name;
    QSize logical;
    int ratio = 1;
    QString what; // which measurements: see the view subcommand
};

constexpr int kPackRepeats = 3;
constexpr int kStartRepeats = 5;

void say(const QString& text) {
    std::fprintf(stderr, "cartavox-bench: %s\n", qPrintable(text));
    std::fflush(stderr);
}

qint64 filesBytes(const QStringList& paths) {
    qint64 total = 0;
    for (const QString& p : paths)
        total += QFileInfo(p).size();
    return total;
}

class Orchestra {
  public:
    Orchestra(QString data, bool quick, bool publisherOnly, bool bandsOnly, bool facingOnly)
        : data_(std::move(data)), bin_(QCoreApplication::applicationDirPath()), quick_(quick),
          publisherOnly_(publisherOnly), bandsOnly_(bandsOnly), facingOnly_(facingOnly) {}
    int run();

  private:
    QString path(const QString& name) const { return QDir(data_).filePath(name); }
    bool makeVolumes();
    bool makeVolume(const VolumeDef& v);
    void packing();
    void views();
    void bandViews();
    void startup(const VolumeDef& volume);
    void memory();
    QString screenConfig(const Screen& screen);
    QProcessEnvironment environment(const Screen& screen);
    QByteArray runChild(const QStringList& args, const QProcessEnvironment& env,
                        bool oneCore = false);
    double packOnce(const QString& manifest, const QStringList& extra, QString* report);
    double copyOnce(const QStringList& files);
    QString machine() const;

    QString data_, bin_;
    bool quick_;
    bool publisherOnly_; // only the publisher's commands: init, check, proof
    bool bandsOnly_;     // only first page and jump with and without restart markers
    bool facingOnly_;    // only page turns and turns by an opening, 24 MP scans
    QList<VolumeDef> volumes_;
    QList<Figure> figures_;
};

int Orchestra::run() {
    QElapsedTimer clock;
    clock.start();
    if (publisherOnly_) {
        say(QStringLiteral("publisher's commands: init, check, proof"));
        figures_ << publisherFigures(data_, bin_);
        QTextStream(stdout) << machine() << "\n" << table(figures_);
        return figures_.isEmpty() ? 1 : 0;
    }
    const QList<ScanSize> sizes = scanSizes();
    for (const ScanSize& s : sizes) {
        if ((quick_ || facingOnly_) && s.name != QLatin1String("24 MP"))
            continue;
        const bool largest = s.name == QLatin1String("70 MP");
        volumes_.append(
            {QStringLiteral("v%1").arg(s.pixels.width()), s.name, s, false, 2, largest ? 50 : 12});
        if (!s.spread)
            volumes_.append({QStringLiteral("v%1m").arg(s.pixels.width()),
                             s.name + QStringLiteral(" markers"), s, false, 2, 12, true});
        if (s.name == QLatin1String("24 MP") && !bandsOnly_)
            volumes_.append({QStringLiteral("v%1p").arg(s.pixels.width()),
                             s.name + QStringLiteral(" progressive"), s, true, 2, 12});
    }
    if (bandsOnly_)
        volumes_.removeIf([](const VolumeDef& v) { return v.size.spread; });
    if (facingOnly_)
        volumes_.removeIf([](const VolumeDef& v) { return v.markers || v.progressive; });
    if (!makeVolumes())
        return 1;
    if (facingOnly_) {
        views();
        QTextStream(stdout) << machine() << "\n" << table(figures_);
        return 0;
    }
    if (!bandsOnly_) {
        packing();
        views();
    }
    bandViews();
    for (const VolumeDef& v : volumes_)
        if (!v.progressive &&
            (v.markers || v.scans == QLatin1String("24 MP") || v.scans == QLatin1String("70 MP")))
            startup(v);
    if (!bandsOnly_) {
        memory();
        say(QStringLiteral("publisher's commands: init, check, proof"));
        figures_ << publisherFigures(data_, bin_);
    }
    const QString text = machine() + QStringLiteral("\n") + table(figures_) +
                         QStringLiteral("\nWhole run: %1 s\n").arg(clock.elapsed() / 1000);
    QTextStream(stdout) << text;
    QFile out(path(QStringLiteral("results.txt")));
    if (out.open(QIODevice::WriteOnly))
        out.write(text.toUtf8());
    return 0;
}

bool Orchestra::makeVolumes() {
    return std::all_of(volumes_.begin(), volumes_.end(),
                       [this](const VolumeDef& v) { return makeVolume(v); });
}

bool Orchestra::makeVolume(const VolumeDef& v) {
    say(QStringLiteral("scans and volume: %1, %2 x %3 pages")
            .arg(v.scans)
            .arg(v.books)
            .arg(v.pages));
    const QString source = path(QStringLiteral("src/") + v.id);
    QString error;
    QDir(source).removeRecursively();
    if (!writeManifest(path(QStringLiteral("scans")), source, v.size, v.progressive, v.books,
                       v.pages, &error)) {
        say(error);
        return false;
    }
    const QString folder = path(QStringLiteral("vol/") + v.id);
    QDir(folder).removeRecursively();
    QDir().mkpath(path(QStringLiteral("vol")));
    QString report;
    const QStringList extra =
        v.markers ? QStringList{folder, QStringLiteral("--optimize")} : QStringList{folder};
    if (packOnce(QDir(source).filePath(QStringLiteral("manifest.json")), extra, &report) < 0) {
        say(report);
        return false;
    }
    return true;
}

// Runs cartavox-pack build; the seconds it took, or -1 (with its output in `report`).
double Orchestra::packOnce(const QString& manifest, const QStringList& extra, QString* report) {
    QProcess pack;
    pack.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    pack.start(QDir(bin_).filePath(QStringLiteral("cartavox-pack")),
               QStringList{QStringLiteral("build"), manifest} + extra);
    pack.waitForFinished(-1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    *report = QString::fromUtf8(pack.readAll()).trimmed();
    return pack.exitStatus() == QProcess::NormalExit && pack.exitCode() == 0 ? seconds : -1;
}

// Reads every file whole and writes it whole into a fresh folder, as the packer's bytes go.
double Orchestra::copyOnce(const QStringList& files) {
    const QString out = path(QStringLiteral("copy-out"));
    QDir(out).removeRecursively();
    QDir().mkpath(out);
    QElapsedTimer clock;
    clock.start();
    int n = 0;
    for (const QString& f : files) {
        QFile in(f);
        QFile copy(QDir(out).filePath(QString::number(n++)));
        if (!in.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly) ||
            copy.write(in.readAll()) != in.size())
            return -1;
    }
    return clock.nsecsElapsed() / 1e9;
}

void Orchestra::packing() {
    for (const VolumeDef& v : volumes_) {
        const bool plain = v.scans == QLatin1String(quick_ ? "24 MP" : "70 MP");
        if (!plain && !v.progressive)
            continue;
        say(QStringLiteral("packing: %1").arg(v.scans));
        const QString manifest = path(QStringLiteral("src/%1/manifest.json").arg(v.id));
        QStringList files;
        for (const pack::ManifestBook& b : pack::readManifest(manifest).manifest.books)
            files << b.pageFiles;
        const double megabytes = filesBytes(files) / 1e6;
        std::vector<double> packs, copies, optimized;
        QString report, optimizeReport;
        const QString out = path(QStringLiteral("pack-out"));
        for (int i = 0; i < kPackRepeats; ++i) {
            if (plain) {
                QDir(out).removeRecursively();
                packs.push_back(megabytes / packOnce(manifest, {out}, &report));
                copies.push_back(megabytes / copyOnce(files));
            }
            if (i == 0 && v.progressive) { // slow: once, on the smaller volume
                QDir(out).removeRecursively();
                optimized.push_back(megabytes / packOnce(manifest,
                                                         {out, QStringLiteral("--optimize")},
                                                         &optimizeReport));
            }
        }
        QDir(out).removeRecursively();
        QDir(path(QStringLiteral("copy-out"))).removeRecursively();
        const double copy = median(copies);
        const auto line = [](const QString& r) { return r.split(QLatin1Char('\n')).last(); };
        if (plain)
            figures_ << Figure{QStringLiteral("packing"),
                               v.scans,
                               QString(),
                               median(packs),
                               copy,
                               QStringLiteral("MB/s"),
                               QStringLiteral(">= 0.5 x copy"),
                               median(packs) >= 0.5 * copy,
                               kPackRepeats,
                               QStringLiteral("floor = plain copy; %1").arg(line(report))};
        if (!optimized.empty())
            figures_ << Figure{QStringLiteral("pack --optimize"),
                               v.scans,
                               QString(),
                               median(optimized),
                               0,
                               QStringLiteral("MB/s"),
                               QString(),
                               true,
                               1,
                               line(optimizeReport)};
    }
}

QString Orchestra::screenConfig(const Screen& screen) {
    const QString file = path(QStringLiteral("screen-%1x%2-%3.json")
                                  .arg(screen.logical.width())
                                  .arg(screen.logical.height())
                                  .arg(screen.ratio));
    const QJsonObject one{{"name", "bench"},
                          {"x", 0},
                          {"y", 0},
                          {"width", screen.logical.width()},
                          {"height", screen.logical.height()},
                          {"logicalDpi", 96},
                          {"logicalBaseDpi", 96},
                          {"dpr", screen.ratio}};
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{one}}}).toJson());
    return file;
}

QProcessEnvironment Orchestra::environment(const Screen& screen) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               QStringLiteral("offscreen:configfile=") + screenConfig(screen));
    return env;
}

QByteArray Orchestra::runChild(const QStringList& args, const QProcessEnvironment& env,
                               bool oneCore) {
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // On one core Qt's idealThreadCount, which sizes every thread pool, is 1.
    if (oneCore)
        child.start(QStringLiteral("taskset"),
                    QStringList{QStringLiteral("-c"), QStringLiteral("0"),
                                QCoreApplication::applicationFilePath()} +
                        args);
    else
        child.start(QCoreApplication::applicationFilePath(), args);
    child.waitForFinished(-1);
    const QByteArray out = child.readAllStandardOutput();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        say(QStringLiteral("%1 failed").arg(args.join(QLatin1Char(' '))));
    return out;
}

void Orchestra::views() {
    const QList<Screen> screens = {
        {QStringLiteral("1920x1080"), QSize(1920, 1080), 1, QStringLiteral("tjmfzop")},
        {QStringLiteral("3840x2160"), QSize(3840, 2160), 1, QStringLiteral("tjmzap")},
        {QStringLiteral("1920x1080 @2"), QSize(1920, 1080), 2, QStringLiteral("tjm")}};
    for (Screen s : screens) {
        if (facingOnly_ && s.ratio != 1)
            continue;
        if (facingOnly_)
            s.what = QStringLiteral("tp");
        for (const VolumeDef& v : volumes_) {
            say(QStringLiteral("reading %1 on %2").arg(v.scans, s.name));
            figures_ << collectFigures(
                runChild({QStringLiteral("view"), s.name,
                          QStringLiteral("%1x%2").arg(s.logical.width()).arg(s.logical.height()),
                          s.what, v.scans, path(QStringLiteral("vol/") + v.id)},
                         environment(s)));
        }
    }
}

// First page (its floor) and jumps of the volumes with and without restart markers, on one core
// and on all, at 1920 x 1080: what banded decoding gains for the pages not read ahead.
void Orchestra::bandViews() {
    const Screen s{QStringLiteral("1920x1080"), QSize(1920, 1080), 1, QStringLiteral("jf")};
    const QString cores = QStringLiteral(", %1 cores").arg(QThread::idealThreadCount());
    for (const VolumeDef& v : volumes_) {
        if (v.progressive || v.size.spread)
            continue;
        for (const bool one : {true, false}) {
            const QString scans = v.scans + (one ? QStringLiteral(", 1 core") : cores);
            say(QStringLiteral("reading %1 on %2").arg(scans, s.name));
            figures_ << collectFigures(
                runChild({QStringLiteral("view"), s.name, QStringLiteral("1920x1080"), s.what,
                          scans, path(QStringLiteral("vol/") + v.id)},
                         environment(s), one));
        }
    }
}

void Orchestra::startup(const VolumeDef& volume) {
    say(QStringLiteral("start-up: %1").arg(volume.scans));
    const Screen screen{QStringLiteral("1920x1080"), QSize(1920, 1080), 1, QString()};
    QProcessEnvironment env = environment(screen);
    QTemporaryDir home;
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    env.insert(QStringLiteral("CARTAVOX_BENCH_TRACE"), QStringLiteral("1"));
    const QString folder = path(QStringLiteral("vol/") + volume.id);
    std::vector<double> ms;
    for (int i = 0; i < kStartRepeats; ++i) {
        QProcess viewer;
        viewer.setProcessEnvironment(env);
        viewer.setWorkingDirectory(folder);
        viewer.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        viewer.start(QDir(folder).filePath(QStringLiteral("Cartavox.exe")), {});
        QByteArray seen;
        while (!seen.contains("CARTAVOX_BENCH_TRACE") && viewer.waitForReadyRead(30000))
            seen += viewer.readAll();
        const double elapsed = clock.nsecsElapsed() / 1e6;
        viewer.kill();
        viewer.waitForFinished();
        if (!seen.contains("CARTAVOX_BENCH_TRACE")) {
            say(QStringLiteral("the viewer painted no page: ") + QString::fromUtf8(seen));
            return;
        }
        ms.push_back(elapsed);
    }
    double floor = 0;
    for (const Figure& f : figures_)
        if (f.measure == QLatin1String("first page floor") &&
            (f.scans == volume.scans || f.scans == volume.scans + QStringLiteral(", 1 core")))
            floor = f.value;
    const double value = median(ms);
    figures_ << Figure{QStringLiteral("start-up"),
                       volume.scans,
                       screen.name,
                       value,
                       floor,
                       QStringLiteral("ms"),
                       QStringLiteral("<= floor + 200 ms"),
                       value <= floor + 200,
                       kStartRepeats,
                       QStringLiteral("process start to first page painted")};
}

void Orchestra::memory() {
    const Screen screen{QStringLiteral("1920x1080"), QSize(1920, 1080), 1, QString()};
    // The overview of one book of 300 pages, on a screen at device pixel ratios 1 and 2; the
    // volume is removed after (it is large).
    for (const VolumeDef& v : volumes_)
        if (v.scans == QLatin1String("24 MP")) {
            const VolumeDef book{v.id + QStringLiteral("x300"), v.scans, v.size, false, 1, 300};
            if (!makeVolume(book))
                break;
            for (const int ratio : {1, 2}) {
                say(QStringLiteral("overview memory: %1, 300 pages, ratio %2")
                        .arg(v.scans)
                        .arg(ratio));
                const Screen at{screen.name, screen.logical, ratio, QString()};
                figures_ << collectFigures(
                    runChild({QStringLiteral("overview-memory"), v.scans,
                              path(QStringLiteral("vol/") + book.id), QStringLiteral("1920x1080")},
                             environment(at)));
            }
            QDir(path(QStringLiteral("vol/") + book.id)).removeRecursively();
            QDir(path(QStringLiteral("src/") + book.id)).removeRecursively();
            break;
        }
    for (const VolumeDef& v : volumes_) {
        if (v.pages < 50 && !quick_)
            continue;
        if (quick_ && v.progressive)
            continue;
        say(QStringLiteral("memory: %1").arg(v.scans));
        figures_ << collectFigures(
            runChild({QStringLiteral("memory"), v.scans, path(QStringLiteral("vol/") + v.id),
                      QStringLiteral("1920x1080")},
                     environment(screen)));
    }
}

QString Orchestra::machine() const {
    QString cpu;
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly))
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("model name")) {
                cpu = QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
                break;
            }
    return QStringLiteral("Machine: %1, %2 cores, %3; Qt %4, offscreen platform\n")
        .arg(cpu)
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::prettyProductName())
        .arg(QString::fromLatin1(qVersion()));
}
} // namespace

int orchestrate(const QStringList& args) {
    QString data =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bench-data"));
    if (const qsizetype at = args.indexOf(QStringLiteral("--data"));
        at >= 0 && at + 1 < args.size())
        data = args[at + 1];
    if (!QDir().mkpath(data)) {
        say(QStringLiteral("cannot create %1").arg(data));
        return 1;
    }
    return Orchestra(QDir(data).absolutePath(), args.contains(QStringLiteral("--quick")),
                     args.contains(QStringLiteral("--publisher")),
                     args.contains(QStringLiteral("--bands")),
                     args.contains(QStringLiteral("--facing")))
        .run();
}

} // namespace cvx::bench
