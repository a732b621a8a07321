// `check` of a manifest: the manifest's own limits, then the facts of every scan, read side by
// side on every core, and the checks of book_checks.h over them.
#pragma once

#include "pack/book_checks.h"
#include "pack/manifest.h"

#include <QByteArray>
#include <functional>

namespace cvx::pack {

struct ManifestCheck {
    Manifest manifest;
    QList<CheckedBook> books; // with the facts of every scan
    QList<Finding> findings;
};

// Called on a worker thread with each scan's bytes as it is read (0-based book and page).
using ScanVisitor = std::function<void(int book, int page, const QByteArray& bytes)>;

// Reads the manifest at `path` and checks it: first the limits of the formats it breaks, then
// its scans. A manifest that cannot be read gives its errors alone, and no books.
[[nodiscard]] ManifestCheck checkManifest(const QString& path, const CheckScope& scope,
                                          const ScanVisitor& visit = {});

// The books of a manifest as the checks take them, without facts.
[[nodiscard]] QList<CheckedBook> checkedBooks(const Manifest& manifest);

} // namespace cvx::pack
