// The ink aids' lookup table, its application to decoded pixels, and the aids' file text.
#include "display/ink_aids.h"

#include <algorithm>
#include <cmath>

namespace cvx::ink {

Table toneTable(const Aids& aids) {
    const double slope = std::exp2(aids.contrast / 50.0);
    const double exponent = double(kUnitGamma) / std::clamp(aids.gamma, kMinGamma, kMaxGamma);
    Table table{};
    for (int v = 0; v < 256; ++v) {
        double x = (v / 255.0 - 0.5) * slope + 0.5 + aids.brightness / 100.0;
        x = std::pow(std::clamp(x, 0.0, 1.0), exponent);
        if (aids.negative)
            x = 1.0 - x;
        table[std::size_t(v)] = static_cast<std::uint8_t>(std::lround(x * 255.0));
    }
    return table;
}

namespace {
// The value a channel or greyscale view shows of pixel `p` (the same as qGray for greyscale).
int greyOf(QRgb p, Channel channel) {
    switch (channel) {
    case Channel::red:
        return qRed(p);
    case Channel::green:
        return qGreen(p);
    case Channel::blue:
        return qBlue(p);
    case Channel::all:
        break;
    }
    return (qRed(p) * 11 + qGreen(p) * 16 + qBlue(p) * 5) / 32;
}

void applyRow(QRgb* row, int width, const Aids& aids, const Table& t) {
    if (aids.channel == Channel::all && !aids.greyscale) {
        for (int x = 0; x < width; ++x) {
            const QRgb p = row[x];
            row[x] = (p & 0xff000000u) | (QRgb(t[qRed(p)]) << 16) | (QRgb(t[qGreen(p)]) << 8) |
                     t[qBlue(p)];
        }
        return;
    }
    for (int x = 0; x < width; ++x) {
        const QRgb y = t[std::size_t(greyOf(row[x], aids.channel))];
        row[x] = (row[x] & 0xff000000u) | (y << 16) | (y << 8) | y;
    }
}
} // namespace

QImage applied(const QImage& image, const Aids& aids, const Table& table) {
    if (aids.identity() || image.isNull())
        return image;
    QImage out = image;
    const QImage::Format format = image.format();
    if (format == QImage::Format_Grayscale8) {
        out.detach();
        for (int y = 0; y < out.height(); ++y) {
            uchar* row = out.scanLine(y);
            for (int x = 0; x < out.width(); ++x)
                row[x] = table[row[x]];
        }
        return out;
    }
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32)
        out = image.convertToFormat(QImage::Format_ARGB32);
    out.detach();
    for (int y = 0; y < out.height(); ++y)
        applyRow(reinterpret_cast<QRgb*>(out.scanLine(y)), out.width(), aids, table);
    return out;
}

namespace {
const char* const kChannels[] = {"tutti", "rosso", "verde", "blu"};

// `text` as an integer within [low, high], or `fallback`.
int boundedOr(const QByteArray& text, int low, int high, int fallback) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && v >= low && v <= high ? v : fallback;
}
} // namespace

QByteArray serialized(const Aids& aids) {
    return QByteArray("luminosita=") + QByteArray::number(aids.brightness) +
           "\ncontrasto=" + QByteArray::number(aids.contrast) +
           "\ngamma=" + QByteArray::number(aids.gamma) +
           "\nnegativo=" + (aids.negative ? "1" : "0") + "\ngrigi=" + (aids.greyscale ? "1" : "0") +
           "\ncanale=" + kChannels[int(aids.channel)] + "\n";
}

Aids parsed(const QByteArray& text) {
    const Aids none;
    Aids aids;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray name = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        if (name == "luminosita")
            aids.brightness = boundedOr(value, kMinLevel, kMaxLevel, none.brightness);
        else if (name == "contrasto")
            aids.contrast = boundedOr(value, kMinLevel, kMaxLevel, none.contrast);
        else if (name == "gamma")
            aids.gamma = boundedOr(value, kMinGamma, kMaxGamma, none.gamma);
        else if (name == "negativo")
            aids.negative = boundedOr(value, 0, 1, 0) == 1;
        else if (name == "grigi")
            aids.greyscale = boundedOr(value, 0, 1, 0) == 1;
        else if (name == "canale")
            for (int c = 0; c < 4; ++c)
                if (value == kChannels[c])
                    aids.channel = Channel(c);
    }
    return aids;
}

} // namespace cvx::ink
