// File access as the viewer uses it: every call opens the file, does one read or write and
// closes it again, and tells a missing file from other failures. The calls that write the
// working folder's files never write through a symbolic link: they put a file in its place.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace cvx::files {

enum class Status { Ok, NotFound, Failed };

struct Read {
    Status status = Status::Ok;
    QByteArray data; // the bytes read; fewer than asked past the end of the file
    QString description;
};

struct Length {
    Status status = Status::Ok;
    qint64 length = 0;
    QString description;
};

struct Outcome {
    Status status = Status::Ok;
    QString description;
    [[nodiscard]] bool ok() const { return status == Status::Ok; }
};

// Reads up to `count` bytes at 1-based position `position` of the file at `path`.
[[nodiscard]] Read readAt(const QString& path, qint64 position, qint64 count);

// Reads the whole file.
[[nodiscard]] Read readAll(const QString& path);

// The whole of the regular file at `path` when it holds at most `maxBytes`; Failed for a larger
// one and for anything but a regular file (a pipe is never opened, so nothing waits on it).
[[nodiscard]] Read readSmallFile(const QString& path, qint64 maxBytes);

// Length of a regular file.
[[nodiscard]] Length lengthOf(const QString& path);

// Creates the file, or empties an existing one (open for output and close); a link is replaced
// by an empty file.
[[nodiscard]] Outcome makeEmpty(const QString& path);

// Replaces the file's content with `bytes`: empties it, then writes from position 1.
[[nodiscard]] Outcome writeAll(const QString& path, const QByteArray& bytes);

// Replaces the file's content so that it holds either the old or the new content, never
// a mixture or nothing, even if the write fails half way: a new file synced and renamed over it
// (over a link, not its target). In a folder where no new file can be made, an existing file
// is emptied and written where it lies (writeAll), without that guarantee.
[[nodiscard]] Outcome replaceAtomically(const QString& path, const QByteArray& bytes);

// Replaces the file's content by writing over it where it lies, which reuses its disk space and
// is many times faster than writing a new file; if the write fails, the old content is written
// back: `previous` when the caller knows it (the file is then not read first), otherwise what
// the file held. For a scratch file rewritten often (a crash in the middle may leave it mixed).
// A link is replaced by a file.
[[nodiscard]] Outcome rewriteInPlace(const QString& path, const QByteArray& bytes,
                                     const std::optional<QByteArray>& previous = std::nullopt);

// Creates one folder level.
[[nodiscard]] Outcome makeFolder(const QString& path);

[[nodiscard]] bool folderExists(const QString& path);

// Names of the regular files in `folder` matching the wildcard `pattern` ('?' one character,
// '*' any), sorted by name; the match ignores letter case, as the volumes' home system does.
[[nodiscard]] QStringList matching(const QString& folder, const QString& pattern);

// Short Italian description of a failed access, naming the file.
[[nodiscard]] QString describe(Status status, const QString& path);

} // namespace cvx::files
