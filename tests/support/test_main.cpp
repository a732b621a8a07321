// Runs the tests with a headless Qt application, set up as the viewer's start sets it up, on a
// screen of device pixel ratio 1 or the one given.
#include "platform/picture.h"
#include "platform/qt_translation.h"

#include <QApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    // --ratio=R: a screen at device pixel ratio R, as a high-density screen gives it, large
    // enough for the window at every ratio.
    QTemporaryFile screens;
    QByteArray platform = "offscreen";
    for (int i = 1; i < argc; ++i)
        if (const QByteArray arg(argv[i]); arg.startsWith("--ratio=") && screens.open()) {
            screens.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 3840,
                "height": 2160, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": )" +
                          arg.mid(8) + "}]}");
            screens.flush();
            platform += ":configfile=" + QFile::encodeName(screens.fileName());
        }
    qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    cvx::Picture::configureDecoding();
    if (!cvx::installQtItalian())
        return 2;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
