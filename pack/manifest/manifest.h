// The publisher's manifest: a JSON file with the volume's heading texts, working-folder name,
// cover reference and, per book, its label, numbering and page images in reading order.
#pragma once

#include "pack/volume/volume_writer.h"

#include <QString>
#include <QStringList>

namespace cvx::pack {

inline constexpr int kDefaultJpegQuality = 90;

struct ManifestBook {
    QString label;
    int kind = 1;
    QString side;
    int firstNumber = 1;
    QStringList pages;     // as written in the manifest, for messages
    QStringList pageFiles; // the same, resolved against the manifest's folder
};

struct Manifest {
    QString title, secondLine, publisher, place, year;
    QString workFolder;
    int coverBook = 1; // 1-based position in "books"
    int coverPage = 1; // 1-based position in that book's "pages"
    int jpegQuality = kDefaultJpegQuality;
    QList<ManifestBook> books;
};

struct ManifestRead {
    Manifest manifest;
    QStringList errors; // one Italian sentence per fault, naming the field
};

// Parses `json`; image paths are taken relative to `folder`. Reports a field that is missing,
// of the wrong type or unknown; limits are checked by manifestProblems.
[[nodiscard]] ManifestRead parseManifest(const QByteArray& json, const QString& folder);

// Reads and parses the manifest file at `path`.
[[nodiscard]] ManifestRead readManifest(const QString& path);

// Every limit of the formats that the manifest alone breaks, naming book, page and field.
[[nodiscard]] QStringList manifestProblems(const Manifest& manifest);

// "libro 2 (dv00002.ex_, "02 Lib.02 Primo libro")" for the 0-based book index.
[[nodiscard]] QString bookName(const Manifest& manifest, int book);

// "libro 2 (...), pagina 3 (002s, scans/c.jpg)" for 0-based indexes.
[[nodiscard]] QString pageName(const Manifest& manifest, int book, int page);

// The volume's block data and numbering, without pages or executable.
// Precondition: manifestProblems is empty.
[[nodiscard]] VolumeSpec volumeSpec(const Manifest& manifest);

} // namespace cvx::pack
