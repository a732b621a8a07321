// The test platform.
#include "tests/support/fake_platform.h"

#include "platform/printer.h"

namespace cvx::test {

namespace {
class ScriptedPrinter : public Printer {
  public:
    ScriptedPrinter(PrinterSetup setup, std::vector<PrintedPage>& log)
        : setup_(std::move(setup)), log_(log) {}
    QString DeviceName() const override { return setup_.name; }
    int Orientation() const override { return setup_.orientation; }
    QSizeF printableArea() const override { return setup_.area; }
    QString printPage(const QImage& image, const QRectF& area) override {
        if (setup_.failure.isEmpty())
            log_.push_back({image, area});
        return setup_.failure;
    }

  private:
    PrinterSetup setup_;
    std::vector<PrintedPage>& log_;
};
} // namespace

int FakePlatform::messageBox(const QString& text, int style, const QString& title) {
    boxes.push_back({text, style, title});
    if (onBox)
        onBox(boxes.back());
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (style & 7) == 4 ? kAnswerYes : kAnswerOk;
}

void FakePlatform::endProgram(int status) {
    ended = true;
    exitStatus = status;
    throw ProgramEnded{};
}

std::unique_ptr<Printer> FakePlatform::defaultPrinter() {
    if (systemPrinter)
        return Platform::defaultPrinter();
    if (!printer)
        return nullptr;
    return std::make_unique<ScriptedPrinter>(*printer, printed);
}

} // namespace cvx::test
