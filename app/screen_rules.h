// The screen check's thresholds and texts (all widths in twips, 15 per pixel).
#pragma once

#include <QString>

namespace cvx::screen {

inline constexpr double kMinimumWidth = 15360; // 1024 pixels
inline constexpr double kAdvisedWidth = 19200; // 1280 pixels

enum class Fit { TooNarrow, Narrow, Fine };

// Both tests are strict: exactly the minimum passes, exactly the advised width is fine.
[[nodiscard]] constexpr Fit fit(double screenWidth) {
    return screenWidth < kMinimumWidth   ? Fit::TooNarrow
           : screenWidth < kAdvisedWidth ? Fit::Narrow
                                         : Fit::Fine;
}

// "1280 x 1024 pixel": the whole pixels of a screen given in twips.
[[nodiscard]] QString sizeText(double widthTwips, double heightTwips);

[[nodiscard]] QString tooNarrowMessage();
// The advisory text that follows the sentence with the screen size.
[[nodiscard]] QString narrowAdvice();

} // namespace cvx::screen
