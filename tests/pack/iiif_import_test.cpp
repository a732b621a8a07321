// IIIF manifests as libraries publish them, read by `init --iiif`: every image canvas a page
// exactly once, in order, its label shown or named, or the manifest refused with its reason; and
// the reading of labels, ranges and images against hand-worked figures.
#include "app/text_rules.h"
#include "archive/label_rules.h"
#include "pack/iiif/iiif.h"
#include "pack/manifest/folio_pattern.h"
#include "tests/pack/pack_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QUrl>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::pack;
using namespace cvx::test;

namespace {
struct RealManifest {
    const char* file;
    int pages;                  // its image canvases, counted by hand; 0: refused
    int books;                  // the ranges' runs worked out by hand; 1 without ranges
    const char* said = nullptr; // in the refusal, or in what init prints
};

const RealManifest kReal[] = {
    {"version-2-001.json", 1, 1},
    {"version-2-002.json", 1, 1},
    {"version-2-015.json", 2, 1, "si legge right-to-left"},
    {"version-2-019.json", 3, 1},
    {"version-2-024.json", 1, 1},
    {"version-2-2017498721.json", 0, 0, "non ha tele"},
    {"version-2-299843.json", 6, 1},
    {"version-2-BibliographicResource_3000126341277.json", 2, 1},
    {"version-2-Osbornfa1.json", 1, 1},
    {"version-2-annotationMiradorDual.json", 0, 0, "non è un manifesto IIIF ma un oa:Annotation"},
    {"version-2-broken.json", 0, 0, "non è un manifesto IIIF: non ne ha"},
    {"version-2-canvasService.json", 1, 1},
    {"version-2-collection.json", 0, 0, "raccolta IIIF"},
    // 16 quires under a table of contents, one canvas between two of them in none.
    {"version-2-emptyCanvas.json", 322, 17},
    {"version-2-fg165hz3589.json", 5, 1},
    {"version-2-gau.json", 13, 1, "2 sequenze: letta la prima, \"Sequenza normale\""},
    {"version-2-hamilton.json", 1, 1},
    {"version-2-iiifauth.json", 13, 1},
    {"version-2-minimumRequired.json", 1, 1},
    {"version-2-multipleSequences.json", 1, 1},
    {"version-2-parentCollection.json", 0, 0, "raccolta IIIF"},
    {"version-2-related.json", 0, 0, "non ha tele"},
    {"version-2-sn904cj3429.json", 1, 1},
    // c1-c4, c5-c8 (nested, repeating), c9-c10, c11 (c10 already placed), c12 in none, c13.
    {"version-2-structures.json", 13, 6, "in nessuna sezione, in un libro a sé: Canvas: 12"},
    {"version-2-zeroWidthCanvas.json", 1, 1},
    {"version-3-0001-mvm-image.json", 1, 1},
    {"version-3-0002-mvm-audio.json", 0, 0, "presenta audio, non immagini"},
    {"version-3-001.json", 1, 1},
    {"version-3-0015-start.json", 0, 0, "presenta video, non immagini"},
    {"version-3-fallback-image.json", 1, 1},
    {"version-3-hamilton.json", 1, 1},
    {"version-3-minimumRequired.json", 1, 1},
    // c1 in the root; c2-c5 by fragments and a SpecificResource; c6-c7; c8-c9; c10-c11.
    {"version-3-structures.json", 11, 5},
    {"version-3-svg-annotations.json", 0, 0, "non è un manifesto IIIF ma un AnnotationPage"},
    {"version-3-text-pdf.json", 0, 0, "presenta testo, non immagini"},
    {"version-3-video_with_annotation_captions.json", 0, 0, "presenta video"},
    {"version-3-with_a_provider.json", 0, 0, "non ha tele"},
};

QJsonObject objectOf(const QByteArray& json) {
    return QJsonDocument::fromJson(json).object();
}

QJsonArray canvasesOf(const QJsonObject& m) {
    return m.contains("sequences") ? m["sequences"][0]["canvases"].toArray() : m["items"].toArray();
}

// A label as written when it is in one language: the string, or the first one inside.
QString firstText(const QJsonValue& v) {
    if (v.isString())
        return v.toString();
    if (v.isArray())
        return v.toArray().isEmpty() ? QString() : firstText(v.toArray().first());
    const QJsonObject o = v.toObject();
    return o.isEmpty() ? QString() : firstText(o.contains("@value") ? o["@value"] : *o.begin());
}

// The viewer's label shows the label's first number: the page, either page of an opening, the
// sheet of a recto or the next one of a verso.
bool shows(const QJsonObject& book, int k, const QString& label) {
    const QRegularExpressionMatch m = QRegularExpression("\\d+").match(label);
    const int shown = int(numericValue(labels::pageLabel(
        book["kind"].toInt(), book["side"].toString(), book["firstNumber"].toInt(), k)));
    const int n = m.captured().toInt();
    return m.hasMatch() &&
           (shown == n || (book["kind"].toInt() != labels::Pages && shown == n + 1));
}

QSize standInSize(const QJsonObject& canvas) {
    const QSize size(canvas["width"].toInt(), canvas["height"].toInt());
    return size.isEmpty() ? QSize(30, 40)
                          : size.scaled(40, 40, Qt::KeepAspectRatio).expandedTo({4, 4});
}
} // namespace

