// The default viewer of `build`.
#include "pack/volume/default_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace cvx::pack {

// The installed viewer is found from the tool's own folder, not from a fixed path, so that an
// installation unpacked under another root uses its own viewer.
QString defaultViewerPath() {
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString beside = bin.filePath(QStringLiteral("cartavox-viewer"));
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(bin.filePath(QStringLiteral(CARTAVOX_INSTALLED_VIEWER)));
}

} // namespace cvx::pack
