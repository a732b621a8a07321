// Page label rules.
#include "archive/label_rules.h"

#include "app/text_rules.h"

namespace cvx::labels {

bool firstOnRight(const QString& side) { return side.toUpper() == QLatin1String("D"); }

QString pageLabel(int kind, const QString& side, int firstNumber, int k) {
    const bool right = firstOnRight(side);
    switch (kind) {
    case Sheets: {
        const int m = (k - 1) / 2 + firstNumber; // k >= 1, so truncation is the integer part
        const bool odd = k % 2 != 0;
        const int n = right && !odd ? m + 1 : m;
        const QChar letter = (odd == right) ? QLatin1Char('d') : QLatin1Char('s');
        return lastFour(QStringLiteral("0000") + numberText(n) + letter);
    }
    case Pages:
        return lastFour(QStringLiteral("00000") + numberText(right ? firstNumber + k - 1
                                                                   : firstNumber + k));
    case Openings: {
        int n = 2 * k + firstNumber;
        if (right ? n % 2 == 0 : n % 2 != 0)
            n += 1;
        return lastFour(QStringLiteral("0000") + numberText(n));
    }
    default:
        return {};
    }
}

} // namespace cvx::labels
