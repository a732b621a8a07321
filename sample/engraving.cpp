// Engraved pictures: hatching clipped to shapes, as a burin cuts them.
#include "sample/engraving.h"

#include "sample/letterpress.h"
#include "sample/parchment.h"
#include "sample/sample_random.h"

#include <QPainterPath>
#include <QtMath>
#include <algorithm>

namespace cvx::sample {

namespace {
// Fills `shape` with parallel lines `spacing` apart at `degrees`, then outlines it.
void hatch(QPainter& p, const QPainterPath& shape, double degrees, double spacing,
           bool outline = true) {
    p.save();
    p.setClipPath(shape, Qt::IntersectClip);
    const QRectF box = shape.boundingRect();
    const QPointF c = box.center();
    const double reach = std::hypot(box.width(), box.height()) / 2 + spacing;
    const double a = qDegreesToRadians(degrees);
    const QPointF along(std::cos(a), std::sin(a)), across(-along.y(), along.x());
    for (double d = -reach; d <= reach; d += spacing)
        p.drawLine(c + across * d - along * reach, c + across * d + along * reach);
    p.restore();
    if (outline)
        p.drawPath(shape);
}

QPainterPath leaf(QPointF base, double degrees, double length, double width) {
    const double a = qDegreesToRadians(degrees);
    const QPointF dir(std::cos(a), std::sin(a)), side(-dir.y(), dir.x());
    QPainterPath path(base);
    path.quadTo(base + dir * length * 0.5 + side * width, base + dir * length);
    path.quadTo(base + dir * length * 0.5 - side * width, base);
    return path;
}

void paintFlower(QPainter& p, QPointF centre, double radius, SampleRandom& random) {
    const int petals = 5 + random.below(4);
    for (int i = 0; i < petals; ++i) {
        const double deg = i * 360.0 / petals + random.between(-8, 8);
        hatch(p, leaf(centre, deg, radius, radius * 0.32), deg + 90, radius / 9);
    }
    QPainterPath heart;
    heart.addEllipse(centre, radius * 0.22, radius * 0.22);
    hatch(p, heart, 45, radius / 22);
    hatch(p, heart, -45, radius / 22, false);
}

// A plant growing from `foot` up to `height` pixels: stem, alternate leaves, flower, roots.
void paintPlant(QPainter& p, QPointF foot, double height, SampleRandom& random) {
    const double sway = height * random.between(-0.12, 0.12);
    const QPointF top = foot + QPointF(sway, -height);
    QPainterPath stem(foot);
    stem.cubicTo(foot + QPointF(-sway, -height * 0.35), top + QPointF(sway, height * 0.4), top);
    p.drawPath(stem);
    const int leaves = 6 + random.below(5);
    for (int i = 1; i <= leaves; ++i) {
        const double t = 0.08 + 0.8 * i / leaves;
        const QPointF at = stem.pointAtPercent(t);
        const bool right = i % 2 == 0;
        const double deg = (right ? -35 : -145) + random.between(-12, 12);
        const double length = height * (0.34 - 0.2 * t) * random.between(0.8, 1.1);
        const QPainterPath l = leaf(at, deg, length, length * 0.28);
        hatch(p, l, deg + 65, std::max(1.5, length / 26));
        const double a = qDegreesToRadians(deg);
        p.drawLine(at, at + QPointF(std::cos(a), std::sin(a)) * length * 0.95); // midrib
    }
    paintFlower(p, top, height * 0.12, random);
    for (int i = 0; i < 5; ++i) {
        QPainterPath root(foot);
        const QPointF end = foot + QPointF(random.between(-0.12, 0.12) * height,
                                           random.between(0.05, 0.12) * height);
        root.quadTo(foot + QPointF(random.between(-0.05, 0.05) * height, 0.04 * height), end);
        p.drawPath(root);
    }
}

void paintGround(QPainter& p, const QRectF& band, SampleRandom& random) {
    const double step = std::max(2.0, band.height() / 14);
    for (double y = band.top(); y < band.bottom(); y += step) {
        const double x0 = band.left() + random.unit() * band.width() * 0.2;
        const double x1 = band.right() - random.unit() * band.width() * 0.2;
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
    }
}

QPen burin(double pageWidth) {
    return QPen(QColor(kInk), std::max(0.6, pageWidth / 1100.0));
}
} // namespace

void paintPlate(QImage& image, const QRect& page, const Plate& plate) {
    paintHeadLine(image, page, QString(), plate.number, plate.rightPage);
    SampleRandom random(plate.seed);
    const QRect area = typeArea(page, plate.rightPage);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The platemark: the copper plate's edge pressed into the paper.
    const QRectF mark = QRectF(area).adjusted(0, area.height() * 0.02, 0, -area.height() * 0.08);
    p.setPen(QPen(QColor(150, 125, 95), std::max(1.0, page.width() / 400.0)));
    p.drawRect(mark);
    p.setPen(burin(page.width()));
    const QRectF picture = mark.adjusted(mark.width() * 0.06, mark.width() * 0.06,
                                         -mark.width() * 0.06, -mark.width() * 0.06);
    p.drawRect(picture);
    const QRectF ground(picture.left(), picture.bottom() - picture.height() * 0.12, picture.width(),
                        picture.height() * 0.1);
    paintGround(p, ground, random);
    paintPlant(p, QPointF(picture.center().x(), ground.top()), picture.height() * 0.78, random);
    p.setFont(bookFont(page.height() / 60.0, true));
    p.drawText(QRectF(mark.left(), mark.bottom(), mark.width(), area.bottom() - mark.bottom()),
               Qt::AlignCenter, plate.caption);
}

void paintSpread(QImage& image, const QRect& area, const QString& caption, quint64 seed) {
    SampleRandom random(seed);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(burin(area.width() / 2.0));
    const QRectF plan = QRectF(area).adjusted(0, area.height() * 0.08, 0, 0);
    p.drawRect(plan);
    p.setFont(bookFont(area.height() / 30.0));
    p.drawText(QRectF(area.left(), area.top(), area.width(), area.height() * 0.08), Qt::AlignCenter,
               caption);
    const double cell = plan.height() / 2;
    const double walk = cell * 0.08;
    for (int q = 0; q < 8; ++q) {
        const QRectF bed(plan.left() + (q % 4) * plan.width() / 4 + walk,
                         plan.top() + (q / 4) * cell + walk, plan.width() / 4 - 2 * walk,
                         cell - 2 * walk);
        QPainterPath outer;
        outer.addRect(bed);
        hatch(p, outer, 30 + 30 * (q % 3), std::max(2.0, cell / 60));
        QPainterPath inner;
        const double r = std::min(bed.width(), bed.height()) * random.between(0.25, 0.38);
        inner.addEllipse(bed.center(), r, r);
        p.save();
        p.setBrush(QColor(233, 215, 176));
        p.drawPath(inner);
        p.restore();
        paintPlant(p, bed.center() + QPointF(0, r * 0.6), r * 1.2, random);
    }
}

void paintDevice(QPainter& p, const QRectF& box, quint64 seed) {
    SampleRandom random(seed);
    p.save();
    p.setPen(burin(box.width() * 4));
    QPainterPath oval;
    oval.addEllipse(box);
    p.drawEllipse(
        box.adjusted(-box.width() / 30, -box.width() / 30, box.width() / 30, box.width() / 30));
    p.setClipPath(oval);
    QPainterPath ground;
    ground.addRect(box.adjusted(0, box.height() * 0.85, 0, 0));
    hatch(p, ground, 0, std::max(2.0, box.height() / 90), false);
    p.drawPath(oval);
    paintPlant(p, QPointF(box.center().x(), box.bottom() - box.height() * 0.12), box.height() * 0.7,
               random);
    p.restore();
}

} // namespace cvx::sample
