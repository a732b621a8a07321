// Builds a volume folder from a manifest: every limit is checked, and every scan converted or
// re-encoded, before the volume is written; JPEG scans stored as they are are read once, and
// checked as they are written. The volume is written into a hidden working folder on its own
// disk (volume_destination.h), synced and moved into place at the end, so a failed or stopped
// build leaves nothing behind.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace cvx::pack {

struct BuildProgress {
    bool writing = false;    // true while files are written; false while scans are converted or
                             // re-encoded, or checked once a fault has stopped the writing
    bool converting = false; // scans converted or re-encoded before the writing
    int pagesDone = 0;       // while converting: of the scans to convert
    int pagesTotal = 0;
    int volumePages = 0;  // every page of the volume
    qint64 bytesDone = 0; // bytes of scans read, or of the volume written
};

struct BuildOptions {
    QString manifestPath;
    QString outDir;        // must not exist, or be an empty folder
    QString viewerPath;    // the viewer executable to put into the volume
    bool optimize = false; // re-encode JPEG scans losslessly as baseline with optimised tables
    std::function<void(const BuildProgress&)> progress;
    std::function<bool()> stopped; // when it says true, the build stops and leaves nothing
};

struct BuildReport {
    QStringList errors;   // Italian, one per fault; empty when the volume was written
    QStringList warnings; // the checks' warnings: the publisher should look at these pages
    QStringList notes;    // what the checks noted for the publisher's information, and the
                          // leftovers of earlier builds removed
    int books = 0;
    int pages = 0;
    int convertedPages = 0;
    qint64 scanBytes = 0;     // bytes of the publisher's scans read
    qint64 volumeBytes = 0;   // bytes of the volume folder written
    int optimizedPages = 0;   // JPEG images stored re-encoded (with `optimize`)
    int progressivePages = 0; // of those, the progressive scans made baseline
    qint64 bytesBeforeOptimizing = 0, bytesAfterOptimizing = 0; // of those images
    int turnedLosslessly = 0; // JPEG scans turned upright as their EXIF orientation asks
    int turnedReencoded = 0;  // the same, re-encoded at the manifest's quality
    int jpegQuality = 0;      // the manifest's
    [[nodiscard]] bool ok() const { return errors.isEmpty(); }
};

[[nodiscard]] BuildReport buildVolume(const BuildOptions& options);

} // namespace cvx::pack
