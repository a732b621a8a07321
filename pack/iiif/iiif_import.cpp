// Reading IIIF Presentation 3 and 2.1 manifests into a first manifest of ours.
#include "pack/iiif/iiif.h"

#include "pack/iiif/iiif_ranges.h"
#include "pack/manifest/folio_pattern.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSize>
#include <QUrl>

namespace cvx::pack {

namespace {
struct IiifCanvas {
    QString id, label;
    QString type;           // what it paints: "Image", "Sound", "Video", "Text"; empty for nothing
    QStringList imageNames; // names the image may have in the local folder, best first
    QString localFile;      // a file:// image that exists
    bool opening = false;   // "facing-pages"
    QSize size;
};

QString typeOf(const QJsonObject& o) {
    return o.value(QLatin1String("type")).toString() + o.value(QLatin1String("@type")).toString();
}

QString lastSegment(const QString& url) {
    return QUrl(url).path(QUrl::FullyDecoded).section(QLatin1Char('/'), -1);
}

// The resource a body stands for: a Choice's default (first) item, a SpecificResource's source.
QJsonObject chosen(QJsonObject body) {
    for (int depth = 0; depth < 8; ++depth) {
        const QString type = typeOf(body);
        if (type.endsWith(QLatin1String("Choice"))) {
            QJsonValue item = body.value(QLatin1String("default")); // version 2
            if (item.isUndefined())
                item = body.value(QLatin1String("items"));
            if (item.isUndefined())
                item = body.value(QLatin1String("item"));
            body = item.isArray() ? item.toArray().first().toObject() : item.toObject();
        } else if (type == QLatin1String("SpecificResource")) {
            const QJsonValue source = body.value(QLatin1String("source"));
            body = source.isObject() ? source.toObject()
                                     : QJsonObject{{QStringLiteral("id"), source.toString()}};
        } else {
            break;
        }
    }
    return body;
}

// What a resource is: "Image", "Sound", "Video", "Text" ... from its type or its format.
QString kindOf(const QJsonObject& resource) {
    QString type = typeOf(resource).section(QLatin1Char(':'), -1);
    const QString format = resource.value(QLatin1String("format")).toString();
    if (type.isEmpty() && format.startsWith(QLatin1String("audio/")))
        type = QStringLiteral("Sound");
    else if (type.isEmpty() && format.startsWith(QLatin1String("video/")))
        type = QStringLiteral("Video");
    return type.isEmpty() || type == QLatin1String("Image") ? QStringLiteral("Image") : type;
}

// An image's local names: its file name unless it is a IIIF Image API request
// (".../full/max/0/default.jpg"), then the identifier of its image service.
void addImageNames(const QJsonObject& resource, IiifCanvas& c) {
    static const QRegularExpression request(QStringLiteral("/full/[^/]+/[^/]+/[^/]+$"));
    const QString id = iiifId(resource);
    QJsonValue service = resource.value(QLatin1String("service"));
    if (service.isArray())
        service = service.toArray().first();
    const QString serviceId = iiifId(service);
    const QRegularExpressionMatch m = request.match(QUrl(id).path());
    if (QUrl(id).isLocalFile() && QFileInfo(QUrl(id).toLocalFile()).isFile())
        c.localFile = QUrl(id).toLocalFile();
    if (!id.isEmpty() && !m.hasMatch())
        c.imageNames << lastSegment(id);
    if (!serviceId.isEmpty())
        c.imageNames << lastSegment(serviceId);
    if (!id.isEmpty() && m.hasMatch())
        c.imageNames << lastSegment(QUrl(id).path().left(m.capturedStart()));
    c.imageNames.removeAll(QString());
}

// The painting body of a canvas, in either version; empty when it paints nothing.
QJsonObject paintingOf(const QJsonObject& canvas, bool version3) {
    if (!version3) {
        const QJsonObject image =
            canvas.value(QLatin1String("images")).toArray().first().toObject();
        return image.value(QLatin1String("resource")).toObject();
    }
    for (const QJsonValue& page : canvas.value(QLatin1String("items")).toArray())
        for (const QJsonValue& note : page.toObject().value(QLatin1String("items")).toArray()) {
            const QString motivation =
                note.toObject().value(QLatin1String("motivation")).toString();
            if (motivation.isEmpty() || motivation == QLatin1String("painting")) {
                const QJsonValue body = note.toObject().value(QLatin1String("body"));
                return body.isArray() ? body.toArray().first().toObject() : body.toObject();
            }
        }
    return {};
}

IiifCanvas canvasOf(const QJsonObject& o, bool version3, const QString& lang) {
    IiifCanvas c;
    c.id = iiifId(o);
    c.label = iiifText(o.value(QLatin1String("label")), lang);
    c.opening = iiifHint(o, QStringLiteral("facing-pages"));
    c.size =
        QSize(o.value(QLatin1String("width")).toInt(), o.value(QLatin1String("height")).toInt());
    const QJsonObject body = paintingOf(o, version3);
    if (!body.isEmpty()) {
        const QJsonObject resource = chosen(body);
        c.type = kindOf(resource);
        addImageNames(resource, c);
    }
    if (c.imageNames.isEmpty())
        c.imageNames << lastSegment(c.id); // where a publisher would put a missing image
    return c;
}
} // namespace

namespace {
bool pictureSuffix(const QString& suffix) {
    static const QStringList known{"jpg", "jpeg", "png", "tif", "tiff", "jp2", "j2k"};
    return known.contains(suffix.toLower());
}

// The pictures under a folder and its subfolders, found by file name or by name without the
// extension (a "page1-full.png" for "page1-full.jpg", a "47174896.tif" for "47174896").
class ImageFolder {
  public:
    explicit ImageFolder(const QString& path) : dir_(path) {
        QStringList files;
        QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort(); // the same choice on every run, shallower folders first by name
        for (const QString& f : files) { // hidden files and folders are not listed
            const QFileInfo info(f);
            byName_.insert(info.fileName().toLower(), f);
            if (pictureSuffix(info.suffix()))
                byStem_.insert(stemOf(info.fileName()).toLower(), f);
        }
    }

