// Viewers on volumes built by the tests, started after the test has prepared the bookmark or
// damaged an archive, and small tools to read and change the files they use.
#pragma once

#include "app/bookform.h"
#include "tests/support/test_volume.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>

namespace cvx::test {

// A viewer whose start is left to the test.
struct Viewer {
    explicit Viewer(const pack::VolumeSpec& plan = standardVolume());
    // Writes the bookmark file (creating the working folder) before the start.
    void writeBookmark(const QByteArray& content);
    // Runs Form_Load; true when the program ended.
    bool start();
    // Runs `handler` as one event of the window, as a click or a key would.
    void event(const std::function<void()>& handler);
    // The message boxes shown so far, as text.
    [[nodiscard]] QStringList boxTexts() const;

    TestVolume volume;
    FakePlatform platform;
    std::unique_ptr<BookForm> form;
};

// Bytes that are no picture, long enough to be stored as an entry.
[[nodiscard]] QByteArray notAPicture(int size = 9000);

// The 22 characters of directory slot i of an archive, and overwriting them.
[[nodiscard]] QByteArray slotText(const QString& archivePath, int i);
void setSlotText(const QString& archivePath, int i, const QByteArray& text);

// What the page image shows now.
[[nodiscard]] QImage shownPage(const BookForm& form);

} // namespace cvx::test
