// The commands that make and read volumes: build, inspect, verify, extract.
#include "pack/commands/commands.h"
#include "pack/volume/default_viewer.h"
#include "pack/volume/volume_builder.h"
#include "pack/volume/volume_check.h"
#include "pack/volume/volume_table.h"

#include <QDir>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace cvx::pack {

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

int reportFaults(const QStringList& faults) {
    for (const QString& f : faults)
        err() << "cartavox-pack: " << f << "\n";
    err().flush();
    return faults.isEmpty() ? cli::kSuccess : cli::kFailure;
}

ProgressLine::ProgressLine(bool terminalOnly)
    : terminal_(isatty(fileno(stderr)) != 0), silent_(terminalOnly && !terminal_) {
    clock_.start();
}

void ProgressLine::show(const QString& text) {
    const qint64 now = clock_.elapsed();
    const qint64 every = terminal_ ? 100 : 2000;
    if (silent_ || now < 500 || now - last_ < every)
        return;
    last_ = now;
    err() << (terminal_ ? "\r" : "") << text << (terminal_ ? "\x1b[K" : "\n");
    err().flush();
    shown_ = true;
}

void ProgressLine::end() {
    if (shown_ && terminal_)
        err() << "\n";
    err().flush();
}

namespace {
const QString kFaultStatuses =
    QStringLiteral("0 riuscito, 1 errori (elencati su stderr), 2 comando non valido.");

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
        .arg(saved >= 0 ? QStringLiteral("risparmiati") : QStringLiteral("in più"),
             QString::number(std::abs(saved)), QString::number(std::abs(percent), 'f', 1));
}

// How many scans were turned upright by their EXIF orientation, and how.
QString turnSummary(const BuildReport& r, int quality) {
    return QStringLiteral("Orientamento EXIF: %1 scansioni raddrizzate, %2 senza perdita e %3 "
                          "ricodificate alla qualità %4")
        .arg(r.turnedLosslessly + r.turnedReencoded)
        .arg(r.turnedLosslessly)
        .arg(r.turnedReencoded)
        .arg(quality);
}

// The signal that asked the build to stop (Ctrl+C, a kill, the terminal closed); 0 for none.
std::atomic<int> stopSignal = 0;

void askToStop(int signal) {
    stopSignal = signal;
}

// While it lives, those signals ask the build to stop, so that it removes its working folder;
// then the tool ends as the signal would have ended it.
class StopOnSignals {
  public:
    StopOnSignals() {
        for (const int s : kSignals)
            std::signal(s, askToStop);
    }
    ~StopOnSignals() {
        for (const int s : kSignals)
            std::signal(s, SIG_DFL);
        if (stopSignal != 0)
            std::raise(stopSignal);
    }
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

  private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
};

int runBuild(const QCommandLineParser& parser) {
    const StopOnSignals stopping;
    BuildOptions o;
    o.viewerPath = parser.isSet(QStringLiteral("viewer")) ? parser.value(QStringLiteral("viewer"))
                                                          : defaultViewerPath();
    o.optimize = parser.isSet(QStringLiteral("optimize"));
    o.manifestPath = parser.positionalArguments()[0];
    o.outDir = parser.positionalArguments()[1];
    ProgressLine line;
    o.progress = [&](const BuildProgress& p) {
        const QString done = QString::number(p.pagesDone), total = QString::number(p.pagesTotal);
        line.show(
            p.converting
                ? QStringLiteral("Conversione: scansione %1 di %2 (%3 pagine in tutto), %4")
                      .arg(done, total, QString::number(p.volumePages), megabytes(p.bytesDone))
                : QStringLiteral("%1 pagina %2 di %3, %4")
                      .arg(p.writing ? QStringLiteral("Scrittura:") : QStringLiteral("Controllo:"),
                           done, total, megabytes(p.bytesDone)));
    };
    o.stopped = [] { return stopSignal != 0; };
    const BuildReport r = buildVolume(o);
    line.end();
    for (const QString& w : r.warnings)
        err() << "cartavox-pack: avviso: " << w << "\n";
    for (const QString& n : r.notes)
        err() << "cartavox-pack: nota: " << n << "\n";
    if (!r.ok())
        return reportFaults(r.errors);
    const double s = line.seconds();
    QTextStream out(stdout);
    out << "Volume scritto in " << QDir(o.outDir).absolutePath() << ": " << r.books << " libri, "
        << r.pages << " pagine (" << r.convertedPages << " convertite in JPEG), " << r.volumeBytes
        << " byte (" << megabytes(r.volumeBytes) << ") in " << QString::number(s, 'f', 2) << " s, "
        << QString::number(r.volumeBytes / 1e6 / s, 'f', 1) << " MB/s\n";
    if (r.turnedLosslessly + r.turnedReencoded > 0)
        out << turnSummary(r, r.jpegQuality) << "\n";
    if (o.optimize)
        out << optimizeSummary(r) << "\n";
    return cli::kSuccess;
}

