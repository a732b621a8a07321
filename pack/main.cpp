// cartavox-pack: builds a volume folder from a manifest of page scans, and reads volumes back
// (inspect, verify, extract).
#include "pack/default_viewer.h"
#include "pack/volume_builder.h"
#include "pack/volume_check.h"
#include "pack/volume_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace cvx::pack;

namespace {
QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

int usage() {
    err() << "Uso:\n"
             "  cartavox-pack build MANIFEST.json CARTELLA [--viewer PROGRAMMA] [--optimize]\n"
             "  cartavox-pack inspect CARTELLA\n"
             "  cartavox-pack verify CARTELLA\n"
             "  cartavox-pack extract CARTELLA CARTELLA_PAGINE\n";
    err().flush();
    return 2;
}

int faults(const QStringList& list) {
    for (const QString& f : list)
        err() << "cartavox-pack: " << f << "\n";
    err().flush();
    return list.isEmpty() ? 0 : 1;
}

// One line on stderr, rewritten in place on a terminal, shown only once a run takes a while.
class ProgressLine {
  public:
    ProgressLine() : terminal_(isatty(fileno(stderr)) != 0) { clock_.start(); }
    void show(const QString& text) {
        const qint64 now = clock_.elapsed();
        const qint64 every = terminal_ ? 100 : 2000;
        if (now < 500 || now - last_ < every)
            return;
        last_ = now;
        err() << (terminal_ ? "\r" : "") << text << (terminal_ ? "\x1b[K" : "\n");
        err().flush();
        shown_ = true;
    }
    void end() {
        if (shown_ && terminal_)
            err() << "\n";
        err().flush();
    }
    [[nodiscard]] double seconds() const { return clock_.nsecsElapsed() / 1e9; }

  private:
    bool terminal_;
    bool shown_ = false;
    qint64 last_ = -100000;
    QElapsedTimer clock_;
};

QString megabytes(qint64 bytes) {
    return QString::number(bytes / 1e6, 'f', 1) + " MB";
}

// What --optimize did: how many scans were re-encoded and what that saved.
QString optimizeSummary(const BuildReport& r) {
    if (r.optimizedPages == 0)
        return QStringLiteral("Ottimizzazione: nessuna scansione JPEG da ricodificare");
    const qint64 saved = r.bytesBeforeOptimizing - r.bytesAfterOptimizing;
    const double percent = 100.0 * saved / r.bytesBeforeOptimizing;
    return QStringLiteral("Ottimizzazione: %1 scansioni JPEG ricodificate senza perdita (%2 "
                          "progressive rese sequenziali), da %3 a %4 byte: %5 %6 byte (%7%)")
        .arg(r.optimizedPages)
        .arg(r.progressivePages)
        .arg(r.bytesBeforeOptimizing)
        .arg(r.bytesAfterOptimizing)
        .arg(saved >= 0 ? QStringLiteral("risparmiati") : QStringLiteral("in più"))
        .arg(std::abs(saved))
        .arg(QString::number(std::abs(percent), 'f', 1));
}

int build(const QStringList& args) {
    BuildOptions o;
    o.viewerPath = defaultViewerPath();
    QStringList rest = args;
    o.optimize = rest.removeAll(QStringLiteral("--optimize")) > 0;
    if (const qsizetype at = rest.indexOf(QStringLiteral("--viewer")); at >= 0) {
        if (at + 1 >= rest.size())
            return usage();
        o.viewerPath = rest[at + 1];
        rest.remove(at, 2);
    }
    if (rest.size() != 2)
        return usage();
    o.manifestPath = rest[0];
    o.outDir = rest[1];
    ProgressLine line;
    o.progress = [&](const BuildProgress& p) {
        line.show(QStringLiteral("%1 pagina %2 di %3, %4")
                      .arg(p.writing ? QStringLiteral("Scrittura:") : QStringLiteral("Controllo:"))
                      .arg(p.pagesDone)
                      .arg(p.pagesTotal)
                      .arg(megabytes(p.bytesDone)));
    };
    const BuildReport r = buildVolume(o);
    line.end();
    for (const QString& w : r.warnings)
        err() << "cartavox-pack: avviso: " << w << "\n";
    if (!r.ok())
        return faults(r.errors);
    const double s = line.seconds();
    QTextStream(stdout) << "Volume scritto in " << QDir(o.outDir).absolutePath() << ": " << r.books
                        << " libri, " << r.pages << " pagine (" << r.convertedPages
                        << " convertite in JPEG), " << r.volumeBytes << " byte ("
                        << megabytes(r.volumeBytes) << ") in " << QString::number(s, 'f', 2)
                        << " s, " << QString::number(r.volumeBytes / 1e6 / s, 'f', 1) << " MB/s\n";
    if (o.optimize)
        QTextStream(stdout) << optimizeSummary(r) << "\n";
    return 0;
}

int verify(const QString& folder) {
    const VolumeInfo v = readVolume(folder);
    ProgressLine line;
    const QStringList list = verifyVolume(v, [&](int done, int total) {
        line.show(QStringLiteral("Verifica: pagina %1 di %2").arg(done).arg(total));
    });
    line.end();
    int pages = 0;
    for (const BookInfo& b : v.books)
        pages += static_cast<int>(b.entries.size());
    if (list.isEmpty())
        QTextStream(stdout) << "Volume integro: " << v.books.size() << " libri, " << pages
                            << " pagine verificate\n";
    return faults(list);
}

int extract(const QString& folder, const QString& outDir) {
    const VolumeInfo v = readVolume(folder);
    const ExtractReport r = extractVolume(v, outDir);
    QTextStream(stdout) << r.written << " pagine scritte in " << QDir(outDir).absolutePath()
                        << "\n";
    return faults(v.problems + r.problems);
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList all = QCoreApplication::arguments();
    const QString command = all.value(1);
    const QStringList args = all.mid(2);
    if (command == QLatin1String("build"))
        return build(args);
    if (command == QLatin1String("inspect") && args.size() == 1) {
        const VolumeInfo v = readVolume(args[0]);
        QTextStream(stdout) << inspectTable(v);
        return v.problems.isEmpty() ? 0 : 1;
    }
    if (command == QLatin1String("verify") && args.size() == 1)
        return verify(args[0]);
    if (command == QLatin1String("extract") && args.size() == 2)
        return extract(args[0], args[1]);
    return usage();
}
