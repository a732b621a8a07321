// cartavox-pack: builds a volume folder from a manifest of page scans, reads volumes back
// (inspect, verify, extract), and helps the publisher before and after: a first manifest from a
// folder or a IIIF manifest (init), the checks of a book's structure (check), a proof sheet
// (proof) and a IIIF copy of a volume (export-iiif).
#include "pack/commands.h"

#include <QCoreApplication>
#include <QImageReader>
#include <cstdio>

using namespace cvx::pack;

namespace {
// The decoder's guard is process-wide: raised once here, before any thread reads, so that
// whole scans of up to a gigabyte of pixels can be converted.
constexpr int kConversionLimitMb = 1024;

int tool(const QStringList& args, const QList<ToolCommand>& commands) {
    QList<cli::Command> specs;
    for (const ToolCommand& c : commands)
        specs << c.spec;
    const QString first = args.value(0);
    if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
        QTextStream(stdout) << cli::toolHelp(specs);
        return cli::kSuccess;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        QTextStream(stdout) << cli::versionLine() << "\n";
        return cli::kSuccess;
    }
    for (const ToolCommand& c : commands)
        if (c.spec.name == first) {
            QCommandLineParser parser;
            if (const auto status = cli::parseCommand(parser, c.spec, args.mid(1)))
                return *status;
            return c.run(parser);
        }
    err() << cli::toolHelp(specs);
    err().flush();
    return cli::kUsage;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cartavox-pack"));
    QImageReader::setAllocationLimit(kConversionLimitMb);
    return tool(QCoreApplication::arguments().mid(1), volumeCommands() + publisherCommands());
}
