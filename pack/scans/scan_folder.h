// The files under a folder of scans, as init takes them: every picture of a supported format is a
// page of a book, every other file is named with the reason it was left out.
#pragma once

#include <QString>
#include <QStringList>

namespace cvx::pack {

inline constexpr int kBookFolderDepth = 2; // "Opera/Tomo I" below the folder of scans

struct ScanBook {
    QString name;       // from the folder names below the scans' folder, NFC ("Opera, Tomo I")
    QString folder;     // the folder's path as on disk
    QStringList files;  // the scans' paths as on disk, in reading order
    bool loose = false; // pictures lying beside the folders of other books
};

struct ScanTree {
    QList<ScanBook> books; // depth first: a folder's own pictures, then its subfolders in order
    QStringList leftOut;   // Italian report lines naming every file not taken, with the reason
};

// Walks `scans` (which must exist): a folder holding pictures is a book, down to
// kBookFolderDepth levels; pictures beside book folders form a book of their own, placed before
// them. Hidden files and folders, other formats, files that are no pictures and folders nested
// deeper are left out and named. Names are read in Unicode's composed form (NFC), as a person
// types them; the paths stay as on disk.
[[nodiscard]] ScanTree scanTree(const QString& scans);

// True for the file names taken as scans: .jpg, .jpeg, .png, .tif, .tiff, .jp2, .j2k in any case.
[[nodiscard]] bool scanFileName(const QString& name);

} // namespace cvx::pack
