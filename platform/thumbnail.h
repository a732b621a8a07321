// Small pictures of JPEG scans, for overviews of many pages: decoded by libjpeg at the smallest
// of its DCT scales (M/8) that still covers the size asked for, and the little rest scaled
// smoothly. Several times faster than a decode at full size, and free of shared state: any number
// of threads may decode at once (Qt's process-wide allocation guard is not touched).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace cvx {

// The size of a picture of `full` pixels fitted into `box`, its shape kept, at least 1 x 1.
[[nodiscard]] QSize thumbnailSize(QSize full, QSize box);

// The JPEG's stored pixels (no EXIF orientation applied) fitted into `box`. A null image when
// the data cannot be decoded, the box is empty, or the header claims more than
// Picture::kMaxPixels pixels. Damaged compressed data shows grey, as in the viewer.
[[nodiscard]] QImage decodeThumbnail(const QByteArray& jpeg, QSize box);

// Gives the memory freed by many thumbnails dropped at once back to the system: the allocator
// keeps it for the process otherwise.
void returnFreedMemory();

} // namespace cvx
