// The window's artwork, drawn from the SVG files compiled into the program.
#pragma once

#include <QCursor>
#include <QImage>
#include <QString>

namespace cvx::artwork {

// The named drawing rendered at `size` pixels (transparent where the drawing is).
[[nodiscard]] QImage image(const QString& name, QSize size);

// A 32 x 32 cursor of the named drawing, its hot spot in the middle.
[[nodiscard]] QCursor cursor(const QString& name);

} // namespace cvx::artwork
