// The viewer of the window tests: a volume built by the test, the test platform, and the window
// driven as a reader drives it, through its event handlers or through real key and mouse events.
#pragma once

#include "app/bookform.h"
#include "tests/support/fake_platform.h"
#include "tests/support/test_volume.h"

#include <array>
#include <memory>

namespace cvx::test {

// When the window is created and started: at once, or when the test calls start() after
// preparing the files and the platform.
enum class Start { now, later };

struct Viewer {
    // `plan` in a temporary folder, the platform on it; a start now must not end the program.
    explicit Viewer(const pack::VolumeSpec& plan = standardVolume(), Start when = Start::now);
    explicit Viewer(Start when) : Viewer(standardVolume(), when) {}
    ~Viewer();

    // Creates the window and runs Form_Load; true when the program ended.
    bool start();
    // Writes the bookmark file, creating the working folder: before a later start.
    void writeBookmark(const QByteArray& content) const;
    // Runs `handler` as one event of the window, as a click or a key would.
    void event(const std::function<void()>& handler);
    // A key code (and shift state) handed to the window's key handler as one event.
    void key(int code, int shift = 0);
    // Makes the window active and gives `widget` the keyboard focus; returns it.
    QWidget* focus(QWidget* widget);
    // A real key press and release on the focused widget, the window made active first.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Real characters typed on the focused widget, the window made active first.
    void type(const QString& text);
    // A real left click at a point of the viewing area in twips, on whatever takes it there.
    void clickAt(double left, double top);
    // Index of the hot zone that takes the mouse at a point of the viewing area, or -1.
    [[nodiscard]] int zoneAt(double left, double top) const;
    // The enabled states of the eight hot zones.
    [[nodiscard]] std::array<bool, 8> zones() const;

    // Opens book `book` at page `page` through the selectors, as a reader's picks would.
    void openAt(int book, int page);
    // Types `text` into the page selector and confirms it with the Enter picture.
    void typeNumber(const QString& text);
    // The book selector's position.
    [[nodiscard]] int book() const;
    // The page selector's text.
    [[nodiscard]] QString pageText() const;
    // True when the working image holds page `page` of book `book`, byte for byte as packed.
    [[nodiscard]] bool showing(int book, int page) const;
    // What the page image shows.
    [[nodiscard]] QImage shownImage() const;
    // Texts of the boxes shown since the last call.
    [[nodiscard]] QStringList newBoxes();
    // A JPEG of `pixels` as the window's working image, shown reduced in a 9030 x 7030 viewing
    // area.
    void showLoosePage(QSize pixels = QSize(800, 1200));

    TestVolume volume;              // the volume's folder, files and plan, and the "c:\" root
    FakePlatform platform;          // boxes, answers, the program's end, the printer
    std::unique_ptr<BookForm> form; // the window; null before a later start

  private:
    std::size_t seenBoxes_ = 0;
};

} // namespace cvx::test
