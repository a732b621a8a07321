// Reading IIIF Presentation 3 and 2.1 manifests into a first manifest of ours.
#include "pack/iiif.h"

#include "pack/folio_pattern.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSize>
#include <QUrl>

namespace cvx::pack {

namespace {
struct IiifCanvas {
    QString id, label;
    QStringList imageNames; // names the image may have in the local folder, best first
    bool opening = false;   // "facing-pages"
    QSize size;
};

struct IiifRange {
    QString label;
    QStringList canvasIds;
    QString numbering; // our own "Numerazione" metadata, when present
};

QString idOf(const QJsonValue& v) {
    if (v.isString())
        return v.toString();
    const QJsonObject o = v.toObject();
    return o.contains(QLatin1String("id")) ? o.value(QLatin1String("id")).toString()
                                           : o.value(QLatin1String("@id")).toString();
}

// A label of either version: a string, a IIIF 3 language map, or a list of {"@value"}.
QString textOf(const QJsonValue& v) {
    if (v.isString())
        return v.toString();
    if (v.isArray())
        return v.toArray().isEmpty() ? QString() : textOf(v.toArray().first());
    const QJsonObject o = v.toObject();
    if (o.contains(QLatin1String("@value")))
        return o.value(QLatin1String("@value")).toString();
    for (const char* lang : {"it", "none", "en"})
        if (o.contains(QLatin1String(lang)))
            return textOf(o.value(QLatin1String(lang)));
    return o.isEmpty() ? QString() : textOf(o.begin().value());
}

bool hasHint(const QJsonObject& o, const QString& hint) {
    for (const char* key : {"behavior", "viewingHint"}) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.toString() == hint || v.toArray().contains(hint))
            return true;
    }
    return false;
}

QString lastSegment(const QString& url) {
    return QUrl(url).path().section(QLatin1Char('/'), -1);
}

// An image's local names: its file name unless it is a IIIF Image API request
// (".../full/max/0/default.jpg"), then the identifier of its image service.
void addImageNames(const QJsonObject& resource, IiifCanvas& c) {
    static const QRegularExpression request(QStringLiteral("/full/[^/]+/[^/]+/[^/]+$"));
    const QString id = idOf(resource);
    QJsonValue service = resource.value(QLatin1String("service"));
    if (service.isArray())
        service = service.toArray().first();
    const QString serviceId = idOf(service);
    if (!id.isEmpty() && !request.match(QUrl(id).path()).hasMatch())
        c.imageNames << lastSegment(id);
    if (!serviceId.isEmpty())
        c.imageNames << lastSegment(serviceId);
    if (!id.isEmpty() && request.match(QUrl(id).path()).hasMatch())
        c.imageNames << lastSegment(id.left(id.indexOf(request.match(QUrl(id).path()).captured())));
}

IiifCanvas canvasOf(const QJsonObject& o, bool version3) {
    IiifCanvas c{
        idOf(o),
        textOf(o.value(QLatin1String("label"))),
        {},
        hasHint(o, QStringLiteral("facing-pages")),
        QSize(o.value(QLatin1String("width")).toInt(), o.value(QLatin1String("height")).toInt())};
    if (version3) {
        const QJsonObject page = o.value(QLatin1String("items")).toArray().first().toObject();
        const QJsonObject note = page.value(QLatin1String("items")).toArray().first().toObject();
        QJsonValue body = note.value(QLatin1String("body"));
        if (body.isArray())
            body = body.toArray().first();
        addImageNames(body.toObject(), c);
    } else {
        const QJsonObject image = o.value(QLatin1String("images")).toArray().first().toObject();
        addImageNames(image.value(QLatin1String("resource")).toObject(), c);
    }
    c.imageNames << lastSegment(c.id);
    return c;
}

// The canvases of a range and of the ranges inside it, in order; `all` holds every range by id
// (version 2 lists nested ranges by id only).
void collect(const QJsonObject& range, const QHash<QString, QJsonObject>& all, QStringList& ids,
             int depth) {
    if (depth > 32)
        return; // ranges that hold themselves
    for (const char* key : {"items", "canvases", "members", "ranges"})
        for (const QJsonValue& item : range.value(QLatin1String(key)).toArray()) {
            const QString id = idOf(item);
            const QString type = item.toObject().value(QLatin1String("type")).toString() +
                                 item.toObject().value(QLatin1String("@type")).toString();
            if (type.contains(QLatin1String("Range")) || (all.contains(id) && !item.isObject()))
                collect(item.isObject() && item.toObject().size() > 2 ? item.toObject()
                                                                      : all.value(id),
                        all, ids, depth + 1);
            else if (!id.isEmpty())
                ids << id;
        }
}

QString numberingOf(const QJsonObject& range) {
    for (const QJsonValue& m : range.value(QLatin1String("metadata")).toArray())
        if (textOf(m.toObject().value(QLatin1String("label"))) == QLatin1String("Numerazione"))
            return textOf(m.toObject().value(QLatin1String("value")));
    return {};
}

