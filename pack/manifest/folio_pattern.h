// Reading a book's numbering from the labels of its pages, as a IIIF manifest's canvases or a
// folder's file names carry them ("1r, 1v, 2r", "p. 5", "0003", "xii"): the kind, the side of the
// first page and the first number whose labels best match them, and the labels that do not fit.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace cvx::pack {

struct Folio {
    int number = 0;
    QChar side;         // 'r', 'v', 's' or 'd' after the number; null when none
    bool roman = false; // a preliminary page numbered in Roman figures ("xii")
};

// A folio label: a number of up to four digits, optionally after a usual abbreviation ("p.",
// "Page", "pages", "f.", "fol.", "c.", "cc.") and before a side letter, or a pair of facing pages
// ("2-3", "1–2", "2v, 3r", "cc. 2v-3r": the first kept), an older numbering in brackets after
// it ignored ("2r (31r)"); or a Roman number up to 399 ("xiv", "p. iv"). nullopt for anything
// else.
[[nodiscard]] std::optional<Folio> parseFolio(const QString& label);

// `names` (file names in natural order) put in reading order when every base name is a folio
// with a side: recto before verso, left before right ("002s" before "002d"); else unchanged.
[[nodiscard]] QStringList inFolioOrder(const QStringList& names);

struct Numbering {
    int kind = 1; // 0 sheets, 1 pages, 2 openings
    QString side = QStringLiteral("D");
    int firstNumber = 1;
    bool fromLabels = false;   // false when no label was a folio: the defaults stand
    QStringList unfit;         // "12v (pagina 5)": labels that fit no pattern or not this numbering
    std::optional<int> needed; // the first number the labels ask for, when the viewer refuses it
};

// The numbering of a book whose pages carry `labels` in reading order. Labels with a side letter
// make sheets; otherwise `openings` (the pictures are wide, or the source says so) makes two-page
// openings and anything else pages. The first folio label fixes the numbering (for openings the
// first number the viewer's lookup agrees with is preferred); every label is then compared with
// the label the viewer would show at its place.
[[nodiscard]] Numbering numberingFromLabels(const QStringList& labels, bool openings);

} // namespace cvx::pack
