// The publisher's helpers: thumbnails at libjpeg's reduced scales against Qt's own decode,
// first manifests from folder names and from hand-written IIIF manifests of both versions.
#include "pack/iiif.h"
#include "platform/jpeg_decoder.h"
#include "platform/thumbnail.h"
#include "tests/pack/pack_fixture.h"

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::pack;
using namespace cvx::test;

namespace {
QString numbering(const DraftBook& b) {
    return QStringLiteral("%1 %2 %3").arg(b.kind).arg(b.side).arg(b.firstNumber);
}
} // namespace

TEST(Thumbnail, DecodesAtTheSmallestScaleThatCoversTheBox) {
    EXPECT_EQ(thumbnailSize({4000, 6000}, {240, 240}), QSize(160, 240));
    EXPECT_EQ(dctScaleCovering({4000, 6000}, {160, 240}), 1); // 500 x 750 at 1/8
    EXPECT_EQ(dctScaleCovering({1000, 1500}, {160, 240}), 2); // 125 x 188 is too small
    EXPECT_EQ(dctScaleCovering({100, 150}, {160, 240}), 8);
    // 575 x 900 fitted into 240 x 240: 240 x 575 / 900 = 153.3 columns.
    for (const char* name :
         {"real-scans/lept_breviar.38.150.jpg", "real-scans/lept_lucasta.047_gray.jpg",
          "jpeg-variants/jd_mozilla_jpg-cmyk-2.jpg"}) {
        SCOPED_TRACE(name);
        const QByteArray jpeg = corpusFile(name);
        const QImage small = decodeThumbnail(jpeg, {240, 240});
        const QImage qt = QImage::fromData(jpeg).scaled(small.size(), Qt::IgnoreAspectRatio,
                                                        Qt::SmoothTransformation);
        ASSERT_EQ(small.size(), thumbnailSize(QImage::fromData(jpeg).size(), {240, 240}));
        // Scaling in the DCT domain filters otherwise than smoothing a whole decode: on a page of
        // print the two differ by some 7 levels of 255 on average (a swapped red and blue: 51).
        EXPECT_LT(meanDifference(small, qt), 8.0);
    }
    EXPECT_EQ(decodeThumbnail(corpusFile("real-scans/lept_breviar.38.150.jpg"), {240, 240}).size(),
              QSize(153, 240));
    QByteArray bomb = corpusFile("real-scans/lept_breviar.38.150.jpg");
    const qsizetype frame = bomb.indexOf(QByteArrayView("\xff\xc0", 2));
    bomb.replace(frame + 5, 4, QByteArray("\x4e\x20\x4e\x20", 4)); // 20000 x 20000 claimed
    EXPECT_TRUE(decodeThumbnail(bomb, {240, 240}).isNull());
    EXPECT_TRUE(decodeThumbnail("no picture", {240, 240}).isNull());
}

TEST(PublisherDraft, NamesAreOrderedAndFittedAsAPersonReadsThem) {
    EXPECT_EQ(naturalOrder({"p10.jpg", "p2.jpg", "P1.jpg"}),
              QStringList({"P1.jpg", "p2.jpg", "p10.jpg"}));
    EXPECT_EQ(fittedLabel(QString::fromUtf8("Città\tdi Dio ψ"), {}),
              QString::fromUtf8("Città di Dio _"));
    EXPECT_EQ(fittedLabel("Tavole", {"TAVOLE"}), "Tavole (2)");
    EXPECT_EQ(workFolderFrom(QString::fromUtf8("Theatro delle Piante")), "THEATRO");
    EXPECT_EQ(workFolderFrom(QString::fromUtf8("Città")), "CITTA");
}

