// The measurements made inside one process with a real viewer window: page turns, jumps and
// magnifying against the decode floor, and the peak memory of a long read.
#pragma once

#include <QSize>
#include <QString>

namespace cvx::bench {

struct ViewRun {
    QString scans;  // the name of the scans in the volume ("24 MP")
    QString folder; // the volume folder
    QString screen; // the screen's name in the table
    QSize pixels;   // the screen's size in (logical) pixels
    bool turns = true;
    bool jumps = true;
    bool magnify = true;
    bool zoom = false;      // zoom steps to twice the scan's pixels and drags
    bool overview = false;  // F5: the grid, and its first screenful of thumbnails
    bool firstPage = false; // also the floor of the first page (the start-up's floor)
    bool inkAids = false;   // F7: a step of the brightness repainted through the aids
    bool facing = false;    // F6 and turns by an opening through a book
};

// Reads the volume as a reader would and emits the figures (see bench_stats.h).
void runView(const ViewRun& run);

// Reads 100 pages of the volume (two books of 50), magnifying every tenth and moving down it,
// and emits the peak resident memory.
void runMemory(const QString& scans, const QString& folder, QSize screen);

// Reads a few pages of the volume, then opens the overview of each book and scrolls it end to
// end, and emits what the overview added to the peak resident memory.
void runOverviewMemory(const QString& scans, const QString& folder, QSize screen);

} // namespace cvx::bench
