// Where the current sheet goes on the printed page, and the confirmation that announces it.
#pragma once

#include <QString>

namespace cvx::printing {

// The printed picture in whole millimetres: left edge x, width and height; its top is kTop.
struct Placement {
    int x = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kTop = 1;

inline const QString kConfirmationTitle =
    QStringLiteral("LA STAMPA viene effettuata con i seguenti parametri:");

// Largest placement of a picture of source size sw x sh (any unit, both > 0) in a printable
// area of pw x ph mm: scale s = min(pw / sw, ph * 55 / 56 / sh), so 1/56 of the height stays
// free; width and height are the integer parts of sw * s and sh * s, and the right edge lies
// 2 mm inside the area (x = int(pw) - width - 2, which is -2 when the width limits the scale).
[[nodiscard]] Placement placement(double pw, double ph, double sw, double sh);

// "VERTICALE" for orientation 1 (portrait), "ORIZZONTALE" for any other value.
[[nodiscard]] QString orientationWord(int orientation);

// The ten-line confirmation, lines joined by carriage returns, no break after the last:
// printer name, orientation word, printable area (integer parts, mm) and printed size.
[[nodiscard]] QString confirmationText(const QString& deviceName, const QString& orientation,
                                       double pw, double ph, const Placement& placement);

} // namespace cvx::printing
