// Printer arithmetic and the confirmation text.
#include "panels/print_layout.h"

#include <QStringList>
#include <cmath>

namespace cvx::printing {

Placement placement(double pw, double ph, double sw, double sh) {
    // Every figure is single precision, as the printer's and the picture box's scale figures
    // are: a product taken in double precision falls a hair short of a whole millimetre for
    // about half the widths that the page width limits, and loses that millimetre.
    const auto w0 = static_cast<float>(sw);
    const auto h0 = static_cast<float>(sh);
    const float s1 = static_cast<float>(pw) / w0;
    const float s2 = static_cast<float>(ph) * 55.0f / 56.0f / h0;
    const float s = s2 < s1 ? s2 : s1;
    const float width = w0 * s;
    const float height = h0 * s;
    Placement p;
    p.width = static_cast<int>(std::floor(width));
    p.height = static_cast<int>(std::floor(height));
    p.x = static_cast<int>(std::floor(pw)) - p.width - 2;
    return p;
}

QString orientationWord(int orientation) {
    return orientation == 1 ? QStringLiteral("VERTICALE") : QStringLiteral("ORIZZONTALE");
}

QString confirmationText(const QString& deviceName, const QString& orientation, double pw,
                         double ph, const Placement& placement) {
    const auto whole = [](double v) {
        return QString::number(static_cast<long long>(std::floor(v)));
    };
    const QStringList lines = {
        QStringLiteral("NOME DELLA STAMPANTE: ") + deviceName,
        QStringLiteral("SENSO DI STAMPA: ") + orientation,
        QString(),
        QStringLiteral("DIMENSIONE pagina in mm.: ") + whole(pw) + QStringLiteral(" x ") +
            whole(ph),
        QStringLiteral("DIMENSIONE immagine in mm.: ") + QString::number(placement.width) +
            QStringLiteral(" x ") + QString::number(placement.height),
        QString(),
        QStringLiteral("PER MODIFICARE I PARAMETRI"),
        QStringLiteral("occorre modificare il settaggio della stampante"),
        QString(),
        QStringLiteral("PROSEGUO CON LA STAMPA?"),
    };
    return lines.join(QChar(13));
}

} // namespace cvx::printing