TEST(IiifImport, EveryImageCanvasOfRealManifestsIsAPageOnceInOrder) {
    for (const RealManifest& real : kReal) {
        SCOPED_TRACE(real.file);
        PackBench bench;
        const QByteArray json = corpusFile(QStringLiteral("iiif/") + real.file);
        bench.write("in.json", json);
        ASSERT_TRUE(QDir().mkpath(bench.path("img")));
        const auto init = [&](const QString& out) {
            return bench.tool({"init", "--iiif", bench.path("in.json"), "--images",
                               bench.path("img"), "-o", bench.path(out)});
        };
        // First without images: every page is written where its image is expected.
        const auto first = init("first.json");
        const QString said = QString::fromUtf8(real.said ? real.said : "");
        if (real.pages == 0) {
            EXPECT_EQ(first.status, 1);
            EXPECT_TRUE(first.err.contains(said)) << first.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(bench.path("first.json")));
            continue;
        }
        ASSERT_EQ(first.status, 0) << first.err.toStdString();
        EXPECT_TRUE(first.out.contains(said)) << first.out.toStdString();
        const QJsonArray canvases = canvasesOf(objectOf(json));
        QStringList expected;
        for (const QJsonValue& book :
             objectOf(contentOf(bench.path("first.json")))["books"].toArray())
            for (const QJsonValue& page : book["pages"].toArray())
                expected << QDir(bench.path("")).absoluteFilePath(page.toString());
        ASSERT_EQ(expected.size(), real.pages);
        ASSERT_EQ(canvases.size(), real.pages);
        // Stand-in scans at each canvas's shape, as JPEG whatever extension was asked for.
        QStringList standIns;
        for (int k = 0; k < real.pages; ++k) {
            standIns << expected[k].left(expected[k].lastIndexOf('.')) + ".jpg";
            EXPECT_FALSE(QFileInfo::exists(expected[k]));
            if (!QFileInfo::exists(standIns[k]))
                bench.write(QDir(bench.path("")).relativeFilePath(standIns[k]),
                            noisyJpeg(standInSize(canvases[k].toObject()), k));
        }
        const auto second = init("second.json");
        ASSERT_EQ(second.status, 0) << second.err.toStdString();
        EXPECT_FALSE(second.out.contains("senza immagine")) << second.out.toStdString();
        const QJsonArray books = objectOf(contentOf(bench.path("second.json")))["books"].toArray();
        EXPECT_EQ(books.size(), real.books) << second.out.toStdString();
        int k = 0;
        for (const QJsonValue& book : books)
            for (int p = 0; p < book["pages"].toArray().size(); ++p, ++k) {
                ASSERT_LT(k, real.pages);
                const QString page =
                    QDir(bench.path("")).absoluteFilePath(book["pages"][p].toString());
                EXPECT_EQ(page, standIns[k]);
                // Page k is canvas k's image: its name comes from that canvas.
                const QString name = QFileInfo(expected[k]).completeBaseName();
                EXPECT_TRUE(
                    QUrl::fromPercentEncoding(QJsonDocument(canvases[k].toObject()).toJson())
                        .contains(name))
                    << name.toStdString();
                const QString label = firstText(canvases[k].toObject()["label"]);
                EXPECT_TRUE(label.isEmpty() || shows(book.toObject(), p + 1, label) ||
                            second.out.contains(label))
                    << label.toStdString();
            }
        EXPECT_EQ(k, real.pages);
    }
}

