// Aids for reading faded ink: brightness, contrast, gamma, negative, greyscale and one colour
// channel, applied to a page's decoded pixels through a lookup table; and their file's text.
#pragma once

#include <QByteArray>
#include <QImage>
#include <array>
#include <cstdint>

namespace cvx::ink {

enum class Channel : std::uint8_t { all, red, green, blue };

// What the reader has set; the defaults change nothing.
struct Aids {
    int brightness = 0; // -100..100: hundredths of the full scale added to every value
    int contrast = 0;   // -100..100: the values' slope about mid-grey is 2^(contrast / 50)
    int gamma = 10;     // 2..50, tenths: a value v in 0..1 becomes v^(10 / gamma)
    bool negative = false;
    bool greyscale = false;         // the three channels replaced by their luminance
    Channel channel = Channel::all; // one channel shown as grey (before greyscale)
    bool operator==(const Aids&) const = default;
    [[nodiscard]] bool identity() const { return *this == Aids{}; }
};

inline constexpr int kMinLevel = -100, kMaxLevel = 100; // brightness and contrast
inline constexpr int kMinGamma = 2, kMaxGamma = 50, kUnitGamma = 10;

// Value v (0..255) of any channel -> shown value: slope about 127.5, then the brightness
// added, clamped to 0..255, then the gamma, then the negative; rounded to the nearest.
using Table = std::array<std::uint8_t, 256>;
[[nodiscard]] Table toneTable(const Aids& aids);

// `image` as shown with `aids`, `table` being toneTable(aids). RGB32, ARGB32 (alpha kept) and
// Grayscale8 keep their format; others come back as ARGB32. A channel or greyscale view is grey
// in all three channels. With identity aids, `image` itself.
[[nodiscard]] QImage applied(const QImage& image, const Aids& aids, const Table& table);

// The aids as lines "name=value" for their file, and back: a missing, unknown or out-of-range
// value leaves that aid at its default.
[[nodiscard]] QByteArray serialized(const Aids& aids);
[[nodiscard]] Aids parsed(const QByteArray& text);

} // namespace cvx::ink
