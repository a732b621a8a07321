// Artwork drawn from the compiled-in SVG files.
#include "resources/artwork.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace cvx::artwork {

QImage image(const QString& name, QSize size) {
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/art/%1.svg").arg(name));
    if (renderer.isValid()) {
        QPainter painter(&out);
        renderer.render(&painter);
    }
    return out;
}

QCursor cursor(const QString& name) {
    return QCursor(QPixmap::fromImage(image(name, QSize(32, 32))), 16, 16);
}

} // namespace cvx::artwork
