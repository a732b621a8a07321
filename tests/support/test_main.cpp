// Runs the tests with a headless Qt application, set up as the viewer's start sets it up.
#include "platform/picture.h"
#include "platform/qt_translation.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    cvx::Picture::configureDecoding();
    if (!cvx::installQtItalian())
        return 2;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
