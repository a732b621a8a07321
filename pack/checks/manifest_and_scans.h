// `check` of a manifest: the manifest's own limits, then the facts of every scan, read side by
// side on every core, and the checks of book_checks.h over them.
#pragma once

#include "pack/checks/book_checks.h"
#include "pack/manifest/manifest.h"

#include <QByteArray>
#include <QThreadPool>
#include <atomic>
#include <functional>

namespace cvx::pack {

struct ManifestCheck {
    Manifest manifest;
    QList<CheckedBook> books; // with the facts of every scan
    QList<Finding> findings;
};

// Called on a worker thread with each scan's bytes as it is read (0-based book and page).
using ScanVisitor = std::function<void(int book, int page, const QByteArray& bytes)>;

// Called on the calling thread now and then while pages are read: how many of how many are done.
using WorkProgress = std::function<void(int done, int total)>;

// Waits for `pool`'s tasks, telling `progress` (when set) how many of `total` are `finished`.
void waitReporting(QThreadPool& pool, const std::atomic<int>& finished, int total,
                   const WorkProgress& progress);

// Reads the manifest at `path` and checks it: first the limits of the formats it breaks, then
// its scans. A manifest that cannot be read gives its errors alone, and no books.
[[nodiscard]] ManifestCheck checkManifest(const QString& path, const CheckScope& scope,
                                          const ScanVisitor& visit = {},
                                          const WorkProgress& progress = {});

// The books of a manifest as the checks take them, without facts.
[[nodiscard]] QList<CheckedBook> checkedBooks(const Manifest& manifest);

} // namespace cvx::pack
