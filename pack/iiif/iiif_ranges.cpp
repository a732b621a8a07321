// IIIF ranges made into books that keep the sequence of canvases.
#include "pack/iiif/iiif_ranges.h"

#include <QHash>
#include <QJsonObject>
#include <QSet>

namespace cvx::pack {

QString iiifId(const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    const QJsonObject o = value.toObject();
    return o.contains(QLatin1String("id")) ? o.value(QLatin1String("id")).toString()
                                           : o.value(QLatin1String("@id")).toString();
}

bool iiifHint(const QJsonObject& resource, const QString& hint) {
    for (const char* key : {"behavior", "viewingHint"}) {
        const QJsonValue v = resource.value(QLatin1String(key));
        if (v.toString() == hint || v.toArray().contains(hint))
            return true;
    }
    return false;
}

namespace {
// The value of a language map or list in the first language of `wanted` that it has ("it" also
// finds "it-IT"); undefined when none.
QJsonValue inLanguage(const QJsonValue& value, const QStringList& wanted) {
    for (const QString& lang : wanted) {
        if (value.isArray()) {
            for (const QJsonValue& v : value.toArray())
                if (v.toObject().value(QLatin1String("@language")).toString().section('-', 0, 0) ==
                    lang)
                    return v;
        } else {
            const QJsonObject map = value.toObject();
            for (auto it = map.begin(); it != map.end(); ++it)
                if (it.key().section('-', 0, 0).compare(lang, Qt::CaseInsensitive) == 0)
                    return it.value();
        }
    }
    return QJsonValue::Undefined;
}
} // namespace

QString iiifText(const QJsonValue& value, const QString& lang) {
    if (value.isString())
        return value.toString().normalized(QString::NormalizationForm_C);
    const QJsonObject o = value.toObject();
    if (o.contains(QLatin1String("@value")))
        return iiifText(o.value(QLatin1String("@value")), lang);
    QStringList wanted{QStringLiteral("it"), QStringLiteral("en"), QStringLiteral("none")};
    if (!lang.isEmpty())
        wanted.prepend(lang);
    const QJsonValue chosen = inLanguage(value, wanted);
    if (!chosen.isUndefined())
        return iiifText(chosen, lang);
    if (value.isArray())
        return value.toArray().isEmpty() ? QString() : iiifText(value.toArray().first(), lang);
    return o.isEmpty() ? QString() : iiifText(o.begin().value(), lang);
}

namespace {
QString typeOf(const QJsonValue& v) {
    const QJsonObject o = v.toObject();
    return o.value(QLatin1String("type")).toString() + o.value(QLatin1String("@type")).toString();
}

// Everything a range holds, in either version: subranges and canvases.
QJsonArray itemsOf(const QJsonObject& range) {
    QJsonArray items;
    for (const char* key : {"items", "members", "ranges", "canvases"})
        for (const QJsonValue& v : range.value(QLatin1String(key)).toArray())
            items.append(v);
    return items;
}

// The canvas a range item names: the canvas itself, a part of it, or a SpecificResource's source.
QString canvasNamed(const QJsonValue& item) {
    const QJsonValue target = typeOf(item) == QLatin1String("SpecificResource")
                                  ? item.toObject().value(QLatin1String("source"))
                                  : item;
    return iiifId(target).section(QLatin1Char('#'), 0, 0);
}

class Structure {
  public:
    explicit Structure(const QJsonArray& structures) {
        for (const QJsonValue& r : structures)
            add(r.toObject(), 0);
    }

    // The range an item names, or an empty object when the item is a canvas.
    [[nodiscard]] QJsonObject rangeOf(const QJsonValue& item) const {
        const QString type = typeOf(item);
        const bool range = type.contains(QLatin1String("Range")) ||
                           (type.isEmpty() && all_.contains(iiifId(item)));
        if (!range)
            return {};
        const QJsonObject own = item.toObject();
        const QString id = iiifId(item); // a range without an id names no other
        return itemsOf(own).isEmpty() && !id.isEmpty() ? all_.value(id, own) : own;
    }

    [[nodiscard]] QList<QJsonObject> subranges(const QJsonObject& range) const {
        QList<QJsonObject> list;
        for (const QJsonValue& item : itemsOf(range))
            if (const QJsonObject r = rangeOf(item); !r.isEmpty())
                list << r;
        return list;
    }

    // The canvases a range holds, itself or through the ranges inside it.
    void canvases(const QJsonObject& range, QSet<QString>& into, QSet<QString>& seen) const {
        for (const QJsonValue& item : itemsOf(range)) {
            const QJsonObject r = rangeOf(item);
            if (r.isEmpty())
                into.insert(canvasNamed(item));
            else if (iiifId(r).isEmpty() || !seen.contains(iiifId(r))) {
                seen.insert(iiifId(r)); // a range that holds itself is read once
                canvases(r, into, seen);
            }
        }
    }

