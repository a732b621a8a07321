// A platform for tests: message boxes are recorded and answered from a script, ending the
// program records its status and throws ProgramEnded, the screen, drive root and current folder
// are set by the test, and the default printer is absent, scripted or the machine's own.
#pragma once

#include "platform/platform.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace cvx::test {

struct ProgramEnded {};

struct ShownBox {
    QString text;
    int style;
    QString title;
};

// What a scripted printer tells the viewer, and the failure its printPage answers (none: empty).
struct PrinterSetup {
    QString name;
    int orientation;
    QSizeF area;
    QString failure;
};

struct PrintedPage {
    QImage image;
    QRectF area;
};

class FakePlatform : public Platform {
  public:
    int messageBox(const QString& text, int style, const QString& title) override;
    [[noreturn]] void endProgram(int status) override;
    [[nodiscard]] QSize screenPixels() const override { return screen; }
    [[nodiscard]] QString driveRoot() const override { return root; }
    [[nodiscard]] QString currentFolder() const override { return folder; }
    [[nodiscard]] std::unique_ptr<Printer> defaultPrinter() override;

    std::vector<ShownBox> boxes;
    std::deque<int> answers; // taken in order; when empty: Yes for Yes/No boxes, else OK
    std::function<void(const ShownBox&)> onBox; // runs while the box is "open"
    bool ended = false;
    int exitStatus = -1; // the status the program ended with
    QSize screen{1280, 1024};
    QString root;                        // with a trailing separator
    QString folder;                      // the volume folder
    std::optional<PrinterSetup> printer; // the default printer; none when empty
    bool systemPrinter = false;          // the machine's own default printer instead
    std::vector<PrintedPage> printed;    // what the scripted printer printed
};

} // namespace cvx::test
