// The publisher's commands timed on a folder of 300 distinct 24 MP scans: init and check (headers
// and structure, not pixels), and proof against djpeg's decode at 1/8 of the same files run in
// parallel on the same cores, in the same run.
#pragma once

#include "bench/bench_stats.h"

#include <QList>
#include <QString>

namespace cvx::bench {

// djpeg (at `djpeg`) decoding each of `files` at 1/8, `atOnce` processes at a time: the
// seconds for all, or -1 when one failed.
[[nodiscard]] double djpegFloor(const QString& djpeg, const QStringList& files, int atOnce);

// Draws the scans under `data` (kept between runs), runs the commands of the tool in `bin` and
// returns their figures; empty with a message on stderr when the scans cannot be made.
[[nodiscard]] QList<Figure> publisherFigures(const QString& data, const QString& bin);

} // namespace cvx::bench
