// What a proof sheet shows, gathered from a manifest and its scans or from a volume folder: the
// headings, the books and their labels, a thumbnail of every page decoded on every core, and the
// findings of the checks.
#pragma once

#include "pack/checks/manifest_and_scans.h"
#include "pack/proof/proof_sheet.h"

#include <QStringList>

namespace cvx::pack {

// From a manifest: its scans as the build will store them (turned upright by their EXIF
// orientation). A manifest that cannot be read or breaks the limits gives its faults in
// `errors` and an empty sheet.
[[nodiscard]] ProofSheet proofOfManifest(const QString& path, QStringList* errors,
                                         const WorkProgress& progress = {});

// From a volume folder: its entries as the viewer reads them. The block's faults go to `errors`.
[[nodiscard]] ProofSheet proofOfVolume(const QString& folder, QStringList* errors,
                                       const WorkProgress& progress = {});

// A scan's thumbnail for the proof, turned upright as the build turns it.
[[nodiscard]] QImage proofThumbnail(const QByteArray& scan);

} // namespace cvx::pack
