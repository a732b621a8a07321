// Engraved pictures of the sample volume: plates of plants drawn with hatching inside a
// platemark, a garden plan spread over a two-page opening, and the printer's device.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace cvx::sample {

struct Plate {
    QString number;  // "Tav. 3", printed in the outer top corner
    QString caption; // the plant's name, under the picture
    bool rightPage = true;
    quint64 seed = 0;
};

// A full-page plate onto paper already laid down.
void paintPlate(QImage& image, const QRect& page, const Plate& plate);

// A garden plan engraved across `area`, which spans both pages of an opening.
void paintSpread(QImage& image, const QRect& area, const QString& caption, quint64 seed);

// The printer's device: an oval frame around a hatched tree, for the title page.
void paintDevice(QPainter& p, const QRectF& box, quint64 seed);

} // namespace cvx::sample
