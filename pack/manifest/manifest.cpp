// Parsing the publisher's manifest.
#include "pack/manifest/manifest.h"

#include "archive/label_rules.h"
#include "pack/volume/format_limits.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>

namespace cvx::pack {

namespace {
// Reads the fields of one JSON object, recording each fault with the object's place.
class Fields {
  public:
    Fields(const QJsonObject& object, QString where, QStringList& errors)
        : object_(object), where_(std::move(where)), errors_(errors) {}

    QString text(const QString& key, bool required) {
        const QJsonValue v = value(key, required);
        if (v.isString())
            return v.toString();
        if (!v.isUndefined())
            fault(key, QStringLiteral("deve essere un testo"));
        return {};
    }

    // `lowest` and `highest` are only told in the fault of a whole number beyond them; the
    // limits of the formats check the values that fit an int.
    int integer(const QString& key, int fallback, bool required,
                int lowest = std::numeric_limits<int>::min(),
                int highest = std::numeric_limits<int>::max()) {
        const QJsonValue v = value(key, required);
        const double d = v.toDouble();
        if (v.isDouble() && std::floor(d) == d && d >= std::numeric_limits<int>::min() &&
            d <= std::numeric_limits<int>::max())
            return static_cast<int>(d);
        if (v.isDouble() && std::floor(d) == d)
            fault(key, QStringLiteral("deve essere un numero intero fra %1 e %2, non %3")
                           .arg(QString::number(lowest), QString::number(highest),
                                QString::number(d, 'f', 0)));
        else if (!v.isUndefined())
            fault(key, QStringLiteral("deve essere un numero intero"));
        return fallback;
    }

    QJsonArray array(const QString& key) {
        const QJsonValue v = value(key, true);
        if (!v.isArray() && !v.isUndefined())
            fault(key, QStringLiteral("deve essere un elenco"));
        return v.toArray();
    }

    QJsonObject object(const QString& key) {
        const QJsonValue v = value(key, true);
        if (!v.isObject() && !v.isUndefined())
            fault(key, QStringLiteral("deve essere un oggetto"));
        return v.toObject();
    }

    // Unknown keys are most often misspelt ones: report them rather than ignore them.
    void onlyKnown(const QStringList& known) {
        for (const QString& key : object_.keys())
            if (!known.contains(key))
                fault(key, QStringLiteral("campo sconosciuto"));
    }

    void fault(const QString& key, const QString& what) {
        errors_ << QStringLiteral("%1campo \"%2\": %3").arg(where_, key, what);
    }

  private:
    QJsonValue value(const QString& key, bool required) {
        if (!object_.contains(key)) {
            if (required)
                fault(key, QStringLiteral("manca"));
            return QJsonValue(QJsonValue::Undefined);
        }
        return object_.value(key);
    }

    QJsonObject object_;
    QString where_;
    QStringList& errors_;
};

ManifestBook parseBook(const QJsonValue& value, int index, const QDir& folder,
                       QStringList& errors) {
    ManifestBook book;
    const QString where = QStringLiteral("libro %1: ").arg(index + 1);
    if (!value.isObject()) {
        errors << where + QStringLiteral("deve essere un oggetto");
        return book;
    }
    Fields f(value.toObject(), where, errors);
    f.onlyKnown({"label", "kind", "side", "firstNumber", "pages"});
    book.label = f.text(QStringLiteral("label"), true);
    book.kind = f.integer(QStringLiteral("kind"), 1, true);
    book.side = f.text(QStringLiteral("side"), true);
    book.firstNumber =
        f.integer(QStringLiteral("firstNumber"), 1, true, 0, limits::kMaxFirstNumber);
    const QJsonArray pages = f.array(QStringLiteral("pages"));
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString page = pages[i].toString();
        if (!pages[i].isString() || page.isEmpty())
            f.fault(QStringLiteral("pages"),
                    QStringLiteral("la voce %1 deve essere il nome di un file").arg(i + 1));
        book.pages << page;
        book.pageFiles << (page.isEmpty() ? QString() : folder.absoluteFilePath(page));
    }
    return book;
}
} // namespace

