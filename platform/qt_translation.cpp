// Qt's Italian catalogue, from the program's resources.
#include "platform/qt_translation.h"

#include <QCoreApplication>
#include <QTranslator>

namespace cvx {

bool installQtItalian() {
    static QTranslator catalogue; // lives as long as the application
    return catalogue.load(QStringLiteral(":/translations/qtbase_it.qm")) &&
           QCoreApplication::installTranslator(&catalogue);
}

} // namespace cvx
