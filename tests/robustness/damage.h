// Tools for the tests of damaged volumes, files and folders: changing the bytes of a packed
// volume in place, a file-size limit that makes writes fail as on a full disk, and taking the
// process's right to ignore file permissions away, so that read-only files stay read-only even
// for root.
#pragma once

#include "tests/archive/archive_fixtures.h"

#include <QByteArray>
#include <QString>
#include <ostream>
#include <sys/resource.h>

// Texts in test failures, readable (found by argument lookup for Qt's global types).
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace cvx::test {

// Overwrites bytes of a file from 1-based `position` on.
void patchFile(const QString& path, qint64 position, const QByteArray& bytes);

// Cuts a file to `length` bytes.
void cutFile(const QString& path, qint64 length);

// 1-based positions in a volume's "Cartavox.exe": the base digits and the start of slot k.
[[nodiscard]] qint64 baseDigitsPosition(const TestVolume& volume);
[[nodiscard]] qint64 slotPosition(const TestVolume& volume, int k);

// A JPEG (baseline or progressive) whose header claims width x height pixels, with the data of
// a tiny picture.
[[nodiscard]] QByteArray claimingSize(int width, int height, bool progressive);

// A string record head claiming `length` characters: type 8, then the length.
[[nodiscard]] QByteArray recordHead(int length);

// The content of a bookmark a reader saved before the damage: book 1, page 2.
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

// Sets the permission bits of a file or folder (0555 for read-only, 0 for unreadable).
void setMode(const QString& path, unsigned mode);

// Names of the files in a folder, sorted.
[[nodiscard]] QStringList filesIn(const QString& folder);

} // namespace cvx::test
