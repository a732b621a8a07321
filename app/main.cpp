// Starts the viewer: one window, whose load handler does the whole start-up.
#include "app/bookform.h"
#include "display/paint_trace.h"
#include "platform/qt_translation.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    cvx::Picture::configureDecoding();
    (void)cvx::installQtItalian(); // without it Qt's buttons read in English, nothing more
    QFont font = QApplication::font();
    font.setPointSizeF(8.0);
    QApplication::setFont(font);
    cvx::QtPlatform platform;
    cvx::BookForm form(platform);
    cvx::traceFirstPagePaint(form.Image1->widget(),
                             [&] { return !form.Image1->picture().isNull(); });
    form.handleEvent([&] { form.Form_Load(); });
    return QApplication::exec();
}
