// IIIF Presentation both ways: a volume written out as a static IIIF Presentation 3 manifest with
// its images (for putting the same volume on the web), and a first manifest of ours read from a
// IIIF Presentation 3 or 2.1 manifest and a folder of its images.
#pragma once

#include "pack/manifest_draft.h"
#include "pack/volume_reader.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace cvx::pack {

struct IiifExport {
    int images = 0;       // written
    QStringList problems; // Italian, naming book and page
};

// Writes OUTDIR/manifest.json and the volume's pages as OUTDIR/immagini/*.jpg (as the publisher
// gave them). Every id starts with `baseUrl` (the folder's own file:// address when empty).
// Canvases carry the labels the viewer shows, each book is a range whose metadata keeps its
// numbering, openings are "facing-pages".
[[nodiscard]] IiifExport exportIiif(const VolumeInfo& volume, const QString& outDir,
                                    const QString& baseUrl);

// The numbering metadata of an exported range: "tipo 1, lato D, primo numero 1".
[[nodiscard]] QString numberingMetadata(int kind, const QString& side, int firstNumber);

// A draft from IIIF manifest JSON (version 3 or 2.1): canvases in order, the top ranges as books
// (one book of every canvas when there are none), the numbering from the range's metadata when
// it is ours, otherwise from the canvas labels and the "facing-pages" behaviour or viewing hint;
// each canvas's image matched by name to a file of `imagesDir`. Canvases without an image, in no
// range, or whose labels fit no numbering are listed in the report.
[[nodiscard]] Draft draftFromIiif(const QByteArray& json, const QString& imagesDir);

} // namespace cvx::pack
