// A first manifest for the curator to correct: from a folder of scans (one book per subfolder)
// or from a IIIF manifest and a folder of its images. What was guessed is said in a report.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace cvx::pack {

struct DraftBook {
    QString label;
    int kind = 1;
    QString side = QStringLiteral("D");
    int firstNumber = 1;
    QStringList pages; // absolute paths of the scans, in reading order
    QString how;       // Italian: where the numbering comes from
};

struct Draft {
    QString title;
    QList<DraftBook> books;
    QStringList report;   // Italian lines: what was guessed or changed, for the curator
    QStringList problems; // Italian: why no manifest can be made
};

// One book per folder of `scans` holding pictures (see scan_folder.h), pages in natural order
// ("p2" before "p10"), the kind from the pictures' shape (most pages wide: two-page openings) or
// from folio file names ("001r.jpg"), the title from the folder. The report names the book of
// loose pictures and every file left out; no page at all is a problem.
[[nodiscard]] Draft draftFromFolder(const QString& scans);

// The manifest JSON of a draft, page paths relative to `manifestFolder`; the work-folder name is
// made from the title, the cover is the first page.
[[nodiscard]] QJsonObject draftManifest(const Draft& draft, const QString& manifestFolder);

// `text` made to fit a heading or label of at most `most` characters: composed (NFC), then
// Windows-1252 characters only (accents kept, others spelt without their marks or replaced by "_"),
// blanks simplified.
[[nodiscard]] QString fittedText(const QString& text, int most);

// A book label made from a folder's or a range's name: Windows-1252 characters only (accents
// kept, others spelt without their marks or replaced), no control characters, at most 49
// characters, not blank and unlike every label in `taken` (letter case ignored).
[[nodiscard]] QString fittedLabel(const QString& name, const QStringList& taken);

// A work-folder name from a title: its first words in capitals, letters and digits only, at most
// eight characters; "VOLUME" when nothing is left.
[[nodiscard]] QString workFolderFrom(const QString& title);

// The names sorted as a person reads them: numbers by value ("p2" before "p10"), case ignored.
[[nodiscard]] QStringList naturalOrder(QStringList names);

} // namespace cvx::pack
