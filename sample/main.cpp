// cartavox-sample: draws the sample volume's page scans and writes its manifest.
#include "sample/sample_volume.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace {
const char* const kHelp =
    "Uso: cartavox-sample CARTELLA [--small]\n\n"
    "Disegna in CARTELLA le scansioni di un volume di esempio, pagine che sembrano una stampa\n"
    "antica, e il loro manifesto, CARTELLA/manifest.json, per \"cartavox-pack build\".\n\n"
    "Argomenti:\n"
    "  CARTELLA                 la cartella da scrivere\n\n"
    "Opzioni:\n"
    "  --small                  ogni pagina a un decimo della misura, per una prova veloce\n"
    "  -h, --help               mostra questo aiuto ed esce\n"
    "  -v, --version            mostra la versione ed esce\n\n"
    "Stato di uscita: 0 riuscito, 1 non riuscito, 2 comando non valido.\n";

// Parses the command line like cartavox-pack does; the status to end with, or -1 to go on.
int parse(QCommandLineParser& parser, const QCommandLineOption& small) {
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({small, help, version});
    QTextStream err(stderr);
    QString problem;
    if (!parser.parse(QCoreApplication::arguments()))
        problem = QStringLiteral("opzione sconosciuta: ") + parser.unknownOptionNames().value(0);
    else if (parser.isSet(help))
        QTextStream(stdout) << kHelp;
    else if (parser.isSet(version))
        QTextStream(stdout) << "cartavox-sample " << CARTAVOX_VERSION << "\n";
    else if (parser.positionalArguments().isEmpty())
        problem = QStringLiteral("manca CARTELLA");
    else if (parser.positionalArguments().size() > 1)
        problem = QStringLiteral("argomento in più: ") + parser.positionalArguments()[1];
    else
        return -1;
    if (problem.isEmpty())
        return 0;
    err << "cartavox-sample: " << problem << "\nUso: cartavox-sample CARTELLA [--small]\n"
        << "\"cartavox-sample --help\" per l'aiuto.\n";
    return 2;
}
} // namespace

int main(int argc, char* argv[]) {
    // Drawing text needs a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption small(QStringLiteral("small"), QString());
    if (const int status = parse(parser, small); status >= 0)
        return status;
    const QString folder = parser.positionalArguments()[0];
    QTextStream err(stderr);
    const cvx::sample::SampleReport r =
        cvx::sample::writeSample(folder, parser.isSet(small), [&](int done, int total) {
            if (isatty(fileno(stderr)) == 0)
                return; // a progress line only where it can be rewritten in place
            err << "\rPagina " << done << " di " << total << (done == total ? "\n" : "");
            err.flush();
        });
    if (!r.error.isEmpty()) {
        err << "cartavox-sample: " << r.error << "\n";
        return 1;
    }
    QTextStream(stdout) << "Volume di esempio in " << folder << ": " << r.books << " libri, "
                        << r.pages << " pagine, " << r.bytes << " byte\n";
    return 0;
}
