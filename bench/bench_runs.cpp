// Page turns, jumps, magnifying and memory, measured on a real viewer window.
#include "bench/bench_runs.h"

#include "bench/bench_publisher.h"
#include "bench/bench_stats.h"
#include "bench/bench_viewer.h"

#include "platform/jpeg_region.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace cvx::bench {

namespace {
constexpr int kFloorRepeats = 5;

// The turn target holds for 24 MP scans; the others are shown for comparison.
bool turnTargeted(const QString& scans) {
    return scans == QLatin1String("24 MP");
}

Figure figure(const QString& measure, const ViewRun& run, const std::vector<double>& ms,
              const std::vector<double>& floors) {
    Figure f;
    f.measure = measure;
    f.scans = run.scans;
    f.screen = run.screen;
    f.value = median(ms);
    f.floor = median(floors);
    f.samples = static_cast<int>(ms.size());
    return f;
}

// The figure held to one frame at 60 Hz.
Figure withinAFrame(Figure f) {
    f.target = QStringLiteral("<= 16.7 ms (a frame)");
    f.met = f.value <= 16.7;
    return f;
}

// The figure held to `factor` times its floor.
Figure withinFloor(Figure f, double factor) {
    f.target = QStringLiteral("<= %1 x floor").arg(factor);
    f.met = f.value <= factor * f.floor;
    return f;
}

// A page nothing read ahead (the first, a typed number's) against its floor: a volume with
// restart markers decoded on several cores is held to its parallel target.
double unreadAheadTarget(const ViewRun& run) {
    const bool banded = run.scans.contains(QLatin1String("markers")) &&
                        !run.scans.contains(QLatin1String("1 core"));
    return banded ? 0.6 : 1.15;
}

// The floor of the first page, and the first page itself: the volume opened until its first
// page is painted, against that floor.
void firstPage(BenchViewer& viewer, const ViewRun& run) {
    std::vector<double> floors;
    for (int i = 0; i < kFloorRepeats; ++i)
        floors.push_back(floorMs(viewer.shownBytes(), viewer.shownSize()));
    Figure f;
    f.measure = QStringLiteral("first page floor");
    f.scans = run.scans;
    f.screen = run.screen;
    f.value = median(floors);
    f.samples = kFloorRepeats;
    emitFigure(f);
    f = figure(QStringLiteral("first page"), run, {viewer.openedMs()}, floors);
    emitFigure(withinFloor(f, unreadAheadTarget(run)));
}

// Turns against their floors, held to 0.25 x where targeted, with how many loads of the reading
// ahead between `before` and `after` were ready.
void emitTurns(const QString& measure, const ViewRun& run, const std::vector<double>& ms,
               const std::vector<double>& floors, const ReadAhead::Stats& before,
               const ReadAhead::Stats& after) {
    Figure f = figure(measure, run, ms, floors);
    if (turnTargeted(run.scans))
        f = withinFloor(f, 0.25);
    f.note = QStringLiteral("%1 of %2 loads read ahead")
                 .arg(after.hits - before.hits)
                 .arg(after.hits - before.hits + after.misses - before.misses);
    emitFigure(f);
}

// Forward through the first book, one right arrow at a time, with a reader's pause between.
void turns(BenchViewer& viewer, const ViewRun& run) {
    std::vector<double> ms, floors;
    const ReadAhead::Stats before = viewer.form().readAhead().stats();
    const int pages = viewer.form().Combo1->ListCount();
    for (int page = 1; page < pages; ++page) {
        ms.push_back(viewer.press(Qt::Key_Right));
        viewer.pause();
        floors.push_back(floorMs(viewer.shownBytes(), viewer.shownSize()));
    }
    emitTurns(QStringLiteral("sequential turn"), run, ms, floors, before,
              viewer.form().readAhead().stats());
}

// F6, then forward through a book an opening at a time, with a reader's pause between:
// against the decode of the opening's pages at the size each is shown, as a turn of one page is
// against its one page. F6 again at the end.
void facingTurns(BenchViewer& viewer, const ViewRun& run) {
    BookForm& form = viewer.form();
    const auto atBookEnd = [&] {
        return form.facing().currentOpening().last() + 1 >= form.Combo1->ListCount();
    };
    viewer.press(Qt::Key_F6);
    viewer.pause();
    if (atBookEnd()) { // after the sequential turns: on into the next book, not measured
        viewer.press(Qt::Key_Right);
        viewer.pause();
    }
    std::vector<double> ms, floors;
    const ReadAhead::Stats before = form.readAhead().stats();
    while (!atBookEnd()) {
        ms.push_back(viewer.pressFacing(Qt::Key_Right));
        viewer.pause();
        double floor = 0;
        for (const int side : {0, 1})
            if (const ImageControl& page = form.facing().page(side); page.Visible())
                floor += floorMs(page.picture().bytes(), page.shownImage().size());
        floors.push_back(floor);
    }
    const ReadAhead::Stats after = form.readAhead().stats();
    viewer.press(Qt::Key_F6);
    viewer.pause();
    emitTurns(QStringLiteral("facing turn"), run, ms, floors, before, after);
}

// Typed page numbers in the second book (numbers are looked up from the second book on), each
// at least two pages from the one shown: nothing was read ahead but the book's first page,
// which a typed number always passes through; the page asked for is decoded once Enter is
// pressed, beside the opening of its book.
void jumps(BenchViewer& viewer, const ViewRun& run) {
    const int before = viewer.form().Combo1->ListCount(); // pages of the first book
    viewer.jumpTo(before + 1);
    const int pages = viewer.form().Combo1->ListCount();
    std::vector<double> ms, floors;
    int current = 1;
    for (int target : {3, 9, 5, 11, 7, 2, 10, 4}) {
        if (target > pages || std::abs(target - current) < 2)
            continue;
        viewer.pause();
        ms.push_back(viewer.jumpTo(before + target));
        current = viewer.form().place.CurrentPageIndex + 1;
        if (viewer.form().Combo2->ListIndex() != 1 || current != target) {
            std::fprintf(stderr, "cartavox-bench: the jump to %d showed page %d\n", target,
                         current);
            std::exit(1);
        }
        viewer.pause();
        floors.push_back(floorMs(viewer.shownBytes(), viewer.shownSize()));
    }
    emitFigure(
        withinFloor(figure(QStringLiteral("jump"), run, ms, floors), unreadAheadTarget(run)));
}

// Shift on several pages: the magnified page against a read at the magnified size.
void magnifying(BenchViewer& viewer, const ViewRun& run) {
    std::vector<double> ms, floors;
    const ReadAhead::Stats before = viewer.form().readAhead().stats();
    for (int i = 0; i < 5; ++i) {
        viewer.press(Qt::Key_Right);
        viewer.pause();
        ms.push_back(viewer.press(Qt::Key_Shift, Qt::ShiftModifier));
        viewer.pause();
        floors.push_back(floorMs(viewer.shownBytes(), viewer.shownSize()));
        viewer.press(Qt::Key_Shift, Qt::ShiftModifier);
        viewer.pause();
    }
    const ReadAhead::Stats after = viewer.form().readAhead().stats();
    Figure f = withinFloor(figure(QStringLiteral("magnify"), run, ms, floors), 1.2);
    // Turns, magnifications and reductions alike: how many took a decode read ahead.
    f.note = QStringLiteral("%1 of %2 loads read ahead")
                 .arg(after.hits - before.hits)
                 .arg(after.hits - before.hits + after.misses - before.misses);
    emitFigure(f);
}

// One decode of the part the zoomed page shows, as asked for, in milliseconds.
double regionFloorMs(const BookForm& form) {
    const std::optional<Zoom::Request>& asked = form.zoom().answered();
    if (!asked) {
        std::fprintf(stderr, "cartavox-bench: no part shown for the region floor\n");
        std::exit(1);
    }
    QElapsedTimer clock;
    clock.start();
    const ScanRegion region =
        decodeRegion(form.zoom().scanBytes(), asked->scanPart, asked->scaleNum);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (region.image.isNull()) {
        std::fprintf(stderr, "cartavox-bench: the region floor failed\n");
        std::exit(1);
    }
    return ms;
}

// '+' until the page is zoomed to twice the scan's pixels: each step's timing.
// With `floors`, libjpeg's cropped decode of each step's part after it.
std::vector<BenchViewer::ZoomStep> zoomAll(BenchViewer& viewer,
                                           std::vector<double>* floors = nullptr) {
    std::vector<BenchViewer::ZoomStep> steps;
    do {
        steps.push_back(viewer.zoomIn());
        if (floors)
            floors->push_back(regionFloorMs(viewer.form()));
    } while (viewer.form().ZoomView->layout().scale < zoom::kMaxScale && steps.size() < 12);
    return steps;
}

// '+' from the page fitted to twice the scan's pixels, on a few pages: each step painted at once
// from the decode on the screen, then sharp, against one decode of the same part; then drags of
// the zoomed page within the decoded margin, and a second's drag beyond it. On the next page, a
// six-notch Ctrl+wheel flick, sharp against one decode of the last step's part.
void zooming(BenchViewer& viewer, const ViewRun& run) {
    std::vector<double> shown, sharp, floors, drags, flicks, flickFloors, decodes;
    for (int page = 0; page < 3; ++page) {
        viewer.press(Qt::Key_Right);
        viewer.pause();
        for (const BenchViewer::ZoomStep& t : zoomAll(viewer, &floors)) {
            shown.push_back(t.shown);
            sharp.push_back(t.sharp);
        }
        for (int d = 0; d < 10; ++d)
            drags.push_back(viewer.dragZoomed(QPoint(-6, -4)));
        decodes.push_back(viewer.dragAbout(QPoint(-40, -30), 60));
        viewer.press(Qt::Key_Right);
        viewer.pause();
        flicks.push_back(viewer.zoomFlick(6));
        flickFloors.push_back(regionFloorMs(viewer.form()));
    }
    emitFigure(withinAFrame(figure(QStringLiteral("zoom step shown"), run, shown, {})));
    Figure detail = withinFloor(figure(QStringLiteral("zoom step sharp"), run, sharp, floors), 1.3);
    detail.note = QStringLiteral("floor: one decode of the same part, nothing kept");
    emitFigure(detail);
    emitFigure(withinAFrame(figure(QStringLiteral("zoomed drag"), run, drags, {})));
    // The first notch's part is being decoded when the last notch comes: two decodes at most.
    Figure flick =
        withinFloor(figure(QStringLiteral("zoom flick sharp"), run, flicks, flickFloors), 2.3);
    flick.note =
        QStringLiteral("six Ctrl+wheel notches at once; floor: one decode of the last part");
    emitFigure(flick);
    Figure dragged = figure(QStringLiteral("zoomed drag of 1 s"), run, decodes, {});
    dragged.unit = QStringLiteral("decodes");
    dragged.note = QStringLiteral("60 moves a frame apart at 2:1; one part decoded at a time");
    emitFigure(dragged);
}

// The JPEGs of the overview's tiles in view, written as files into `folder`.
QStringList pagesInView(BookForm& form, const QString& folder) {
    QStringList labels, files;
    const std::vector<PageKey> pages = form.bookPages(form.Combo2->ListIndex(), &labels);
    const auto [first, last] = form.Overview->inView();
    for (int i = first; i >= 0 && i <= last; ++i) {
        QFile file(QDir(folder).filePath(QStringLiteral("%1.jpg").arg(i)));
        const QByteArray jpeg = ThumbnailLoader::pageBytes(pages[static_cast<std::size_t>(i)]);
        if (jpeg.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size())
            return {};
        files << file.fileName();
    }
    return files;
}

// F5 on a few pages: the grid painted, then the thumbnails of its first screenful, against
// djpeg's decode at 1/8 of the same pages run in parallel on all cores but one, in the same run.
void overview(BenchViewer& viewer, const ViewRun& run) {
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    const int cores = std::max(1, QThread::idealThreadCount() - 1);
    QTemporaryDir folder;
    std::vector<double> shown, complete, floors;
    int tiles = 0;
    for (int i = 0; i < 5; ++i) {
        viewer.press(Qt::Key_Right);
        viewer.pause();
        const BenchViewer::OverviewOpen open = viewer.openOverview();
        shown.push_back(open.shown);
        complete.push_back(open.complete);
        const QStringList files = pagesInView(viewer.form(), folder.path());
        const double seconds =
            djpeg.isEmpty() || files.isEmpty() ? -1 : djpegFloor(djpeg, files, cores);
        if (seconds < 0) {
            std::fprintf(stderr, "cartavox-bench: the overview's floor failed (djpeg: %s)\n",
                         qPrintable(djpeg));
            std::exit(1);
        }
        floors.push_back(seconds * 1000);
        tiles = static_cast<int>(files.size());
        viewer.press(Qt::Key_F5);
        viewer.pause();
    }
    emitFigure(withinAFrame(figure(QStringLiteral("overview shown"), run, shown, {})));
    Figure first =
        withinFloor(figure(QStringLiteral("overview screenful"), run, complete, floors), 1.3);
    first.note =
        QStringLiteral("%1 tiles; floor: djpeg -scale 1/8, %2 at once").arg(tiles).arg(cores);
    emitFigure(first);
}

// The brightness moved a step up and down on a fitted page, ten times, after a first step
// away from the identity (which the page shows without a pass over its pixels).
void inkAids(BenchViewer& viewer, const ViewRun& run) {
    viewer.press(Qt::Key_Right);
    viewer.pause();
    viewer.inkStep(Qt::Key_PageUp);
    std::vector<double> ms, floors;
    for (int i = 0; i < 10; ++i) {
        const BenchViewer::InkStep step = viewer.inkStep(i % 2 ? Qt::Key_Left : Qt::Key_Right);
        ms.push_back(step.shown);
        floors.push_back(step.floor);
    }
    Figure f = withinAFrame(figure(QStringLiteral("ink aid step"), run, ms, floors));
    f.note = QStringLiteral("one brightness step in the F7 panel, the page fitted %1x%2 device "
                            "pixels; floor: the page repainted unchanged")
                 .arg(viewer.shownSize().width())
                 .arg(viewer.shownSize().height());
    emitFigure(f);
}

// A memory figure in megabytes, held below `limit`.
Figure megabytes(const QString& measure, const QString& scans, QSize screen, double value,
                 double limit, const QString& target, int samples, const QString& note) {
    Figure f;
    f.measure = measure;
    f.scans = scans;
    f.screen = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
    f.value = value;
    f.unit = QStringLiteral("MB");
    f.target = target;
    f.met = value < limit;
    f.samples = samples;
    f.note = note;
    return f;
}

// The line `field` of this process's status, in megabytes.
double statusMegabytes(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(field))
                return line.mid(field.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// The peak resident memory of this process image. Not getrusage's ru_maxrss: Linux carries that
// over an exec from the forked parent, whose own peak it would report.
double peakMegabytes() {
    return statusMegabytes("VmHWM:");
}
} // namespace

void runView(const ViewRun& run) {
    BenchViewer viewer(run.folder, run.pixels);
    if (run.firstPage)
        firstPage(viewer, run);
    if (run.turns)
        turns(viewer, run);
    if (run.facing)
        facingTurns(viewer, run);
    if (run.jumps)
        jumps(viewer, run);
    if (run.magnify)
        magnifying(viewer, run);
    if (run.zoom)
        zooming(viewer, run);
    if (run.overview)
        overview(viewer, run);
    if (run.inkAids)
        inkAids(viewer, run);
}

void runMemory(const QString& scans, const QString& folder, QSize screen) {
    BenchViewer viewer(folder, screen);
    const double start = peakMegabytes();
    int read = 1;
    for (; read < 100; ++read) {
        if (read % 10 == 5) {
            viewer.press(Qt::Key_Shift, Qt::ShiftModifier);
            viewer.pause();
            for (int step = 0; step < 3; ++step)
                viewer.press(Qt::Key_Down);
            viewer.press(Qt::Key_Shift, Qt::ShiftModifier);
            viewer.pause();
        }
        if (read % 10 == 7) { // zoomed to twice the scan's pixels and dragged about
            zoomAll(viewer);
            for (int d = 0; d < 20; ++d)
                viewer.dragZoomed(QPoint(-40, -30));
            viewer.pause();
        }
        viewer.press(Qt::Key_Right);
        viewer.pause();
    }
    emitFigure(megabytes(QStringLiteral("peak memory"), scans, screen, peakMegabytes(), 400,
                         QStringLiteral("< 400 MB"), read,
                         QStringLiteral("%1 pages read, 10 magnified, 10 zoomed to 2:1; %2 MB "
                                        "after start-up")
                             .arg(read)
                             .arg(start, 0, 'f', 0)));
}

void runOverviewMemory(const QString& scans, const QString& folder, QSize screen) {
    BenchViewer viewer(folder, screen);
    for (int read = 0; read < 10; ++read) {
        viewer.press(Qt::Key_Right);
        viewer.pause();
    }
    const double before = peakMegabytes();
    const double residentBefore = statusMegabytes("VmRSS:");
    int tiles = 0;
    const int books = viewer.form().Combo2->ListCount();
    viewer.openOverview();
    for (int book = 0; book < books; ++book) {
        // The grid has the keyboard (the offscreen window is never the active one).
        QListWidget* list = viewer.form().Overview->list();
        if (book > 0)
            viewer.press(Qt::Key_Tab, Qt::NoModifier, list);
        // Page Down until the last tile is in view, the thumbnails decoded (those in view first)
        // and painted.
        const PageGrid& grid = *viewer.form().Overview;
        while (grid.inView().second < grid.count() - 1) {
            const int row = list->currentRow();
            viewer.press(Qt::Key_PageDown, Qt::NoModifier, list);
            if (list->currentRow() == row) {
                std::fprintf(stderr, "cartavox-bench: Page Down did not move in the overview\n");
                std::exit(1);
            }
            viewer.form().overview().thumbnails().waitIdle();
            QCoreApplication::processEvents();
        }
        tiles += list->count();
    }
    viewer.press(Qt::Key_F5);
    viewer.pause();
    Figure added = megabytes(QStringLiteral("overview memory"), scans, screen,
                             peakMegabytes() - before, 100, QStringLiteral("< 100 MB added"), 1,
                             QStringLiteral("%1 pages scrolled end to end; peak before %2 MB")
                                 .arg(tiles)
                                 .arg(before, 0, 'f', 0));
    Figure held = megabytes(QStringLiteral("overview memory held"), scans, screen,
                            statusMegabytes("VmRSS:") - residentBefore, 20,
                            QStringLiteral("< 20 MB after closing"), 1,
                            QStringLiteral("resident after closing against before opening"));
    // The thumbnails are decoded at the screen's device pixels.
    const qreal ratio = qGuiApp->devicePixelRatio();
    for (Figure* f : {&added, &held}) {
        if (ratio != 1)
            f->screen += QStringLiteral(" @%1x").arg(ratio);
        emitFigure(*f);
    }
}

} // namespace cvx::bench
