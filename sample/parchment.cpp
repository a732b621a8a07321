// Parchment tone, texture and ageing of the sample pages.
#include "sample/parchment.h"

#include "sample/sample_random.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

namespace cvx::sample {

namespace {
// A coarse grid of random values, read with bilinear interpolation: slow mottling.
class Mottle {
  public:
    Mottle(int cols, int rows, SampleRandom& random) : cols_(cols + 2), values_() {
        values_.resize(static_cast<size_t>(cols_) * (rows + 2));
        for (double& v : values_)
            v = random.unit();
    }
    [[nodiscard]] double at(double gx, double gy) const {
        const int x = static_cast<int>(gx), y = static_cast<int>(gy);
        const double fx = gx - x, fy = gy - y;
        auto v = [&](int i, int j) { return values_[static_cast<size_t>(j) * cols_ + i]; };
        const double top = v(x, y) * (1 - fx) + v(x + 1, y) * fx;
        const double bottom = v(x, y + 1) * (1 - fx) + v(x + 1, y + 1) * fx;
        return top * (1 - fy) + bottom * fy;
    }

  private:
    int cols_;
    std::vector<double> values_;
};

int clampByte(double v) {
    return std::clamp(static_cast<int>(v), 0, 255);
}

void paintFoxing(QImage& image, const QRect& page, SampleRandom& random) {
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    const int spots = 6 + random.below(10);
    for (int i = 0; i < spots; ++i) {
        const QPointF centre(page.left() + random.unit() * page.width(),
                             page.top() + random.unit() * page.height());
        const double radius = page.width() * random.between(0.002, 0.012);
        QRadialGradient g(centre, radius);
        g.setColorAt(0, QColor(120, 70, 30, 70 + random.below(60)));
        g.setColorAt(1, QColor(120, 70, 30, 0));
        p.setBrush(g);
        p.drawEllipse(centre, radius, radius);
    }
}
} // namespace

void paintParchment(QImage& image, const QRect& page, quint64 seed) {
    SampleRandom random(seed);
    const int cell = std::max(8, page.width() / 10);
    const Mottle mottle(page.width() / cell + 1, page.height() / cell + 1, random);
    const double tone = random.between(-6, 6); // pages of one volume differ a little
    for (int y = page.top(); y <= page.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double vy = std::min(y - page.top(), page.bottom() - y) / double(page.height());
        for (int x = page.left(); x <= page.right(); ++x) {
            const double vx = std::min(x - page.left(), page.right() - x) / double(page.width());
            const double edge = std::max(0.0, 1.0 - std::min(vx, vy) / 0.06); // 1 at the edge
            const double m =
                mottle.at((x - page.left()) / double(cell), (y - page.top()) / double(cell));
            const double grain = static_cast<double>(random.next() & 15) - 7.5;
            const double shade = tone + 18 * (m - 0.5) + grain * 0.8 - 38 * edge * edge;
            line[x] = qRgb(clampByte(233 + shade), clampByte(215 + shade * 1.05),
                           clampByte(176 + shade * 1.2));
        }
    }
    paintFoxing(image, page, random);
}

void paintFold(QImage& image, int fold, int width) {
    const int half = std::max(1, width / 2);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = std::max(0, fold - half); x < std::min(image.width(), fold + half); ++x) {
            const double d = std::abs(x - fold) / double(half);
            const double keep = 0.55 + 0.45 * d * d;
            const QRgb c = line[x];
            line[x] = qRgb(clampByte(qRed(c) * keep), clampByte(qGreen(c) * keep),
                           clampByte(qBlue(c) * keep));
        }
    }
}

} // namespace cvx::sample
