// Checks and unpacks a volume read back from its folder: every entry restored and decoded
// (verify), or written out as the publisher's JPEG file (extract).
#pragma once

#include "pack/volume/volume_reader.h"

#include <QByteArray>
#include <functional>

namespace cvx::pack {

struct EntryBytes {
    QByteArray entry; // the stored bytes restored: what the viewer loads
    QString problem;  // Italian; empty when the bytes were read and restored
    // The image as the publisher gave it: the restored entry without its padding.
    [[nodiscard]] QByteArray image(const EntryInfo& e) const { return entry.left(e.imageLength); }
};

// "libro 2 (dv00002.ex_, "..."), pagina 002s (voce 1)".
[[nodiscard]] QString pageTitle(const VolumeInfo& volume, int book, const EntryInfo& entry);

// Reads one entry from its archive and restores its head.
[[nodiscard]] EntryBytes readEntry(const VolumeInfo& volume, int book, const EntryInfo& entry);

// Every fault of the volume: of its block, of each book record and directory, of the cover
// reference, and each entry that cannot be read, restored or decoded, naming book and label.
// `progress` (optional) gets the entries checked and their total.
[[nodiscard]] QStringList verifyVolume(const VolumeInfo& volume,
                                       const std::function<void(int, int)>& progress = {});

// File name of an extracted entry: the archive's name and the page label ("dv00002_002s.jpg").
// The slot number replaces a label that is empty or already taken in `taken`.
[[nodiscard]] QString extractedName(const BookInfo& book, const EntryInfo& entry,
                                    QStringList& taken);

struct ExtractReport {
    int written = 0;
    QStringList problems;
};

// Writes every readable entry, restored and without padding, into `outDir` (created if
// missing).
[[nodiscard]] ExtractReport extractVolume(const VolumeInfo& volume, const QString& outDir);

} // namespace cvx::pack
