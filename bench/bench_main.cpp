// cartavox-bench: builds volumes of generated scans, measures page turns, jumps, magnifying,
// start-up, memory and packing against their floors measured in the same run, and prints the
// table. `cartavox-bench [--data DIR] [--quick]`; the subcommands `view` and `memory` are the
// measuring processes it starts itself.
#include "bench/bench_orchestra.h"
#include "bench/bench_runs.h"
#include "platform/picture.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>

using namespace cvx::bench;

namespace {
QSize parseSize(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('x'));
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

// view SCREEN-NAME WIDTHxHEIGHT WHAT SCANS FOLDER: WHAT is letters of t(urns) j(umps)
// m(agnify) z(oom) o(verview) f(irst page floor) a(ids for faded ink) p(ages facing: turns
// by an opening).
int view(const QStringList& args) {
    if (args.size() != 5)
        return 2;
    ViewRun run;
    run.screen = args[0];
    run.pixels = parseSize(args[1]);
    run.turns = args[2].contains(QLatin1Char('t'));
    run.jumps = args[2].contains(QLatin1Char('j'));
    run.magnify = args[2].contains(QLatin1Char('m'));
    run.zoom = args[2].contains(QLatin1Char('z'));
    run.overview = args[2].contains(QLatin1Char('o'));
    run.firstPage = args[2].contains(QLatin1Char('f'));
    run.inkAids = args[2].contains(QLatin1Char('a'));
    run.facing = args[2].contains(QLatin1Char('p'));
    run.scans = args[3];
    run.folder = args[4];
    const QSize logical = QGuiApplication::primaryScreen()->geometry().size();
    if (logical != run.pixels) {
        std::fprintf(stderr, "cartavox-bench: the screen is %dx%d, not %dx%d\n", logical.width(),
                     logical.height(), run.pixels.width(), run.pixels.height());
        return 1;
    }
    runView(run);
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    cvx::Picture::configureDecoding();
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.value(0);
    if (command == QLatin1String("view"))
        return view(args.mid(1));
    if (command == QLatin1String("memory") && args.size() == 4)
        return runMemory(args[1], args[2], parseSize(args[3])), 0;
    if (command == QLatin1String("overview-memory") && args.size() == 4)
        return runOverviewMemory(args[1], args[2], parseSize(args[3])), 0;
    return orchestrate(args);
}
