// The real platform: Qt message boxes, the primary screen and the user's data folder.
#include "platform/platform.h"

#include "app/text_rules.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace cvx {

int QtPlatform::messageBox(const QString& text, int style, const QString& title) {
    QMessageBox box;
    box.setWindowTitle(title.isEmpty() ? kApplicationTitle : title);
    box.setTextFormat(Qt::PlainText); // a title or a path that looks like markup stays as it is
    box.setText(displayText(text));
    box.setIcon((style & kStyleCritical) ? QMessageBox::Critical : QMessageBox::NoIcon);
    if ((style & 7) == 4) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return kAnswerOk;
}

void QtPlatform::endProgram(int status) {
    // Every file access closes its file at once, so nothing is left open: flush and leave
    // without running further handlers or destructors.
    std::fflush(nullptr);
    std::_Exit(status);
}

QSize QtPlatform::screenPixels() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

QString QtPlatform::driveRoot() const {
#ifdef Q_OS_WIN
    return QStringLiteral("C:/");
#else
    QString root = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(root);
    return root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
#endif
}

QString QtPlatform::currentFolder() const {
    return QDir::currentPath();
}

QString underRoot(const QString& root, const QString& relative) {
    return root.endsWith(QLatin1Char('/')) ? root + relative : root + QLatin1Char('/') + relative;
}

} // namespace cvx