    // The ranges no other range holds, or those hinted "top".
    [[nodiscard]] QList<QJsonObject> tops(const QJsonArray& structures) const {
        QSet<QString> held;
        QList<QJsonObject> hinted, unheld;
        for (const QJsonObject& r : std::as_const(all_))
            for (const QJsonObject& sub : subranges(r))
                held.insert(iiifId(sub));
        for (const QJsonValue& v : structures) {
            if (iiifHint(v.toObject(), QStringLiteral("top")))
                hinted << v.toObject();
            else if (!held.contains(iiifId(v)))
                unheld << v.toObject();
        }
        return hinted.isEmpty() ? unheld : hinted;
    }

  private:
    void add(const QJsonObject& range, int depth) {
        if (depth > 64)
            return;
        if (!iiifId(range).isEmpty())
            all_.insert(iiifId(range), range);
        for (const QJsonValue& item : itemsOf(range))
            if (typeOf(item).contains(QLatin1String("Range")) &&
                !itemsOf(item.toObject()).isEmpty())
                add(item.toObject(), depth + 1);
    }

    QHash<QString, QJsonObject> all_;
};

QString numberingOf(const QJsonObject& range, const QString& lang) {
    for (const QJsonValue& m : range.value(QLatin1String("metadata")).toArray())
        if (iiifText(m.toObject().value(QLatin1String("label")), lang) ==
            QLatin1String("Numerazione"))
            return iiifText(m.toObject().value(QLatin1String("value")), lang);
    return {};
}

struct Owner {
    QString label, numbering;
    QString name; // in reports: the label, or the id of a range without one
    QSet<QString> canvases;
    bool root = false; // a range given way to: its canvases repeat its ranges' in version 2
};

// The top ranges as owners of canvases, then the direct canvases of the single ranges given way
// to (a table of contents' own canvases).
QList<Owner> ownersOf(const QJsonArray& structures, const QString& lang) {
    const Structure s(structures);
    QList<QJsonObject> tops = s.tops(structures);
    QList<QJsonObject> roots;
    while (tops.size() == 1 && !s.subranges(tops.first()).isEmpty() && roots.size() < 64) {
        roots << tops.first();
        tops = s.subranges(tops.first());
    }
    QList<Owner> owners;
    const auto named = [](Owner& o, const QJsonObject& r) {
        o.name = o.label.isEmpty() ? iiifId(r) : o.label;
    };
    for (const QJsonObject& r : tops) {
        Owner o{iiifText(r.value(QLatin1String("label")), lang), numberingOf(r, lang), {}, {}};
        QSet<QString> seen{iiifId(r)};
        s.canvases(r, o.canvases, seen);
        named(o, r);
        owners << o;
    }
    for (const QJsonObject& r : roots) {
        Owner o{
            iiifText(r.value(QLatin1String("label")), lang), numberingOf(r, lang), {}, {}, true};
        for (const QJsonValue& item : itemsOf(r))
            if (s.rangeOf(item).isEmpty())
                o.canvases.insert(canvasNamed(item));
        named(o, r);
        owners << o;
    }
    return owners;
}

QString shortList(QStringList items) {
    const qsizetype more = items.size() - 5;
    if (more > 0)
        items = items.mid(0, 5) << QStringLiteral("e altre %1").arg(more);
    return items.join(QStringLiteral(", "));
}
} // namespace

IiifBooks iiifBooks(const QJsonArray& structures, const QStringList& canvasIds,
                    const QString& lang) {
    const QList<Owner> owners = ownersOf(structures, lang);
    IiifBooks books;
    const QSet<QString> inSequence(canvasIds.begin(), canvasIds.end());
    QList<int> owner(canvasIds.size(), -1);
    for (int o = 0; o < owners.size(); ++o) {
        QStringList repeated, outside;
        for (int i = 0; i < canvasIds.size(); ++i)
            if (owners[o].canvases.contains(canvasIds[i]) && owner[i] < 0)
                owner[i] = o;
            else if (owners[o].canvases.contains(canvasIds[i]) && owner[i] != o && !owners[o].root)
                repeated << canvasIds[i];
        for (const QString& id : owners[o].canvases)
            if (!inSequence.contains(id))
                outside << id;
        outside.sort();
        if (!repeated.isEmpty())
            books.report << QStringLiteral("sezione \"%1\": tele già in una sezione precedente, "
                                           "lasciate lì: %2")
                                .arg(owners[o].name, shortList(repeated));
        if (!outside.isEmpty())
            books.report << QStringLiteral("sezione \"%1\": tele che non sono nella sequenza, "
                                           "ignorate: %2")
                                .arg(owners[o].name, shortList(outside));
    }
    QList<int> runs(owners.size(), 0);
    for (int i = 0; i < canvasIds.size(); ++i) {
        if (i > 0 && owner[i] == owner[i - 1]) {
            ++books.spans.last().count;
            continue;
        }
        const Owner none;
        const Owner& o = owner[i] < 0 ? none : owners[owner[i]];
        books.spans << IiifSpan{o.label, owner[i] >= 0, o.numbering, i, 1};
        if (owner[i] >= 0 && ++runs[owner[i]] == 2)
            books.report << QStringLiteral("sezione \"%1\": le sue tele non sono tutte di seguito "
                                           "nella sequenza: divisa in più libri")
                                .arg(o.name);
    }
    return books;
}

} // namespace cvx::pack
