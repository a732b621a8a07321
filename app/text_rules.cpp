// Text and number rules shared by every subsystem.
#include "app/text_rules.h"

#include <array>
#include <cmath>

namespace cvx {

double numericValue(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    QString number;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        number += text[i++];
    bool point = false;
    bool digits = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            number += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    return number.toDouble();
}

std::int16_t toInteger(double value) {
    const double r = std::nearbyint(value); // the default rounding mode rounds halves to even
    if (!(r >= -32768.0 && r <= 32767.0))
        throw RuntimeError(QStringLiteral("Overflow"));
    return static_cast<std::int16_t>(r);
}

std::int32_t toLong(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw RuntimeError(QStringLiteral("Overflow"));
    return static_cast<std::int32_t>(r);
}

QString numberText(long long n) {
    return QString::number(n);
}

QString signedNumberText(long long n) {
    return n >= 0 ? QLatin1Char(' ') + QString::number(n) : QString::number(n);
}

QString rightChars(const QString& text, int count) {
    return text.size() <= count ? text : text.right(count);
}

QString columns(const QString& text, int from, int count) {
    if (from < 1 || from > text.size())
        return {};
    return text.mid(from - 1, count);
}

QString trimBlanks(const QString& text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == QLatin1Char(' '))
        ++b;
    while (e > b && text[e - 1] == QLatin1Char(' '))
        --e;
    return text.mid(b, e - b);
}

namespace {
// Code points of bytes 0x80..0x9F; the rest of the set equals Latin-1. Unassigned bytes keep
// their C1 control code, as Windows does when it converts them.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    return -1;
}
} // namespace

QString fromSingleByte(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray toSingleByte(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int b = byteOf(c);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

bool isSingleByte(const QString& text) {
    for (const QChar c : text)
        if (byteOf(c) < 0)
            return false;
    return true;
}

QString displayText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace cvx
