// The paper of the sample pages: a warm parchment tone with slow mottling, fine grain, foxing
// spots and edges darkened by age; and the shadow in the fold of a two-page opening.
#pragma once

#include <QImage>
#include <QRect>

namespace cvx::sample {

// Ink colours of the old print.
inline constexpr QRgb kInk = qRgb(38, 30, 24);
inline constexpr QRgb kRubric = qRgb(148, 34, 24);

// Paints the paper of one page into `page` of `image` (Format_RGB32).
void paintParchment(QImage& image, const QRect& page, quint64 seed);

// Darkens a band of `width` pixels centred on x = `fold`, as the binding does in a scan.
void paintFold(QImage& image, int fold, int width);

} // namespace cvx::sample
