// Hidden file and directory lists.
#include "platform/data_lists.h"

#include "platform/files.h"

#include <QDir>

namespace cvx {

void FileListBox::setPath(const QString& folder) {
    path_ = folder;
    names_ = files::matching(folder, pattern_);
}

bool DirListBox::trySetPath(const QString& folder) {
    if (!files::folderExists(folder))
        return false;
    path_ = QDir::cleanPath(QDir(folder).absolutePath());
    return true;
}

} // namespace cvx
