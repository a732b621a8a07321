// File access: one open, one read or write, one close per call.
#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace cvx::files {

namespace {
Status openFailure(const QString& path) {
    return QFileInfo::exists(path) ? Status::Failed : Status::NotFound;
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

Outcome makeEmpty(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {openFailure(path) == Status::NotFound ? Status::NotFound : Status::Failed,
                describe(Status::Failed, path)};
    return {};
}

Outcome writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {Status::Failed, describe(Status::Failed, path)};
    if (f.write(bytes) != bytes.size() || !f.flush())
        return {Status::Failed, QStringLiteral("Errore di scrittura del file: %1").arg(path)};
    return {};
}

Outcome replaceAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    // commit() overlooks a failure of its own final flush (a full disk, a file-size limit) and
    // would put a cut file in place: flush first. An uncommitted file is thrown away.
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush() ||
        !f.commit())
        return {Status::Failed, QStringLiteral("Errore di scrittura del file: %1").arg(path)};
    return {};
}

Outcome rewriteInPlace(const QString& path, const QByteArray& bytes,
                       const std::optional<QByteArray>& previous) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return {Status::Failed, describe(Status::Failed, path)};
    const QByteArray old = previous ? *previous : f.readAll();
    if (f.seek(0) && f.write(bytes) == bytes.size() && f.flush() && f.resize(bytes.size()))
        return {};
    if (!f.seek(0) || f.write(old) != old.size() || !f.flush() || !f.resize(old.size()))
        (void)replaceAtomically(path, old);
    return {Status::Failed, QStringLiteral("Errore di scrittura del file: %1").arg(path)};
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
