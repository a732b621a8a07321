// The whole benchmark: scans and volumes made, packing timed against a plain copy, the measuring
// processes started for each screen, start-up and memory, and the table printed.
#pragma once

#include <QStringList>

namespace cvx::bench {

// Runs everything; `args` may hold "--data DIR" (where scans and volumes are kept, by default
// bench-data beside the build's bin folder), "--quick" (fewer sizes, for a smoke run) and
// "--publisher" (only the publisher's commands init, check and proof).
[[nodiscard]] int orchestrate(const QStringList& args);

} // namespace cvx::bench