int runInspect(const QCommandLineParser& parser) {
    const VolumeInfo v = readVolume(parser.positionalArguments()[0]);
    QTextStream(stdout) << inspectTable(v);
    return v.problems.isEmpty() ? cli::kSuccess : cli::kFailure;
}

int runVerify(const QCommandLineParser& parser) {
    const VolumeInfo v = readVolume(parser.positionalArguments()[0]);
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
    return reportFaults(list);
}

int runExtract(const QCommandLineParser& parser) {
    const VolumeInfo v = readVolume(parser.positionalArguments()[0]);
    const QString outDir = parser.positionalArguments()[1];
    const ExtractReport r = extractVolume(v, outDir);
    QTextStream(stdout) << r.written << " pagine scritte in " << QDir(outDir).absolutePath()
                        << "\n";
    return reportFaults(v.problems + r.problems);
}

const cli::Argument kVolume{QStringLiteral("CARTELLA"), QStringLiteral("la cartella del volume")};
} // namespace

QList<ToolCommand> volumeCommands() {
    return {
        {{QStringLiteral("build"),
          QStringLiteral("MANIFESTO CARTELLA [opzioni]"),
          QStringLiteral("costruisce un volume dal manifesto delle scansioni"),
          QStringLiteral("Costruisce la cartella di un volume: il visore come Cartavox.exe con i "
                         "dati del volume\ne un archivio per libro. Prima fa i controlli di "
                         "\"check\" e si ferma sugli errori;\nraddrizza le scansioni che "
                         "l'orientamento EXIF vuole girate."),
          {{QStringLiteral("MANIFESTO"), QStringLiteral("il manifesto JSON delle scansioni")},
           {QStringLiteral("CARTELLA"), QStringLiteral("la cartella del volume, nuova o vuota")}},
          {QCommandLineOption(QStringLiteral("viewer"),
                              QStringLiteral("il visore da mettere nel volume (di solito "
                                             "\"cartavox-viewer\" accanto allo strumento, o "
                                             "quello installato)"),
                              QStringLiteral("PROGRAMMA")),
           QCommandLineOption(QStringLiteral("optimize"),
                              QStringLiteral("ricodifica le scansioni JPEG senza perdita"))},
          kFaultStatuses},
         runBuild},
        {{QStringLiteral("inspect"),
          QStringLiteral("CARTELLA"),
          QStringLiteral("mostra i dati, i libri e gli indici di un volume"),
          QStringLiteral("Mostra i testi e i libri del volume e l'indice di ogni archivio con le "
                         "etichette delle pagine."),
          {kVolume},
          {},
          QStringLiteral("0 volume leggibile, 1 difetti, 2 comando non valido.")},
         runInspect},
        {{QStringLiteral("verify"),
          QStringLiteral("CARTELLA"),
          QStringLiteral("controlla che ogni pagina di un volume si possa mostrare"),
          QStringLiteral("Legge, ricompone e decodifica ogni pagina del volume."),
          {kVolume},
          {},
          QStringLiteral("0 volume integro, 1 difetti (elencati su stderr), 2 comando non "
                         "valido.")},
         runVerify},
        {{QStringLiteral("extract"),
          QStringLiteral("CARTELLA CARTELLA_PAGINE"),
          QStringLiteral("estrae le pagine di un volume come file JPEG"),
          QStringLiteral("Scrive ogni pagina del volume, come l'editore l'ha data, in "
                         "CARTELLA_PAGINE."),
          {kVolume, {QStringLiteral("CARTELLA_PAGINE"), QStringLiteral("dove scrivere le pagine")}},
          {},
          kFaultStatuses},
         runExtract},
    };
}

} // namespace cvx::pack
