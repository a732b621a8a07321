// The working folder of a build and its move into place.
#include "pack/volume/volume_destination.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cvx::pack {

namespace {
// The working folder's name carries the build's process id, so that a later build can tell the
// leftovers of a run that has ended from the folder of one still running.
const QString kWorkTag = QStringLiteral(".cartavox-build-");

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The working folders of builds into `out`: inside it, and beside it.
QList<std::pair<QString, QString>> workPatterns(const QString& out) {
    const QFileInfo info(out);
    return {{out, kWorkTag}, {info.absolutePath(), QLatin1Char('.') + info.fileName() + kWorkTag}};
}

bool running(qint64 pid) {
    return pid > 0 && pid != getpid() && (kill(pid_t(pid), 0) == 0 || errno != ESRCH);
}

int syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return errno;
    const int error = syncToDisk(fd);
    ::close(fd);
    return error;
}
} // namespace

QString destinationProblem(const QString& outDir) {
    const QFileInfo info(absolute(outDir));
    if (!QFileInfo(info.absolutePath()).isDir())
        return QStringLiteral("la cartella %1 non esiste").arg(info.absolutePath());
    if (!info.exists())
        return {};
    if (!info.isDir() ||
        !QDir(info.filePath())
             .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        return QStringLiteral("%1 esiste già e non è una cartella vuota").arg(info.filePath());
    return {};
}

QStringList removeDebris(const QString& outDir) {
    QStringList notes;
    for (const auto& [folder, prefix] : workPatterns(absolute(outDir))) {
        const QDir dir(folder);
        for (const QString& name :
             dir.entryList({prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden)) {
            bool number = false;
            const qint64 pid = name.mid(prefix.size()).toLongLong(&number);
            if (!number || running(pid))
                continue;
            const QString path = dir.filePath(name);
            if (QDir(path).removeRecursively())
                notes << QStringLiteral("rimossa la cartella %1, lasciata da una costruzione "
                                        "interrotta")
                             .arg(path);
            else
                notes << QStringLiteral("la cartella %1, lasciata da una costruzione interrotta, "
                                        "non si può rimuovere")
                             .arg(path);
        }
    }
    return notes;
}

QString failureReason(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("il disco è pieno");
    case EDQUOT:
        return QStringLiteral("lo spazio concesso sul disco è esaurito");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case EROFS:
        return QStringLiteral("il disco è di sola lettura");
    case EFBIG:
        return QStringLiteral("il file supera la dimensione massima concessa");
    case EIO:
        return QStringLiteral("errore di lettura o scrittura del disco");
    case EXDEV:
        return QStringLiteral("le cartelle sono su dischi diversi");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

mode_t createdMode(bool executable) {
    const mode_t mask = umask(0);
    umask(mask);
    return (executable ? 0777 : 0666) & ~mask;
}

int syncToDisk(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

BuildFolder::BuildFolder(const QString& outDir) : out_(absolute(outDir)) {
    inside_ = QFileInfo(out_).isDir();
    existing_ = inside_ ? out_ : QFileInfo(out_).absolutePath();
    const auto [folder, prefix] = workPatterns(out_)[inside_ ? 0 : 1];
    work_ = QDir(folder).filePath(prefix + QString::number(getpid()));
    // mkdir gives the folder the umask's mode (0755 as a rule), where a temporary folder would
    // be 0700 and keep other users out of the volume.
    if (::mkdir(QFile::encodeName(work_).constData(), 0777) != 0) {
        problem_ = cannotWrite(QFileInfo(out_).fileName(), errno);
        work_.clear();
    }
}

BuildFolder::~BuildFolder() {
    if (!placed_ && !work_.isEmpty())
        QDir(work_).removeRecursively();
}

QString BuildFolder::cannotWrite(const QString& file, int error) const {
    return QStringLiteral("impossibile scrivere %1 in %2: %3")
        .arg(file, existing_, failureReason(error));
}

QString BuildFolder::place() {
    if (const int error = syncFolder(work_); error != 0)
        return cannotWrite(QFileInfo(out_).fileName(), error);
    const QByteArray work = QFile::encodeName(work_);
    const QByteArray out = QFile::encodeName(out_);
    if (!inside_) {
        if (::rename(work.constData(), out.constData()) != 0)
            return cannotWrite(QFileInfo(out_).fileName(), errno);
    } else {
        // Into the existing folder (a mount point, a folder of the user's own modes): file by
        // file on the same disk, then the empty working folder removed.
        const QStringList names = QDir(work_).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString& name : names) {
            const QByteArray to = QFile::encodeName(QDir(out_).filePath(name));
            if (::rename(QFile::encodeName(QDir(work_).filePath(name)).constData(),
                         to.constData()) != 0) {
                const QString problem = cannotWrite(name, errno);
                for (const QString& moved : names)
                    QFile::remove(QDir(out_).filePath(moved));
                return problem;
            }
        }
        ::rmdir(work.constData());
    }
    placed_ = true;
    if (const int error = syncFolder(inside_ ? out_ : existing_); error != 0)
        return cannotWrite(QFileInfo(out_).fileName(), error);
    return {};
}

} // namespace cvx::pack