// The top ranges: in version 3 the structures themselves; in version 2 the members of a range
// hinted "top", or else the ranges no other range holds.
QList<IiifRange> topRanges(const QJsonArray& structures) {
    QHash<QString, QJsonObject> all;
    QSet<QString> held;
    QList<QJsonObject> tops;
    for (const QJsonValue& r : structures)
        all.insert(idOf(r), r.toObject());
    for (const QJsonValue& r : structures)
        for (const char* key : {"ranges", "members", "items"})
            for (const QJsonValue& item : r.toObject().value(QLatin1String(key)).toArray())
                if (all.contains(idOf(item)))
                    held.insert(idOf(item));
    for (const QJsonValue& r : structures)
        if (hasHint(r.toObject(), QStringLiteral("top")))
            for (const char* key : {"ranges", "members", "items"})
                for (const QJsonValue& item : r.toObject().value(QLatin1String(key)).toArray())
                    tops << all.value(idOf(item));
    if (tops.isEmpty())
        for (const QJsonValue& r : structures)
            if (!held.contains(idOf(r)))
                tops << r.toObject();
    QList<IiifRange> ranges;
    for (const QJsonObject& r : tops) {
        IiifRange range{textOf(r.value(QLatin1String("label"))), {}, numberingOf(r)};
        collect(r, all, range.canvasIds, 0);
        ranges << range;
    }
    return ranges;
}

QString matchImage(const IiifCanvas& c, const QStringList& files, const QDir& dir) {
    for (const QString& name : c.imageNames)
        for (const QString& f : files)
            if (f.compare(name, Qt::CaseInsensitive) == 0 ||
                QFileInfo(f).completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
                return dir.absoluteFilePath(f);
    return {};
}
} // namespace

namespace {
// Our own numbering metadata, read back; nullopt when it is not ours.
std::optional<Numbering> numberingFromMetadata(const QString& text) {
    static const QRegularExpression ours(
        QStringLiteral("^tipo (\\d), lato ([A-Za-z]), primo numero (\\d+)$"));
    const QRegularExpressionMatch m = ours.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    Numbering n;
    n.kind = m.captured(1).toInt();
    n.side = m.captured(2);
    n.firstNumber = m.captured(3).toInt();
    n.fromLabels = true;
    return n;
}

QString listed(const QStringList& items) {
    return items.join(QStringLiteral(", "));
}

DraftBook bookOf(const IiifRange& range, const QHash<QString, IiifCanvas>& canvases,
                 const QStringList& files, const QDir& dir, const QStringList& taken,
                 QStringList& report) {
    DraftBook book;
    book.label = fittedLabel(range.label, taken);
    QStringList labels, missing;
    int openings = 0, wide = 0;
    for (const QString& id : range.canvasIds) {
        const IiifCanvas c = canvases.value(id);
        const QString file = matchImage(c, files, dir);
        if (file.isEmpty()) {
            missing << QStringLiteral("%1 (%2)").arg(c.label, id);
            continue;
        }
        book.pages << file;
        labels << c.label;
        openings += c.opening ? 1 : 0;
        wide += c.size.width() > c.size.height() ? 1 : 0;
    }
    const bool opening = openings > 0 ? 2 * openings > labels.size() : 2 * wide > labels.size();
    const auto ours = numberingFromMetadata(range.numbering);
    const Numbering n = ours ? *ours : numberingFromLabels(labels, opening);
    book.kind = n.kind;
    book.side = n.side;
    book.firstNumber = n.firstNumber;
    book.how = ours           ? QStringLiteral("dai metadati della sezione")
               : n.fromLabels ? QStringLiteral("dalle etichette delle tele")
                              : QStringLiteral("nessuna etichetta è un numero di pagina: da "
                                               "controllare");
    if (!missing.isEmpty())
        report << QStringLiteral("libro \"%1\": tele senza immagine in %2: %3")
                      .arg(book.label, dir.path(), listed(missing));
    if (!ours && n.fromLabels && !n.unfit.isEmpty())
        report << QStringLiteral("libro \"%1\": etichette che non seguono la numerazione: %2")
                      .arg(book.label, listed(n.unfit));
    return book;
}
} // namespace

Draft draftFromIiif(const QByteArray& json, const QString& imagesDir) {
    Draft d;
    QJsonParseError error;
    const QJsonObject m = QJsonDocument::fromJson(json, &error).object();
    if (m.isEmpty()) {
        d.problems << QStringLiteral("il manifesto IIIF non è un oggetto JSON valido (%1)")
                          .arg(error.errorString());
        return d;
    }
    const QJsonValue context = m.value(QLatin1String("@context"));
    const bool version3 = context.toString().contains(QLatin1String("presentation/3")) ||
                          QJsonDocument(context.toArray()).toJson().contains("presentation/3");
    d.title = textOf(m.value(QLatin1String("label")));
    const QJsonArray list = version3 ? m.value(QLatin1String("items")).toArray()
                                     : m.value(QLatin1String("sequences"))
                                           .toArray()
                                           .first()
                                           .toObject()
                                           .value(QLatin1String("canvases"))
                                           .toArray();
    QHash<QString, IiifCanvas> canvases;
    QStringList order;
    for (const QJsonValue& v : list) {
        const IiifCanvas c = canvasOf(v.toObject(), version3);
        canvases.insert(c.id, c);
        order << c.id;
    }
    QList<IiifRange> ranges = topRanges(m.value(QLatin1String("structures")).toArray());
    if (ranges.isEmpty())
        ranges << IiifRange{d.title, order, {}};
    const QDir dir(imagesDir);
    const QStringList files = dir.entryList(QDir::Files);
    QStringList taken, placed;
    for (const IiifRange& r : ranges) {
        d.books << bookOf(r, canvases, files, dir, taken, d.report);
        taken << d.books.last().label;
        placed << r.canvasIds;
    }
    QStringList loose;
    for (const QString& id : order)
        if (!placed.contains(id))
            loose << QStringLiteral("%1 (%2)").arg(canvases[id].label, id);
    if (!loose.isEmpty())
        d.report
            << QStringLiteral("tele in nessuna sezione, lasciate fuori: %1").arg(listed(loose));
    if (canvases.isEmpty())
        d.problems << QStringLiteral("il manifesto IIIF non ha tele");
    return d;
}

} // namespace cvx::pack
