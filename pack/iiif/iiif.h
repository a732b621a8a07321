// IIIF Presentation both ways: a volume written out as a static IIIF Presentation 3 manifest with
// its images (for putting the same volume on the web), and a first manifest of ours read from a
// IIIF Presentation 3 or 2.1 manifest and a folder of its images.
#pragma once

#include "pack/manifest/manifest_draft.h"
#include "pack/volume/volume_reader.h"

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

// A draft from IIIF manifest JSON (version 3 or 2.1; of version 2 the first sequence, the others
// named): every image canvas a page exactly once, in order; the books from the ranges (see
// iiifBooks), a cover or Roman preliminaries that keep the others' numbering from being shown put
// in a book apart; the numbering from the range's metadata when it is ours, otherwise from the
// canvas labels and the "facing-pages" behaviour or viewing hint. Each canvas's image (a Choice's
// default) is its file:// path when that exists, else found by name in `imagesDir` and its
// subfolders, under any picture extension; a canvas without one keeps its place at the path it is
// expected at. Labels in `lang` as iiifText picks them. What was guessed is in the report; a
// manifest of audio, video or text, a collection, or a missing `imagesDir` is refused.
[[nodiscard]] Draft draftFromIiif(const QByteArray& json, const QString& imagesDir,
                                  const QString& lang = {});

} // namespace cvx::pack
