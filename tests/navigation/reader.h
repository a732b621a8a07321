// A started viewer on a test volume, driven as a reader drives it: keys through the window's
// key preview and clicks on whatever zone lies under a point of the viewing area.
#pragma once

#include "app/bookform.h"
#include "tests/support/test_volume.h"

#include <memory>

namespace cvx::test {

// No printer: printing says so instead of reaching the machine's own default printer.
class NoPrinterPlatform : public FakePlatform {
  public:
    [[nodiscard]] std::unique_ptr<Printer> defaultPrinter() override;
};

struct Reader {
    explicit Reader(const pack::VolumeSpec& plan = standardVolume());
    ~Reader();

    // Opens book `book` at page `page` through the selectors, as a reader's picks would.
    void openAt(int book, int page);
    // One key press handed to the window's key handler as one event.
    void key(int code);
    // A left click at a point of the viewing area, in twips.
    void clickAt(double left, double top);
    // Index of the zone that takes the mouse at a point of the viewing area, or -1.
    [[nodiscard]] int zoneAt(double left, double top) const;

    [[nodiscard]] int book() const { return form->Combo2->ListIndex(); }
    [[nodiscard]] QString pageText() const { return form->Combo1->Text(); }
    // True when the working image holds page `page` of book `book`.
    [[nodiscard]] bool showing(int book, int page) const;
    // Texts of the boxes shown since the last call.
    [[nodiscard]] QStringList newBoxes();

    TestVolume volume;
    NoPrinterPlatform platform;
    std::unique_ptr<BookForm> form;

  private:
    std::size_t seenBoxes_ = 0;
};

// A volume whose pages are large enough to be magnified beyond the viewing area.
[[nodiscard]] pack::VolumeSpec largePageVolume();

} // namespace cvx::test
