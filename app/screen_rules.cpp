// The screen check's thresholds and texts.
#include "app/screen_rules.h"

#include "app/text_rules.h"

namespace cvx::screen {

QString sizeText(double widthTwips, double heightTwips) {
    return numberText(static_cast<long long>(widthTwips / 15)) + QStringLiteral(" x ") +
           numberText(static_cast<long long>(heightTwips / 15)) + QStringLiteral(" pixel");
}

QString tooNarrowMessage() {
    return QStringLiteral(
               "La definizione orizzontale MINIMA dello schermo deve essere di 1024 pixel") +
           QChar(13) +
           QStringLiteral(
               "!!!!!!!!!!! CAMBIARE LA DEFINIZIONE dello schermo in tal senso !!!!!!!!!!");
}

QString narrowAdvice() {
    return QStringLiteral("Si consiglia la definizione schermo orizzontale MINIMA di 1280 pixel") +
           QChar(13) +
           QStringLiteral("La lettura di alcuni testi, con caratteri molto piccoli, potrebbe "
                          "essere difficoltosa.");
}

} // namespace cvx::screen
