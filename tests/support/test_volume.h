// Volumes built by the tests themselves: generated JPEG pages packed with the volume writer
// into a temporary folder, with a temporary folder standing for "c:\".
#pragma once

#include "pack/volume_writer.h"
#include "tests/support/fake_platform.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

namespace cvx {
class BookForm;
}

namespace cvx::test {

// The bytes of a file, or "<missing>" when it cannot be read.
[[nodiscard]] QByteArray contentOf(const QString& path);

// Replaces a file's content; a failure fails the test.
void writeFile(const QString& path, const QByteArray& bytes);

// The image encoded as a JPEG file.
[[nodiscard]] QByteArray jpegBytes(const QImage& image, int quality = 90);

// A JPEG of `size` pixels in `colour` with `text` written large in the middle.
[[nodiscard]] QByteArray makeJpeg(QSize size, QColor colour, const QString& text = {});

// A book of `pages` generated pages of `size`, each labelled with its sequence number.
[[nodiscard]] pack::BookSpec makeBook(const QString& label, int kind, QChar side, int firstNumber,
                                      int pages, QSize size = QSize(60, 90));

// The usual test volume: three books (pages from 1 on the right, 4 pages; sheets from 1 on the
// right, 5 entries; openings from 1 on the right, 3 entries).
[[nodiscard]] pack::VolumeSpec standardVolume();

// A volume written into a temporary folder, with its own temporary "c:\" root.
class TestVolume {
  public:
    explicit TestVolume(const pack::VolumeSpec& plan = standardVolume());
    [[nodiscard]] QString folder() const { return folder_.path(); }
    [[nodiscard]] QString root() const { return root_.path() + QLatin1Char('/'); }
    [[nodiscard]] QString path(const QString& name) const;
    // The working folder's files for the volume's folder name.
    [[nodiscard]] QString bookmarkPath() const;
    [[nodiscard]] QString workImagePath() const;
    pack::VolumeSpec plan;

    // A platform pointing at this volume, with a 1280 x 1024 screen.
    void configure(FakePlatform& platform) const;

  private:
    QTemporaryDir folder_;
    QTemporaryDir root_;
};

// A started viewer on a test volume: the platform, the window, Form_Load already run.
struct StartedViewer {
    explicit StartedViewer(const pack::VolumeSpec& plan = standardVolume());
    ~StartedViewer();
    TestVolume volume;
    FakePlatform platform;
    std::unique_ptr<BookForm> form;
};

} // namespace cvx::test
