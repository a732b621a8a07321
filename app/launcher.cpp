// cartavox: the readers' command. It enters a volume's folder and starts the viewer kept there,
// Cartavox.exe, which reads its volume from the current folder; the viewer then replaces this
// process, so its exit status is the command's.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

constexpr char kViewer[] = "Cartavox.exe";
constexpr int kNoVolume = 1;   // no volume in the folder, or its viewer could not start
constexpr int kBadCommand = 2; // the command line is wrong

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QDir(path).absolutePath());
}

// Why `folder` holds no volume to open, or nothing when its viewer is there.
std::optional<QString> noVolume(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("La cartella %1 non esiste.").arg(shown(folder));
    if (!info.isDir())
        return QStringLiteral("%1 non è una cartella.").arg(shown(folder));
    if (QFileInfo(QDir(folder).filePath(QLatin1String(kViewer))).isFile())
        return std::nullopt;
    return QStringLiteral("Nella cartella %1 non c'è un volume di Cartavox (manca il file %2).\n"
                          "Per leggere un volume, aprire con Cartavox la sua cartella, o "
                          "indicarla: cartavox CARTELLA_DEL_VOLUME")
        .arg(shown(folder), QLatin1String(kViewer));
}

const QString kHelp = QStringLiteral(
    "Uso: cartavox [CARTELLA_DEL_VOLUME]\n"
    "\n"
    "Apre un volume di Cartavox: entra nella cartella del volume e avvia il suo visore\n"
    "(Cartavox.exe). Senza CARTELLA_DEL_VOLUME apre il volume della cartella corrente.\n"
    "\n"
    "Opzioni:\n"
    "  -h, --help     mostra questo aiuto ed esce\n"
    "  -v, --version  mostra la versione ed esce\n"
    "\n"
    "Stato di uscita: quello del visore; 1 se la cartella non contiene un volume o il visore\n"
    "non si avvia, 2 se il comando non è valido.\n");

// Reads the command line and answers --help and --version. Returns the volume's folder, or
// nothing after saying why the command line is wrong. Qt's own words for a wrong command line
// are English: these are said here in Italian.
std::optional<QString> volumeFolder() {
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    QCommandLineParser parser;
    parser.addOptions({help, version});
    QString problem;
    if (!parser.parse(QCoreApplication::arguments())) {
        const QString unknown = parser.unknownOptionNames().value(0);
        problem =
            QStringLiteral("opzione sconosciuta: %1%2")
                .arg(unknown.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), unknown);
    } else if (parser.isSet(help)) {
        QTextStream(stdout) << kHelp;
        std::exit(0);
    } else if (parser.isSet(version)) {
        QTextStream(stdout) << "cartavox " << CARTAVOX_VERSION << "\n";
        std::exit(0);
    } else if (parser.positionalArguments().size() > 1) {
        problem = QStringLiteral("si apre una cartella alla volta");
    } else {
        return parser.positionalArguments().value(0, QStringLiteral("."));
    }
    QTextStream(stderr) << "cartavox: " << problem << "\n\n" << kHelp;
    return std::nullopt;
}

// Tells the reader why nothing opens: on stderr, and in a message box when no terminal shows
// stderr (a start from the desktop's menu or file manager) and there is a screen to show it on.
int fail(int argc, char* argv[], const QString& text) {
    QTextStream(stderr) << "cartavox: " << text << "\n";
    const bool screen =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (isatty(STDERR_FILENO) == 0 && screen) {
        QApplication app(argc, argv);
        // An invisible platform would leave the box waiting for an answer that never comes.
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Cartavox"), text,
                            QMessageBox::Ok);
            box.setTextFormat(Qt::PlainText); // a folder's name is never markup
            box.exec();
        }
    }
    return kNoVolume;
}

} // namespace

int main(int argc, char* argv[]) {
    std::optional<QString> folder;
    {
        const QCoreApplication app(argc, argv);
        folder = volumeFolder();
    }
    if (!folder)
        return kBadCommand;
    if (const std::optional<QString> why = noVolume(*folder))
        return fail(argc, argv, *why);
    if (chdir(QFile::encodeName(*folder).constData()) != 0) {
        const QString error = QString::fromLocal8Bit(std::strerror(errno));
        return fail(argc, argv,
                    QStringLiteral("Impossibile entrare nella cartella %1: %2.")
                        .arg(shown(*folder), error));
    }
    const QByteArray viewer = QByteArrayLiteral("./") + kViewer;
    execl(viewer.constData(), viewer.constData(), static_cast<char*>(nullptr));
    const QString error = QString::fromLocal8Bit(std::strerror(errno));
    return fail(argc, argv,
                QStringLiteral("Impossibile avviare il visore %1: %2.")
                    .arg(shown(QLatin1String(kViewer)), error));
}
