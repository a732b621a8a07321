// cartavox-sample: draws the sample volume's page scans and writes its manifest.
#include "sample/sample_volume.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Drawing text needs a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool small = args.removeAll(QStringLiteral("--small")) > 0;
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "Uso: cartavox-sample CARTELLA [--small]\n";
        return 2;
    }
    const cvx::sample::SampleReport r =
        cvx::sample::writeSample(args[0], small, [&](int done, int total) {
            if (isatty(fileno(stderr)) == 0)
                return; // a progress line only where it can be rewritten in place
            err << "\rPagina " << done << " di " << total << (done == total ? "\n" : "");
            err.flush();
        });
    if (!r.error.isEmpty()) {
        err << "cartavox-sample: " << r.error << "\n";
        return 1;
    }
    QTextStream(stdout) << "Volume di esempio in " << args[0] << ": " << r.books << " libri, "
                        << r.pages << " pagine, " << r.bytes << " byte\n";
    return 0;
}