TEST(IiifImport, LabelsAreReadAsLibrariesWriteThem) {
    const auto read = [](const char* label) {
        const auto f = parseFolio(QString::fromUtf8(label));
        return !f ? QString("-")
                  : QString::number(f->number) + (f->side.isNull() ? QString() : QString(f->side)) +
                        (f->roman ? "R" : "");
    };
    const std::pair<const char*, const char*> cases[] = {
        {"Page 1", "1"}, {"p. 5", "5"},       {"pages 1–2", "1"}, {"2v, 3r", "2v"},
        {"f. 1r", "1r"}, {"fol. 12v", "12v"}, {"c. 3r", "3r"},    {"cc. 2v-3r", "2v"},
        {"xiv", "14R"},  {"p. IV", "4R"},     {"xl", "40R"},      {"Cover", "-"},
        {"iiii", "-"},   {"2r (31r)", "2r"}};
    for (const auto& [label, expected] : cases)
        EXPECT_EQ(read(label), expected) << label;
    const auto numbering = [](const Numbering& n) {
        return QStringLiteral("%1 %2 %3").arg(n.kind).arg(n.side).arg(n.firstNumber);
    };
    // Spreads 1–2, 3–4, 5–6 on the left from 0: entry k shows 2k = 0002, 0004, 0006, and typing
    // 1 makes 2 (the left page is even), so every page number opens its spread.
    const Numbering spreads = numberingFromLabels({"1–2", "3–4", "5–6"}, true);
    EXPECT_EQ(numbering(spreads), "2 S 0");
    EXPECT_EQ(numbering(numberingFromLabels({"2-3", "4-5"}, true)), "2 S 0"); // 2k: 0002, 0004
    EXPECT_TRUE(spreads.unfit.isEmpty() && !spreads.needed);
    // After a cover, entry 2 would show 4 + F: 1 or 2 only with F = -3 or below.
    const Numbering covered = numberingFromLabels({"Cover", "1–2", "3–4", "5–6"}, true);
    EXPECT_EQ(covered.needed, -3);
    EXPECT_EQ(covered.unfit.size(), 4);
    // Preliminaries i-iii then 1, 2: page 4 is 1, so the first would be -2; Roman pages alone
    // are pages from 1.
    EXPECT_EQ(numberingFromLabels({"i", "ii", "iii", "1", "2"}, false).needed, -3);
    EXPECT_EQ(numbering(numberingFromLabels({"i", "ii", "iii"}, false)), "1 D 1");
    // A version 2 language list: English before the first; a title the viewer cannot show said.
    const QByteArray greek = QString::fromUtf8(R"({"label": [{"@value": "Ἰλιάς", "@language":
      "grc"}, {"@value": "Iliad", "@language": "en"}], "sequences": [{"canvases": [{"@id": "c"}]}]})")
                                 .toUtf8();
    EXPECT_EQ(draftFromIiif(greek, QDir::tempPath()).title, "Iliad");
    const Draft d = draftFromIiif(greek, QDir::tempPath(), "grc");
    EXPECT_TRUE(d.report.value(0).startsWith(
        QString::fromUtf8("il titolo \"Ἰλιάς\" ha lettere che il visore non mostra: diventa \"_")))
        << d.report.join('\n').toStdString();
}

