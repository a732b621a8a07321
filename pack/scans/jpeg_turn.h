// Scans turned upright as their EXIF orientation asks: the viewer shows stored pixels as they are,
// so the packer stores them turned.
#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace cvx::pack {

// `jpeg` turned upright without decoding it (libjpeg-turbo's lossless transform of its DCT
// blocks), its markers kept and its EXIF orientation set to 1. nullopt when the turn would move
// a partial block of the picture's right or bottom edge to where it cannot stay (the transform
// is not perfect), or when libjpeg-turbo refuses the file. Orientation 1 gives nullopt too.
[[nodiscard]] std::optional<QByteArray> turnLosslessly(const QByteArray& jpeg, int orientation);

// A decoded picture turned upright as EXIF orientation `orientation` (1-8) asks.
[[nodiscard]] QImage turnedUpright(const QImage& image, int orientation);

} // namespace cvx::pack
