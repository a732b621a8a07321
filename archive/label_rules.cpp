// Page label rules.
#include "archive/label_rules.h"

#include "app/text_rules.h"
#include "archive/archive_layout.h"

namespace cvx::labels {

bool firstOnRight(const QString& side) {
    return side.toUpper() == QLatin1String("D");
}

int labelNumber(int kind, const QString& side, int firstNumber, int k) {
    const bool right = firstOnRight(side);
    switch (kind) {
    case Sheets: {
        const int m = (k - 1) / 2 + firstNumber; // k >= 1, so truncation is the integer part
        return right && k % 2 == 0 ? m + 1 : m;
    }
    case Pages:
        return right ? firstNumber + k - 1 : firstNumber + k;
    case Openings:
        return openingNumber(side, 2 * k + firstNumber);
    default:
        return 0;
    }
}

QString pageLabel(int kind, const QString& side, int firstNumber, int k) {
    const int n = labelNumber(kind, side, firstNumber, k);
    switch (kind) {
    case Sheets: {
        const bool odd = k % 2 != 0;
        const QChar letter = (odd == firstOnRight(side)) ? QLatin1Char('d') : QLatin1Char('s');
        return lastFour(QStringLiteral("0000") + numberText(n) + letter);
    }
    case Pages:
        return lastFour(QStringLiteral("00000") + numberText(n));
    case Openings:
        return lastFour(QStringLiteral("0000") + numberText(n));
    default:
        return {};
    }
}

QStringList pageLabels(int kind, const QString& side, int firstNumber,
                       const QStringList& slotTexts) {
    QStringList labels;
    if (kind < Sheets || kind > Openings)
        return labels;
    for (const QString& slot : slotTexts)
        labels << pageLabel(kind, side, firstNumber, archive::sequenceNumber(slot));
    return labels;
}

double sheetSequence(const QString& side, int firstNumber, double v, QChar letter) {
    const double base = 2 * (v - firstNumber);
    const bool right = letter == QLatin1Char('d');
    if (firstOnRight(side))
        return right ? base + 1 : base;
    return right ? base + 2 : base + 1;
}

int openingNumber(const QString& side, int n) {
    const bool odd = n % 2 != 0;
    return firstOnRight(side) == odd ? n : n + 1;
}

} // namespace cvx::labels
