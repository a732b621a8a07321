// File access: one open, one read or write, one close per call.
#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cstdio>
#include <unistd.h>

namespace cvx::files {

namespace {
Status openFailure(const QString& path) {
    return QFileInfo::exists(path) ? Status::Failed : Status::NotFound;
}

Outcome writeFailure(const QString& path) {
    return {Status::Failed, QStringLiteral("Errore di scrittura del file: %1").arg(path)};
}

// A symbolic link where the viewer writes a file of its own is removed first, so the write makes
// that file in its place instead of going through the link into whatever the link names. False
// when a link is there and cannot be removed.
bool linkRemoved(const QString& path) {
    return !QFileInfo(path).isSymLink() || QFile::remove(path);
}
} // namespace

QString describe(Status status, const QString& path) {
    switch (status) {
    case Status::Ok:
        return {};
    case Status::NotFound:
        return QStringLiteral("File non trovato: %1").arg(path);
    case Status::Failed:
        break;
    }
    return QStringLiteral("Impossibile accedere al file: %1").arg(path);
}

Read readAt(const QString& path, qint64 position, qint64 count) {
    Read r;
    QFile f(path);
    // Unbuffered: a page is read in one call straight into its array, not through a buffer.
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        r.status = QFileInfo(path).isDir() ? Status::Failed : openFailure(path);
        r.description = describe(r.status, path);
        return r;
    }
    if (position < 1 || count < 0) {
        r.status = Status::Failed;
        r.description = QStringLiteral("Posizione non valida nel file: %1").arg(path);
        return r;
    }
    if (position - 1 < f.size() && f.seek(position - 1)) {
        const qint64 wanted = std::min(count, f.size() - (position - 1));
        r.data = f.read(wanted);
        if (r.data.size() != wanted) {
            r.status = Status::Failed;
            r.description = QStringLiteral("Errore di lettura del file: %1").arg(path);
        }
    }
    return r;
}

Read readAll(const QString& path) {
    const Length len = lengthOf(path);
    if (len.status != Status::Ok)
        return {len.status, {}, len.description};
    return readAt(path, 1, len.length);
}

Length lengthOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {Status::NotFound, 0, describe(Status::NotFound, path)};
    if (!info.isFile())
        return {Status::Failed, 0, describe(Status::Failed, path)};
    return {Status::Ok, info.size(), {}};
}

Read readSmallFile(const QString& path, qint64 maxBytes) {
    const Length length = lengthOf(path);
    if (length.status != Status::Ok || length.length > maxBytes)
        return {length.status == Status::NotFound ? Status::NotFound : Status::Failed,
                {},
                describe(Status::Failed, path)};
    return readAll(path);
}

Outcome makeEmpty(const QString& path) {
    QFile f(path);
    if (!linkRemoved(path) || !f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {openFailure(path) == Status::NotFound ? Status::NotFound : Status::Failed,
                describe(Status::Failed, path)};
    return {};
}

Outcome writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {Status::Failed, describe(Status::Failed, path)};
    if (f.write(bytes) != bytes.size() || !f.flush())
        return writeFailure(path);
    return {};
}

Outcome replaceAtomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo old(path);
    const bool ownFile = old.isFile() && !old.isSymLink();
    QTemporaryFile temp(path + QStringLiteral(".XXXXXX")); // beside the file, on its disk
    if (!temp.open()) {
        // A folder that takes no new file (read-only): a file of our own that can be written
        // is emptied and written where it lies.
        return ownFile ? writeAll(path, bytes) : writeFailure(path);
    }
    // On the disk before it is put in place; the rename replaces a link itself, not its target.
    if (temp.write(bytes) != bytes.size() || !temp.flush() || ::fsync(temp.handle()) != 0 ||
        (ownFile && !temp.setPermissions(old.permissions())) ||
        std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        return writeFailure(path); // the temporary file is removed
    temp.setAutoRemove(false);
    return {};
}

Outcome rewriteInPlace(const QString& path, const QByteArray& bytes,
                       const std::optional<QByteArray>& previous) {
    QFile f(path);
    if (!linkRemoved(path) || !f.open(QIODevice::ReadWrite))
        return {Status::Failed, describe(Status::Failed, path)};
    const QByteArray old = previous ? *previous : f.readAll();
    if (f.seek(0) && f.write(bytes) == bytes.size() && f.flush() && f.resize(bytes.size()))
        return {};
    if (!f.seek(0) || f.write(old) != old.size() || !f.flush() || !f.resize(old.size()))
        (void)replaceAtomically(path, old);
    return writeFailure(path);
}

Outcome makeFolder(const QString& path) {
    if (QDir().mkdir(path))
        return {};
    return {Status::Failed, QStringLiteral("Impossibile creare la cartella: %1").arg(path)};
}

bool folderExists(const QString& path) {
    return QFileInfo(path).isDir();
}

QStringList matching(const QString& folder, const QString& pattern) {
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& info : entries)
        if (re.match(info.fileName()).hasMatch())
            names << info.fileName();
    names.sort(Qt::CaseInsensitive);
    return names;
}

} // namespace cvx::files