TEST(IiifImport, ReadsWhatLibrariesWrite) {
    PackBench bench;
    bench.write("img/sub/cover.png", noisyJpeg({40, 60}, 1)); // asked for as cover.jpg
    bench.write("img/s1.jpg", noisyJpeg({80, 60}, 2));
    bench.write("elsewhere/s2.jpg", noisyJpeg({80, 60}, 3));
    bench.write("img/s3.jpg", noisyJpeg({80, 60}, 4));
    const QString s2 = QUrl::fromLocalFile(bench.path("elsewhere/s2.jpg")).toString();
    const QString json =
        QString::fromUtf8(R"({"@context": "http://iiif.io/api/presentation/3/context.json",
      "type": "Manifest", "label": {"de": ["Gebra\u0308uche"], "en": ["Customs"]}, "items": [
      {"id": "c0", "label": "Cover", "items": [{"items": [{"body": {"type": "Choice", "items": [
        {"id": "https://e.org/cover.jpg", "type": "Image"}, {"id": "https://e.org/uv.jpg"}]}}]}]},
      {"id": "c1", "label": "1–2", "behavior": ["facing-pages"], "items": [{"items": [{"body":
        {"id": "https://e.org/s1.jpg", "type": "Image"}}]}]},
      {"id": "c2", "label": "3–4", "behavior": ["facing-pages"], "items": [{"items": [{"body":
        {"id": "@S2@", "type": "Image"}}]}]},
      {"id": "c3", "label": "5–6", "behavior": ["facing-pages"], "items": [{"items": [{"body":
        {"id": "https://e.org/s3.jpg", "type": "Image"}}]}]},
      {"id": "c4", "label": "f. 1r"}, {"id": "c5", "label": "f. 1v"}, {"id": "c6", "label": "Tav."}],
      "structures": [{"id": "root", "type": "Range", "items": [
        {"id": "v1", "type": "Range", "label": {"it": ["Tomo I"]}, "items": [
          {"id": "c0#xywh=0,0,5,5", "type": "Canvas"}, {"id": "c1", "type": "Canvas"},
          {"type": "SpecificResource", "source": "c2"}, {"id": "c3", "type": "Canvas"}]},
        {"id": "v2", "type": "Range", "label": "Tomo II", "items": [
          {"id": "c4", "type": "Canvas"}, {"id": "c5", "type": "Canvas"},
          {"id": "c1", "type": "Canvas"}]}]}]})")
            .replace("@S2@", s2);
    const Draft d = draftFromIiif(json.toUtf8(), bench.path("img"), "de");
    ASSERT_TRUE(d.problems.isEmpty());
    EXPECT_EQ(d.title, QString::fromUtf8("Gebräuche")); // composed, in the language asked for
    QStringList books;
    for (const DraftBook& b : d.books)
        books << QStringLiteral("%1: %2 %3 %4 %5")
                     .arg(b.label)
                     .arg(b.kind)
                     .arg(b.side)
                     .arg(b.firstNumber)
                     .arg(b.pages.size());
    // The cover apart, so the spreads read 2 S 0; the second volume's sheets 1r, 1v: 0 D 1; the
    // plate in no range: a book of its own. c1 stays in the first volume.
    EXPECT_EQ(books, QStringList({"Cover: 1 D 1 1", "Tomo I: 2 S 0 3", "Tomo II: 0 D 1 2",
                                  "Altre tele: 1 D 1 1"}));
    EXPECT_EQ(d.books[0].pages, QStringList{bench.path("img/sub/cover.png")});
    EXPECT_EQ(d.books[1].pages,
              QStringList({bench.path("img/s1.jpg"), bench.path("elsewhere/s2.jpg"),
                           bench.path("img/s3.jpg")}));
    EXPECT_EQ(d.books[2].pages, QStringList({bench.path("img/c4.jpg"), bench.path("img/c5.jpg")}));
    const QString report = d.report.join('\n');
    for (const char* said :
         {"in un libro a sé, \"Cover\"", "cercata come c4.jpg", "f. 1v (c5, cercata come c5.jpg)",
          "già in una sezione precedente", "in un libro a sé: Tav. (c6)"})
        EXPECT_TRUE(report.contains(QString::fromUtf8(said))) << said << "\n"
                                                              << report.toStdString();
    // A range without an id that holds one: read once, not forever.
    const QByteArray idless = R"({"type": "Manifest", "items": [{"id": "c"}], "structures":
      [{"id": "a", "type": "Range", "items": [{"type": "Range", "items": [{"type": "Range"},
      {"id": "c", "type": "Canvas"}]}]}]})";
    EXPECT_EQ(draftFromIiif(idless, bench.path("img")).books.size(), 1);
    EXPECT_EQ(draftFromIiif(json.toUtf8(), bench.path("none")).problems,
              QStringList{"la cartella delle immagini " + bench.path("none") + " non esiste"});
}