    // The file of the first name found; empty when none is.
    [[nodiscard]] QString find(const QStringList& names) const {
        for (const QString& name : names) {
            if (const QString f = byName_.value(name.toLower()); !f.isEmpty())
                return f;
            if (const QString f = byStem_.value(stemOf(name).toLower()); !f.isEmpty())
                return f;
        }
        return {};
    }

    // The path a missing image is expected at: the first name, given a picture's extension.
    [[nodiscard]] QString expected(const QString& name) const {
        const QString suffix = QFileInfo(name).suffix();
        if (pictureSuffix(suffix))
            return dir_.absoluteFilePath(name);
        return dir_.absoluteFilePath(
            (suffix.toLower() == QLatin1String("json") ? stemOf(name) : name) +
            QStringLiteral(".jpg"));
    }

  private:
    static QString stemOf(const QString& name) {
        return pictureSuffix(QFileInfo(name).suffix()) ||
                       QFileInfo(name).suffix().toLower() == QLatin1String("json")
                   ? name.left(name.lastIndexOf(QLatin1Char('.')))
                   : name;
    }

    QDir dir_;
    QHash<QString, QString> byName_, byStem_; // lower-case name -> first file in path order
};

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
} // namespace

namespace {
QString listed(const QStringList& items) {
    return items.join(QStringLiteral(", "));
}

// The books' pages in hand: every canvas's image, or the path it is expected at.
struct Pages {
    const QList<IiifCanvas>& canvases;
    const ImageFolder& images;
    QString imagesDir;
};

// A book of canvases [first, first + count), numbered by `n`; the canvases without an image keep
// their place at the path their image is expected at.
DraftBook bookOf(const Pages& p, int first, int count, const QString& label, const Numbering& n,
                 QStringList& report) {
    DraftBook book;
    book.label = label;
    book.kind = n.kind;
    book.side = n.side;
    book.firstNumber = n.firstNumber;
    QStringList missing;
    for (int i = first; i < first + count; ++i) {
        const IiifCanvas& c = p.canvases[i];
        QString file = c.localFile.isEmpty() ? p.images.find(c.imageNames) : c.localFile;
        if (file.isEmpty()) {
            file = p.images.expected(c.imageNames.first());
            missing << QStringLiteral("%1 (%2, cercata come %3)")
                           .arg(c.label, c.id, QFileInfo(file).fileName());
        }
        book.pages << file;
    }
    if (!missing.isEmpty())
        report << QStringLiteral("libro \"%1\": tele senza immagine in %2, scritte dove è attesa: "
                                 "%3")
                      .arg(label, p.imagesDir, missing.join(QStringLiteral("; ")));
    return book;
}

// How many labels at the start of `labels` are no Arabic page or folio number (a cover,
// preliminaries in Roman figures).
int unnumberedLead(const QStringList& labels) {
    int lead = 0;
    while (lead < labels.size()) {
        const auto f = parseFolio(labels[lead]);
        if (f && !f->roman)
            break;
        ++lead;
    }
    return lead;
}

QString howOf(const Numbering& n) {
    return n.fromLabels ? QStringLiteral("dalle etichette delle tele")
                        : QStringLiteral("nessuna etichetta è un numero di pagina: da controllare");
}

// What the curator must know of a book's numbering read from its labels: labels asking for a
// first number the viewer refuses, or that it does not show.
void reportNumbering(const QString& book, const Numbering& n, QStringList& report) {
    if (n.needed)
        report << QStringLiteral("libro \"%1\": le etichette %2 chiedono primo numero %3, che il "
                                 "visore non ammette: lasciato %4, da correggere (tipo, lato, "
                                 "primo numero) o da dividere in più libri")
                      .arg(book, listed(n.unfit), QString::number(*n.needed),
                           QString::number(n.firstNumber));
    else if (!n.unfit.isEmpty())
        report << QStringLiteral("libro \"%1\": etichette che %2: %3")
                      .arg(book,
                           n.fromLabels ? QStringLiteral("non seguono la numerazione")
                                        : QStringLiteral("non sono numeri di pagina"),
                           listed(n.unfit));
}

// The books of one span: one, or two when unnumbered leading canvases (a cover, Roman
// preliminaries) keep the rest's numbering from being shown (it would need a first number below
// 0): they are then a book apart.
void addBooks(const Pages& p, const IiifSpan& span, const QString& label, QStringList& taken,
              Draft& d) {
    QStringList labels;
    int openings = 0, wide = 0;
    for (int i = span.first; i < span.first + span.count; ++i) {
        labels << p.canvases[i].label;
        openings += p.canvases[i].opening ? 1 : 0;
        wide += p.canvases[i].size.width() > p.canvases[i].size.height() ? 1 : 0;
    }
    const bool opening = openings > 0 ? 2 * openings > span.count : 2 * wide > span.count;
    if (const auto ours = numberingFromMetadata(span.numbering)) {
        d.books << bookOf(p, span.first, span.count, fittedLabel(label, taken), *ours, d.report);
        d.books.last().how = QStringLiteral("dai metadati della sezione");
        taken << d.books.last().label;
        return;
    }
    Numbering n = numberingFromLabels(labels, opening);
    const int lead = unnumberedLead(labels);
    if (lead > 0 && lead < labels.size() && n.needed) {
        const Numbering rest = numberingFromLabels(labels.mid(lead), opening);
        if (!rest.needed) {
            const QString apart = fittedLabel(labels.first(), taken);
            d.report << QStringLiteral("libro \"%1\": %2 (%3) prima della numerazione, che con "
                                       "loro non si potrebbe mostrare: in un libro a sé, \"%4\"")
                            .arg(fittedLabel(label, taken),
                                 lead == 1 ? QStringLiteral("la prima tela")
                                           : QStringLiteral("le prime %1 tele").arg(lead),
                                 listed(labels.mid(0, lead)), apart);
            const Numbering front = numberingFromLabels(labels.mid(0, lead), false);
            d.books << bookOf(p, span.first, lead, apart, front, d.report);
            d.books.last().how = howOf(front);
            taken << apart;
            addBooks(p, IiifSpan{label, true, {}, span.first + lead, span.count - lead}, label,
                     taken, d);
            return;
        }
    }
    d.books << bookOf(p, span.first, span.count, fittedLabel(label, taken), n, d.report);
    d.books.last().how = howOf(n);
    taken << d.books.last().label;
    reportNumbering(d.books.last().label, n, d.report);
}
} // namespace

namespace {
// Why a JSON document is no manifest to read; empty when it is one.
QString refusalOf(const QJsonObject& m) {
    const QString type = typeOf(m);
    if (type.contains(QLatin1String("Collection")))
        return QStringLiteral("il file è una raccolta IIIF (Collection), non un manifesto: "
                              "indicare uno dei manifesti che elenca");
    if (!type.isEmpty() && !type.contains(QLatin1String("Manifest")))
        return QStringLiteral("il file non è un manifesto IIIF ma un %1").arg(type);
    if (type.isEmpty() && !m.contains(QLatin1String("sequences")) &&
        !m.contains(QLatin1String("items")))
        return QStringLiteral("il file non è un manifesto IIIF: non ne ha né il tipo né le tele");
    return {};
}

// The canvases of the manifest: version 3's items, or version 2's first sequence (the others
// named in the report).
QJsonArray canvasList(const QJsonObject& m, bool version3, const QString& lang,
                      QStringList& report) {
    if (version3)
        return m.value(QLatin1String("items")).toArray();
    const QJsonArray sequences = m.value(QLatin1String("sequences")).toArray();
    QStringList others;
    for (qsizetype s = 1; s < sequences.size(); ++s)
        others << QStringLiteral("\"%1\" (%2)")
                      .arg(iiifText(sequences[s].toObject().value(QLatin1String("label")), lang),
                           iiifId(sequences[s]));
    if (!others.isEmpty())
        report << QStringLiteral("il manifesto ha %1 sequenze: letta la prima, \"%2\"; non lette: "
                                 "%3")
                      .arg(QString::number(sequences.size()),
                           iiifText(sequences[0].toObject().value(QLatin1String("label")), lang),
                           listed(others));
    return sequences.first().toObject().value(QLatin1String("canvases")).toArray();
}

QString kindName(const QString& type) {
    if (type == QLatin1String("Sound") || type == QLatin1String("Audio"))
        return QStringLiteral("audio");
    if (type == QLatin1String("Video"))
        return QStringLiteral("video");
    if (type == QLatin1String("Text"))
        return QStringLiteral("testo");
    return type;
}

// Names whose letters the viewer cannot show are said, never changed in silence.
void reportUnshown(const QString& what, const QString& text, QStringList& report) {
    const QString fitted = fittedText(text, int(text.size()));
    if (fitted.count(QLatin1Char('_')) > text.count(QLatin1Char('_')))
        report << QStringLiteral("%1 \"%2\" ha lettere che il visore non mostra: diventa \"%3\", "
                                 "da traslitterare a mano")
                      .arg(what, text, fitted);
}
} // namespace

namespace {
// The image canvases of the manifest, in order; the others said in the report or, when there is
// no image at all, why no volume is made of it.
QList<IiifCanvas> imageCanvases(const QJsonObject& m, bool version3, const QString& lang,
                                Draft& d) {
    QList<IiifCanvas> canvases;
    QStringList others, otherKinds;
    for (const QJsonValue& v : canvasList(m, version3, lang, d.report)) {
        const IiifCanvas c = canvasOf(v.toObject(), version3, lang);
        if (c.type.isEmpty() || c.type == QLatin1String("Image")) {
            canvases << c;
            continue;
        }
        others << QStringLiteral("%1 (%2, %3)").arg(c.label, c.id, kindName(c.type));
        if (!otherKinds.contains(kindName(c.type)))
            otherKinds << kindName(c.type);
    }
    if (canvases.isEmpty() && !otherKinds.isEmpty())
        d.problems << QStringLiteral("il manifesto IIIF presenta %1, non immagini di pagine: non "
                                     "se ne fa un volume")
                          .arg(otherKinds.join(QStringLiteral(", ")));
    else if (canvases.isEmpty())
        d.problems << QStringLiteral("il manifesto IIIF non ha tele");
    else if (!others.isEmpty())
        d.report
            << QStringLiteral("tele che non sono immagini, lasciate fuori: %1").arg(listed(others));
    return canvases;
}

// The books of the canvases, one per span of the ranges.
void addAllBooks(const QJsonObject& m, const Pages& pages, const QString& lang, Draft& d) {
    QStringList ids;
    for (const IiifCanvas& c : pages.canvases)
        ids << c.id;
    const IiifBooks books = iiifBooks(m.value(QLatin1String("structures")).toArray(), ids, lang);
    const bool ranged = books.spans.size() > 1 || books.spans.first().inRange;
    d.report << books.report;
    QStringList taken;
    for (const IiifSpan& span : books.spans) {
        QString label = span.label;
        if (!span.inRange && ranged) {
            QStringList loose;
            for (int i = span.first; i < span.first + span.count; ++i)
                loose << QStringLiteral("%1 (%2)").arg(pages.canvases[i].label,
                                                       pages.canvases[i].id);
            label = QStringLiteral("Altre tele");
            d.report << QStringLiteral("tele in nessuna sezione, in un libro a sé: %1")
                            .arg(listed(loose));
        }
        reportUnshown(QStringLiteral("la sezione"), label, d.report);
        addBooks(pages, span, ranged ? label : d.title, taken, d);
    }
}
} // namespace

Draft draftFromIiif(const QByteArray& json, const QString& imagesDir, const QString& lang) {
    Draft d;
    QJsonParseError error;
    const QJsonObject m = QJsonDocument::fromJson(json, &error).object();
    if (m.isEmpty())
        d.problems << QStringLiteral("il manifesto IIIF non è un oggetto JSON valido (%1)")
                          .arg(error.errorString());
    else if (const QString refusal = refusalOf(m); !refusal.isEmpty())
        d.problems << refusal;
    else if (!QFileInfo(imagesDir).isDir())
        d.problems << QStringLiteral("la cartella delle immagini %1 non esiste").arg(imagesDir);
    if (!d.problems.isEmpty())
        return d;
    const QJsonValue context = m.value(QLatin1String("@context"));
    const bool version3 = context.toString().contains(QLatin1String("presentation/3")) ||
                          QJsonDocument(context.toArray()).toJson().contains("presentation/3") ||
                          !m.contains(QLatin1String("sequences"));
    d.title = iiifText(m.value(QLatin1String("label")), lang);
    reportUnshown(QStringLiteral("il titolo"), d.title, d.report);
    const QList<IiifCanvas> canvases = imageCanvases(m, version3, lang, d);
    if (!d.problems.isEmpty())
        return d;
    const QJsonObject sequence = m.value(QLatin1String("sequences")).toArray().first().toObject();
    const QString direction =
        m.value(QLatin1String("viewingDirection"))
            .toString(sequence.value(QLatin1String("viewingDirection")).toString());
    if (!direction.isEmpty() && direction != QLatin1String("left-to-right"))
        d.report << QStringLiteral("il manifesto si legge %1 (viewingDirection); il volume si "
                                   "legge da sinistra a destra, le tele nell'ordine del manifesto")
                        .arg(direction);
    const ImageFolder images(imagesDir);
    addAllBooks(m, Pages{canvases, images, imagesDir}, lang, d);
    return d;
}

} // namespace cvx::pack
