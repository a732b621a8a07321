// Set-up shared by the fuzz targets: a Qt application object, so that image plugins load as
// they do in the viewer, created once before the first input.
#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}
