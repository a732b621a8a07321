// The checks of a volume's structure before it goes out: pictures that cannot be read, turned by
// their EXIF orientation, of another size or shape than their book's, doubled, missing from a
// numbered sequence of files, or reached by no typed number. Pure rules over the facts of each
// page; `check`, `build` and `proof` all use them.
#pragma once

#include "pack/scans/scan_facts.h"

#include <QList>
#include <QString>

namespace cvx::pack {

struct CheckedPage {
    QString title; // "libro 1 (dv00001.ex_, "..."), pagina 3 (0003, b1/c.jpg)"
    QString file;  // the scan's path as the manifest gives it; empty for a volume's entry
    ScanFacts facts;
    QString path; // the scan's absolute path, whose folder is searched for scans left out
};

struct CheckedBook {
    QString title; // "libro 1 (dv00001.ex_, "...")"
    int kind = 1;
    QString side;
    int firstNumber = 1;
    QList<CheckedPage> pages;
};

enum class Severity { Note, Warning, Error };

struct Finding {
    Severity severity = Severity::Warning;
    int book = -1;      // 0-based; -1 for the whole volume
    int firstPage = -1; // 0-based page range the finding concerns; -1 for the whole book
    int lastPage = -1;
    QString text; // Italian, naming book, page and file
};

struct CheckScope {
    bool pageErrors = true;  // a page's own problem (the build reports those as it reads)
    bool orientation = true; // EXIF orientations to apply (the build applies them)
    bool progressive = true; // progressive scans, scans without restart markers at their MCU
                             // rows, and what --optimize would gain
    bool fileNames = true;   // gaps in numbered file names
};

// Every finding over the books, in order: the volume's, then book by book.
[[nodiscard]] QList<Finding> checkBooks(const QList<CheckedBook>& books, const CheckScope& scope);

// "errore", "avviso", "nota".
[[nodiscard]] QString severityName(Severity severity);

// The exit status of `check`: 2 with an error, 1 with a warning, otherwise 0.
[[nodiscard]] int checkStatus(const QList<Finding>& findings);

} // namespace cvx::pack
