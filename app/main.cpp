// Starts the viewer: one window, whose load handler does the whole start-up.
#include "app/bookform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setPointSizeF(8.0);
    QApplication::setFont(font);
    cvx::QtPlatform platform;
    cvx::BookForm form(platform);
    form.handleEvent([&] { form.Form_Load(); });
    return QApplication::exec();
}
