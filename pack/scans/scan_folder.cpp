// Walking a folder of scans into books and files left out.
#include "pack/scans/scan_folder.h"

#include "pack/manifest/folio_pattern.h"
#include "pack/manifest/manifest_draft.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <map>

namespace cvx::pack {

bool scanFileName(const QString& name) {
    static const QStringList suffixes = {"jpg", "jpeg", "png", "tif", "tiff", "jp2", "j2k"};
    return suffixes.contains(QFileInfo(name).suffix().toLower());
}

namespace {
// A name as a person types it: a decomposed "a" and grave accent read as "à".
QString composed(const QString& name) {
    return name.normalized(QString::NormalizationForm_C);
}

// Why a file that is no scan was left out.
QString reasonFor(const QFileInfo& file) {
    static const QStringList pictures = {"gif",  "bmp",  "webp", "jpx", "jpf", "jpm",
                                         "heic", "heif", "avif", "psd", "dng", "cr2",
                                         "nef",  "arw",  "raw",  "svg", "ico", "tga"};
    if (!file.isFile())
        return QStringLiteral("non sono file ordinari");
    if (pictures.contains(file.suffix().toLower()) ||
        !QImageReader::imageFormat(file.absoluteFilePath()).isEmpty())
        return QStringLiteral("formato non ammesso (solo JPEG, PNG, TIFF o JPEG 2000)");
    return QStringLiteral("non sono immagini");
}

int filesUnder(const QString& folder) {
    int count = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    for (; it.hasNext(); it.next())
        ++count;
    return count;
}

// The entries (name, path) in the reading order of their names, for `folios` folio order first.
QList<std::pair<QString, QString>> inReadingOrder(QList<std::pair<QString, QString>> pictures,
                                                  bool folios) {
    QStringList names;
    for (const auto& picture : pictures)
        names << picture.first;
    names = naturalOrder(names);
    QList<std::pair<QString, QString>> ordered;
    for (const QString& name : folios ? inFolioOrder(names) : names) {
        const auto it = std::find_if(pictures.begin(), pictures.end(),
                                     [&](const auto& picture) { return picture.first == name; });
        ordered << *it;
        pictures.erase(it);
    }
    return ordered;
}

class Walker {
  public:
    explicit Walker(QString rootName) : rootName_(std::move(rootName)) {}

    // The books of `path`, whose folder names below the root are `names`, in reading order.
    QList<ScanBook> walk(const QString& path, const QStringList& names);

    QStringList leftOut;

  private:
    // Whether the folder `name` in the folder shown as `shown` is walked; named when it is not.
    bool takesFolder(const QFileInfo& entry, const QString& name, const QString& shown, int depth);

    QString rootName_;
};

bool Walker::takesFolder(const QFileInfo& entry, const QString& name, const QString& shown,
                         int depth) {
    const QString path = shown + QLatin1Char('/') + name;
    if (entry.isSymLink()) {
        leftOut << QStringLiteral("%1: collegamento a una cartella, non seguito").arg(path);
        return false;
    }
    QString reason;
    if (name.startsWith(QLatin1Char('.')))
        reason = QStringLiteral("cartella nascosta");
    else if (depth >= kBookFolderDepth)
        reason = QStringLiteral("cartella annidata oltre %1 livelli").arg(kBookFolderDepth);
    if (reason.isEmpty())
        return true;
    if (const int files = filesUnder(entry.absoluteFilePath()); files > 0)
        leftOut << QStringLiteral("%1: %2, non presa (%3 file)")
                       .arg(path, reason, QString::number(files));
    return false;
}

QList<ScanBook> Walker::walk(const QString& path, const QStringList& names) {
    const QString shown = (QStringList{rootName_} + names).join(QLatin1Char('/'));
    const QDir dir(path);
    if (!dir.isReadable()) {
        leftOut << QStringLiteral("%1: cartella non leggibile").arg(shown);
        return {};
    }
    QList<std::pair<QString, QString>> pictures; // name, path
    QList<std::pair<QString, QString>> folders;
    std::map<QString, QStringList> skipped; // reason -> names
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString name = composed(entry.fileName());
        if (entry.isDir()) {
            if (takesFolder(entry, name, shown, static_cast<int>(names.size())))
                folders.append({name, entry.filePath()});
        } else if (name.startsWith(QLatin1Char('.'))) {
            skipped[QStringLiteral("file nascosti")] << name;
        } else if (entry.isFile() && scanFileName(name)) {
            pictures.append({name, entry.filePath()});
        } else {
            skipped[reasonFor(entry)] << name;
        }
    }
    for (const auto& [reason, files] : skipped)
        leftOut << QStringLiteral("%1: %2 file non presi, %3: %4")
                       .arg(shown, QString::number(files.size()), reason,
                            naturalOrder(files).join(QStringLiteral(", ")));
    QList<ScanBook> inner;
    for (const auto& [name, folder] : inReadingOrder(folders, false))
        inner << walk(folder, names + QStringList{name});
    if (pictures.isEmpty())
        return inner;
    ScanBook book{names.join(QStringLiteral(", ")), path, {}, !inner.isEmpty()};
    for (const auto& picture : inReadingOrder(pictures, true))
        book.files << picture.second;
    if (book.loose && pictures.size() == 1) // a frontispiece beside the volumes: its own name
        book.name = (names + QStringList{QFileInfo(pictures[0].first).completeBaseName()})
                        .join(QStringLiteral(", "));
    if (book.name.isEmpty())
        book.name = rootName_;
    return QList<ScanBook>{book} + inner;
}
} // namespace

ScanTree scanTree(const QString& scans) {
    Walker walker(composed(QFileInfo(QDir::cleanPath(QDir(scans).absolutePath())).fileName()));
    ScanTree tree;
    tree.books = walker.walk(scans, {});
    tree.leftOut = walker.leftOut;
    return tree;
}

} // namespace cvx::pack