TEST(PublisherDraft, ReadsAIiifThreeManifestWithRangesAndFolios) {
    PackBench bench;
    for (const char* name : {"c1.jpg", "c2.jpg", "c3.jpg", "c5.jpg", "c6.jpg", "c7.jpg"})
        bench.write(QStringLiteral("img/") + name, noisyJpeg({90, 120}, 1));
    const char* json = R"({"@context": "http://iiif.io/api/presentation/3/context.json",
      "id": "https://e.org/m", "type": "Manifest", "label": {"it": ["Breviario"]},
      "items": [)"
                       R"({"id": "https://e.org/c1", "type": "Canvas", "label": {"none": ["1r"]}},
        {"id": "https://e.org/c2", "type": "Canvas", "label": {"none": ["1v"]}},
        {"id": "https://e.org/c3", "type": "Canvas", "label": {"none": ["2r"]}},
        {"id": "https://e.org/c4", "type": "Canvas", "label": {"none": ["2v"]}},
        {"id": "https://e.org/c5", "type": "Canvas", "label": {"none": ["p. 5"]}, "items": [{"items":
          [{"body": {"id": "https://e.org/iiif/c5/full/max/0/default.jpg",
                     "service": [{"id": "https://e.org/iiif/c5"}]}}]}]},
        {"id": "https://e.org/x/c6", "type": "Canvas", "label": {"none": ["p. 6"]}},
        {"id": "https://e.org/c7", "type": "Canvas", "label": {"none": ["[tav.]"]}}],
      "structures": [
        {"id": "https://e.org/r1", "type": "Range", "label": {"it": ["Calendario"]},
         "items": [{"id": "https://e.org/c1", "type": "Canvas"}, {"id": "https://e.org/c2", "type": "Canvas"},
                   {"id": "https://e.org/c3", "type": "Canvas"}, {"id": "https://e.org/c4", "type": "Canvas"}]},
        {"id": "https://e.org/r2", "type": "Range", "label": {"it": ["Salterio"]},
         "items": [{"id": "https://e.org/r3", "type": "Range", "items": [
           {"id": "https://e.org/c5", "type": "Canvas"}, {"id": "https://e.org/x/c6", "type": "Canvas"},
           {"id": "https://e.org/c7", "type": "Canvas"}]}]}]})";
    const Draft d = draftFromIiif(json, bench.path("img"));
    ASSERT_EQ(d.books.size(), 2);
    EXPECT_EQ(d.title, "Breviario");
    // 1r, 1v, 2r: sheets from 1 on the right; the viewer shows them as 001d, 002s, 002d.
    EXPECT_EQ(d.books[0].label, "Calendario");
    EXPECT_EQ(numbering(d.books[0]), "0 D 1");
    // c4 has no image: it keeps its place, where its image is expected.
    EXPECT_EQ(d.books[0].pages.last(), bench.path("img/c4.jpg"));
    // p. 5 first, an odd page: pages from 5 on the right.
    EXPECT_EQ(numbering(d.books[1]), "1 D 5");
    EXPECT_EQ(d.books[1].pages, QStringList({bench.path("img/c5.jpg"), bench.path("img/c6.jpg"),
                                             bench.path("img/c7.jpg")}));
    EXPECT_EQ(d.report.join('\n'),
              QStringLiteral("libro \"Calendario\": tele senza immagine in %1, scritte dove è "
                             "attesa: 2v (https://e.org/c4, cercata come c4.jpg)\nlibro "
                             "\"Salterio\": etichette che non seguono la "
                             "numerazione: [tav.] (pagina 3)")
                  .arg(bench.path("img")));
}

TEST(PublisherDraft, ReadsAIiifTwoManifestOfFacingPages) {
    PackBench bench;
    bench.write("img/a.jpg", noisyJpeg({200, 120}, 1));
    bench.write("img/b.jpg", noisyJpeg({200, 120}, 2));
    const char* json = R"({"@context": "http://iiif.io/api/presentation/2/context.json",
      "label": "Atlante", "sequences": [{"viewingHint": "paged", "canvases": [
        {"@id": "c1", "label": "2-3", "viewingHint": "facing-pages",
         "images": [{"resource": {"@id": "https://e.org/files/a.jpg"}}]},
        {"@id": "c2", "label": "4-5", "viewingHint": "facing-pages",
         "images": [{"resource": {"@id": "https://e.org/files/b.jpg"}}]}]}]})";
    const Draft d = draftFromIiif(json, bench.path("img"));
    ASSERT_EQ(d.books.size(), 1);
    // Openings whose first page is even: on the left from 0, labels 2k + 0 = 0002, 0004.
    EXPECT_EQ(d.books[0].label, "Atlante");
    EXPECT_EQ(numbering(d.books[0]), "2 S 0");
    EXPECT_EQ(d.books[0].pages.size(), 2);
    EXPECT_TRUE(d.report.isEmpty()) << d.report.join('\n').toStdString();
}
