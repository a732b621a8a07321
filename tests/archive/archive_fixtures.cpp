// Viewers and files for the archive and page tests.
#include "tests/archive/archive_fixtures.h"

#include "archive/archive_layout.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace cvx::test {

Viewer::Viewer(const pack::VolumeSpec& plan) : volume(plan) {
    volume.configure(platform);
}

void Viewer::writeBookmark(const QByteArray& content) {
    EXPECT_TRUE(QDir().mkpath(volume.root() + volume.plan.workFolderName));
    writeFile(volume.bookmarkPath(), content);
}

bool Viewer::start() {
    form = std::make_unique<BookForm>(platform);
    try {
        form->Form_Load();
    } catch (const ProgramEnded&) {
        return true;
    }
    return false;
}

void Viewer::event(const std::function<void()>& handler) {
    form->handleEvent(handler);
}

QStringList Viewer::boxTexts() const {
    QStringList texts;
    for (const ShownBox& box : platform.boxes)
        texts << box.text;
    return texts;
}

QByteArray notAPicture(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + 17) % 251);
    return bytes;
}

QByteArray slotText(const QString& archivePath, int i) {
    QFile f(archivePath);
    if (!f.open(QIODevice::ReadOnly) || !f.seek(archive::slotTextPosition(i) - 1))
        return {};
    return f.read(archive::kSlotTextLength);
}

void setSlotText(const QString& archivePath, int i, const QByteArray& text) {
    QFile f(archivePath);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(archive::slotTextPosition(i) - 1));
    ASSERT_EQ(f.write(text.leftJustified(archive::kSlotTextLength, ' ', true)),
              archive::kSlotTextLength);
}

QImage shownPage(const BookForm& form) {
    return form.Image1->shownImage();
}

} // namespace cvx::test
