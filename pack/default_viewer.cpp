// The default viewer of `build`.
#include "pack/default_viewer.h"

#include <QCoreApplication>
#include <QDir>

namespace cvx::pack {

QString defaultViewerPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("cartavox"));
}

} // namespace cvx::pack