ManifestRead parseManifest(const QByteArray& json, const QString& folder) {
    ManifestRead r;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull() || !doc.isObject()) {
        r.errors << (doc.isNull() ? QStringLiteral("JSON non valido al carattere %1: %2")
                                        .arg(parseError.offset)
                                        .arg(parseError.errorString())
                                  : QStringLiteral("il manifesto deve essere un oggetto JSON"));
        return r;
    }
    Manifest& m = r.manifest;
    Fields f(doc.object(), QString(), r.errors);
    f.onlyKnown({"title", "secondLine", "publisher", "place", "year", "workFolder", "cover",
                 "jpegQuality", "books"});
    m.title = f.text(QStringLiteral("title"), true);
    m.secondLine = f.text(QStringLiteral("secondLine"), false);
    m.publisher = f.text(QStringLiteral("publisher"), false);
    m.place = f.text(QStringLiteral("place"), false);
    m.year = f.text(QStringLiteral("year"), false);
    m.workFolder = f.text(QStringLiteral("workFolder"), true);
    m.jpegQuality = f.integer(QStringLiteral("jpegQuality"), kDefaultJpegQuality, false,
                              limits::kMinJpegQuality, limits::kMaxJpegQuality);
    const QJsonObject cover = f.object(QStringLiteral("cover"));
    Fields c(cover, QStringLiteral("cover: "), r.errors);
    if (doc.object().value(QStringLiteral("cover")).isObject()) {
        c.onlyKnown({"book", "page"});
        m.coverBook = c.integer(QStringLiteral("book"), 1, true);
        m.coverPage = c.integer(QStringLiteral("page"), 1, true);
    }
    const QJsonArray books = f.array(QStringLiteral("books"));
    const QDir dir(folder);
    for (qsizetype i = 0; i < books.size(); ++i)
        m.books << parseBook(books[i], static_cast<int>(i), dir, r.errors);
    return r;
}

ManifestRead readManifest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ManifestRead r;
        r.errors << QStringLiteral("impossibile leggere il manifesto %1").arg(path);
        return r;
    }
    const QByteArray json = file.readAll();
    if (json.trimmed().isEmpty()) {
        ManifestRead r;
        r.errors << QStringLiteral("il manifesto %1 è vuoto").arg(path);
        return r;
    }
    ManifestRead r = parseManifest(json, QFileInfo(path).absolutePath());
    for (QString& e : r.errors)
        e = QStringLiteral("manifesto %1: %2").arg(path, e);
    return r;
}

QString bookName(const Manifest& manifest, int book) {
    return QStringLiteral("libro %1 (%2, \"%3\")")
        .arg(QString::number(book + 1), archiveName(book), manifest.books.value(book).label);
}

QString pageName(const Manifest& manifest, int book, int page) {
    const ManifestBook& b = manifest.books[book];
    const bool numbered =
        limits::kindProblem(b.kind).isEmpty() && limits::sideProblem(b.side).isEmpty() &&
        limits::firstNumberProblem(b.firstNumber).isEmpty() &&
        limits::labelWidthProblem(b.kind, b.side, b.firstNumber, page + 1).isEmpty();
    const QString label =
        numbered ? labels::pageLabel(b.kind, b.side, b.firstNumber, page + 1) + QStringLiteral(", ")
                 : QString();
    return QStringLiteral("%1, pagina %2 (%3%4)")
        .arg(bookName(manifest, book), QString::number(page + 1), label, b.pages.value(page));
}

VolumeSpec volumeSpec(const Manifest& manifest) {
    VolumeSpec plan;
    plan.title = manifest.title;
    plan.secondLine = manifest.secondLine;
    plan.publisher = manifest.publisher;
    plan.place = manifest.place;
    plan.year = manifest.year;
    plan.workFolderName = limits::paddedWorkFolder(manifest.workFolder);
    plan.coverBook = manifest.coverBook - 1;
    plan.coverEntry = manifest.coverPage - 1;
    for (const ManifestBook& b : manifest.books) {
        BookSpec book;
        book.label = b.label;
        book.kind = b.kind;
        book.side = b.side.front();
        book.firstNumber = b.firstNumber;
        plan.books << book;
    }
    return plan;
}

} // namespace cvx::pack
