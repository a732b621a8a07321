// Volumes built by the tests themselves (generated JPEG pages packed with the volume writer into
// a temporary folder, with a temporary folder standing for "c:\"), and tools to read, damage and
// refuse the files the viewer and the packing tool use.
#pragma once

#include "pack/volume/volume_writer.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <ostream>
#include <sys/resource.h>

// Texts in test failures, readable (found by argument lookup for Qt's global types).
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace cvx::test {

// The bytes of a file, or "<missing>" when it cannot be read.
[[nodiscard]] QByteArray contentOf(const QString& path);
// Replaces a file's content; a failure fails the test.
void writeFile(const QString& path, const QByteArray& bytes);
// Overwrites bytes of a file from 1-based `position` on.
void patchFile(const QString& path, qint64 position, const QByteArray& bytes);
// Cuts a file to `length` bytes.
void cutFile(const QString& path, qint64 length);
// Names of the files and folders in a folder, sorted.
[[nodiscard]] QStringList filesIn(const QString& folder);
// Sets the permission bits of a file or folder (0555 for read-only, 0 for unreadable).
void setMode(const QString& path, unsigned mode);

// The image encoded as a JPEG file.
[[nodiscard]] QByteArray jpegBytes(const QImage& image, int quality = 90);
// A JPEG of `size` pixels in `colour` with `text` written large in the middle.
[[nodiscard]] QByteArray makeJpeg(QSize size, QColor colour, const QString& text = {});
// Bytes that are no picture, long enough to be stored as an entry.
[[nodiscard]] QByteArray notAPicture(int size = 9000);
// A JPEG (baseline or progressive) whose header claims width x height pixels, with the data of a
// tiny picture.
[[nodiscard]] QByteArray claimingSize(int width, int height, bool progressive);
// `jpeg` with an EXIF segment right after its start whose orientation tag is `orientation`
// (Qt's writer turns the pixels instead of writing the tag).
[[nodiscard]] QByteArray withOrientation(const QByteArray& jpeg, int orientation);
// The mean difference per channel, 0 to 255, between two pictures of the same size.
[[nodiscard]] double meanDifference(const QImage& a, const QImage& b);

// A book of `pages` generated pages of `size`, each labelled with its sequence number.
[[nodiscard]] pack::BookSpec makeBook(const QString& label, int kind, QChar side, int firstNumber,
                                      int pages, QSize size = QSize(60, 90));
// The usual test volume: three books (pages from 1 on the right, 4 pages; sheets from 1 on the
// right, 5 entries: 001d 002s 002d 003s 003d; openings from 1 on the right, 3 entries: 0003 0005
// 0007).
[[nodiscard]] pack::VolumeSpec standardVolume();
// Two books of pages 1600 x 2400 pixels (3 and 2 pages, numbered from 1 on the right): large
// enough to be magnified beyond the viewing area.
[[nodiscard]] pack::VolumeSpec largePageVolume();

// A volume written into a temporary folder, with its own temporary "c:\" root.
class TestVolume {
  public:
    explicit TestVolume(const pack::VolumeSpec& plan = standardVolume());
    [[nodiscard]] QString folder() const { return folder_.path(); }
    [[nodiscard]] QString root() const { return root_.path() + QLatin1Char('/'); }
    [[nodiscard]] QString path(const QString& name) const;
    // The working folder and its files.
    [[nodiscard]] QString workFolder() const;
    [[nodiscard]] QString bookmarkPath() const;
    [[nodiscard]] QString workImagePath() const;
    pack::VolumeSpec plan;

  private:
    QTemporaryDir folder_;
    QTemporaryDir root_;
};

// Overwrites the text of directory slot `slot` of an archive from 1-based `column` on (columns
// 1-5 the entry's name, 6-15 its position, 16-22 its length).
void patchSlot(const QString& archivePath, int slot, int column, const QByteArray& text);

// The content of a bookmark a reader saved before some damage: book 1, page 2.
inline const QByteArray kSavedPlace = " 1\r\n 2\r\n";

// Writes of regular files beyond `bytes` fail while it lives, as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

// While it lives, this thread obeys file permissions even when it runs as root.
class FilePermissionsObeyed {
  public:
    FilePermissionsObeyed();
    ~FilePermissionsObeyed();
    FilePermissionsObeyed(const FilePermissionsObeyed&) = delete;
    FilePermissionsObeyed& operator=(const FilePermissionsObeyed&) = delete;

  private:
    unsigned saved_[2] = {0, 0};
};

} // namespace cvx::test
