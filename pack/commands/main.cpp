// cartavox-pack: builds a volume folder from a manifest of page scans, reads volumes back
// (inspect, verify, extract), and helps the publisher before and after: a first manifest from a
// folder or a IIIF manifest (init), the checks of a book's structure (check), a proof sheet
// (proof) and a IIIF copy of a volume (export-iiif).
#include "pack/commands/commands.h"
#include "platform/picture.h"

#include <QCoreApplication>
#include <cstdio>

using namespace cvx::pack;

namespace {
int tool(const QStringList& args, const QList<ToolCommand>& commands) {
    QList<cli::Command> usages;
    for (const ToolCommand& c : commands)
        usages << c.usage;
    const QString first = args.value(0);
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        QTextStream(stdout) << cli::toolHelp(usages);
        return cli::kSuccess;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        QTextStream(stdout) << cli::versionLine() << "\n";
        return cli::kSuccess;
    }
    for (const ToolCommand& c : commands)
        if (c.usage.name == first) {
            QCommandLineParser parser;
            if (const auto status = cli::parseCommand(parser, c.usage, args.mid(1)))
                return *status;
            return c.run(parser);
        }
    if (!first.isEmpty())
        err() << (first.startsWith(QLatin1Char('-')) ? "cartavox-pack: opzione sconosciuta: "
                                                     : "cartavox-pack: comando sconosciuto: ")
              << first << "\n\n";
    err() << cli::toolHelp(usages);
    err().flush();
    return cli::kUsage;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cartavox-pack"));
    // The decoder's guard is process-wide: set once, before any thread reads, high enough for
    // whole scans of the largest size a page may have.
    cvx::Picture::configureDecoding();
    return tool(QCoreApplication::arguments().mid(1), volumeCommands() + publisherCommands());
}
