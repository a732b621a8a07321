// The proof sheet: one self-contained HTML file in Italian that shows a volume as the reader will
// meet it (the title block, then each book as a grid of thumbnails with the labels the viewer
// shows), with the findings of the checks marked where they belong, for the curator to compare
// the labels with the folios printed on the scans.
#pragma once

#include "pack/checks/book_checks.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace cvx::pack {

struct ProofPage {
    QString label;    // as the page selector lists it
    QString source;   // the scan's file, or the entry's slot
    QImage thumbnail; // null when the picture cannot be decoded
};

struct ProofBook {
    QString label;
    QString archive;
    int kind = 1;
    QString side;
    int firstNumber = 1;
    QList<ProofPage> pages;
};

struct ProofSheet {
    QString title, secondLine, publisher, place, year; // as stored: final NUL and CR kept
    QString source; // the volume folder or manifest the sheet was made from
    QList<ProofBook> books;
    QList<Finding> findings;
};

// The whole HTML file, thumbnails inline as JPEG.
[[nodiscard]] QByteArray proofHtml(const ProofSheet& sheet);

// "pagine, la prima a destra, dal numero 1" and the like; the kind alone for unknown sides.
[[nodiscard]] QString numberingText(int kind, const QString& side, int firstNumber);

// The thumbnail box of the proof sheet, in pixels.
inline constexpr int kThumbnailBox = 240;

} // namespace cvx::pack
