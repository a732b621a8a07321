// A IIIF manifest's ranges (its "structures") made into books that keep the canvases' sequence:
// every canvas in exactly one book, in sequence order, whatever the ranges repeat or leave out.
#pragma once

#include <QJsonArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace cvx::pack {

// A run of consecutive canvases of the sequence that becomes one book.
struct IiifSpan {
    QString label;        // the range's label
    bool inRange = false; // false for canvases that no range holds
    QString numbering;    // the range's "Numerazione" metadata when it is ours
    int first = 0;        // index of its first canvas in the sequence
    int count = 0;
};

struct IiifBooks {
    QList<IiifSpan> spans; // in sequence order, covering every canvas once
    QStringList report;    // Italian: ranges split, repeated or pointing outside the sequence
};

// The books of a sequence of canvases whose ids are `canvasIds` (in order, repeats allowed) under
// `structures` (either version), labels in `lang` as iiifText picks them. The top ranges are those
// hinted "top" or held by no other range; a single top range holding ranges (a table of contents, a
// bound set of volumes) gives way to the ranges inside it. A canvas belongs to the first top range
// that holds it, itself or through ranges inside it, as a canvas, a part of one ("#xywh=", "#t=")
// or a SpecificResource. Canvases that no top range holds make books of their own, with an empty
// label.
[[nodiscard]] IiifBooks iiifBooks(const QJsonArray& structures, const QStringList& canvasIds,
                                  const QString& lang);

// Whether a IIIF resource carries `hint` as its "behavior" or "viewingHint".
[[nodiscard]] bool iiifHint(const QJsonObject& resource, const QString& hint);

// A IIIF label (string, language map, list of {"@value", "@language"}) in the language first
// found of: `lang`, Italian, English, none given; else the first one; composed (NFC).
[[nodiscard]] QString iiifText(const QJsonValue& value, const QString& lang);

// The "id" or "@id" of a IIIF resource, or the string itself.
[[nodiscard]] QString iiifId(const QJsonValue& value);

} // namespace cvx::pack
