// Writing a volume as a static IIIF Presentation 3 manifest.
#include "pack/iiif/iiif.h"

#include "app/text_rules.h"
#include "pack/scans/jpeg_header.h"
#include "pack/volume/volume_check.h"
#include "platform/files.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace cvx::pack {

namespace {
QString shownText(QString stored) {
    if (stored.endsWith(QChar(0)))
        stored.chop(1);
    return displayText(stored);
}

QJsonObject language(const QString& lang, const QString& text) {
    return {{lang, QJsonArray{text}}};
}

QJsonObject pair(const QString& label, const QString& value) {
    return {{"label", language("it", label)}, {"value", language("it", value)}};
}

QJsonObject canvas(const QString& id, const QString& label, const QString& image, QSize size,
                   bool opening) {
    const QJsonObject body{{"id", image},
                           {"type", "Image"},
                           {"format", "image/jpeg"},
                           {"width", size.width()},
                           {"height", size.height()}};
    const QJsonObject painting{{"id", id + "/immagine"},
                               {"type", "Annotation"},
                               {"motivation", "painting"},
                               {"target", id},
                               {"body", body}};
    QJsonObject c{{"id", id},
                  {"type", "Canvas"},
                  {"label", language("none", label)},
                  {"width", size.width()},
                  {"height", size.height()},
                  {"items", QJsonArray{QJsonObject{{"id", id + "/pagina"},
                                                   {"type", "AnnotationPage"},
                                                   {"items", QJsonArray{painting}}}}}};
    if (opening)
        c["behavior"] = QJsonArray{"facing-pages"};
    return c;
}
} // namespace

QString numberingMetadata(int kind, const QString& side, int firstNumber) {
    return QStringLiteral("tipo %1, lato %2, primo numero %3")
        .arg(QString::number(kind), side, QString::number(firstNumber));
}

IiifExport exportIiif(const VolumeInfo& v, const QString& outDir, const QString& baseUrl) {
    IiifExport r;
    const QDir out(outDir);
    if (!QDir().mkpath(out.filePath(QStringLiteral("immagini")))) {
        r.problems << QStringLiteral("impossibile creare la cartella %1").arg(outDir);
        return r;
    }
    // Percent-encoded, so that a folder or label with spaces or accents still gives valid URIs.
    QString base = baseUrl.isEmpty()
                       ? QUrl::fromLocalFile(out.absolutePath()).toString(QUrl::FullyEncoded)
                       : baseUrl;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    QJsonArray canvases, ranges;
    for (int b = 0; b < v.books.size(); ++b) {
        const BookInfo& book = v.books[b];
        QJsonArray items;
        QStringList taken;
        for (const EntryInfo& e : book.entries) {
            const EntryBytes bytes = readEntry(v, b, e);
            const QString name = extractedName(book, e, taken);
            const QByteArray image = bytes.image(e);
            if (bytes.problem.isEmpty() &&
                !files::writeAll(out.filePath(QStringLiteral("immagini/") + name), image).ok())
                r.problems
                    << QStringLiteral("%1: impossibile scrivere %2").arg(pageTitle(v, b, e), name);
            else if (!bytes.problem.isEmpty())
                r.problems << pageTitle(v, b, e) + QStringLiteral(": ") + bytes.problem;
            else
                ++r.images;
            const QString id = base + QStringLiteral("/canvas/%1/%2").arg(b + 1).arg(e.index + 1);
            const QString imageId = base + QStringLiteral("/immagini/") +
                                    QString::fromLatin1(QUrl::toPercentEncoding(name));
            canvases << canvas(id, e.label, imageId, readJpegHeader(image).size,
                               book.fields.numberingKind == 2);
            items << QJsonObject{{"id", id}, {"type", "Canvas"}};
        }
        const QString numbering = numberingMetadata(
            book.fields.numberingKind, book.fields.firstSide, int(book.fields.firstNumber));
        ranges << QJsonObject{{"id", base + QStringLiteral("/libro/%1").arg(b + 1)},
                              {"type", "Range"},
                              {"label", language("it", book.fields.label)},
                              {"metadata", QJsonArray{pair("Numerazione", numbering)}},
                              {"items", items}};
    }
    QJsonArray metadata;
    const char* names[] = {"Seconda riga", "Editore", "Luogo", "Anno"};
    for (int i = 1; i < 5; ++i)
        if (const QString text = shownText(v.headings[i]); !text.isEmpty())
            metadata << pair(QString::fromUtf8(names[i - 1]), text);
    const QJsonObject manifest{{"@context", "http://iiif.io/api/presentation/3/context.json"},
                               {"id", base + QStringLiteral("/manifest.json")},
                               {"type", "Manifest"},
                               {"label", language("it", shownText(v.headings[0]))},
                               {"metadata", metadata},
                               {"behavior", QJsonArray{"paged"}},
                               {"viewingDirection", "left-to-right"},
                               {"items", canvases},
                               {"structures", ranges}};
    if (!files::writeAll(out.filePath(QStringLiteral("manifest.json")),
                         QJsonDocument(manifest).toJson())
             .ok())
        r.problems << QStringLiteral("impossibile scrivere %1").arg(out.filePath("manifest.json"));
    return r;
}

} // namespace cvx::pack
