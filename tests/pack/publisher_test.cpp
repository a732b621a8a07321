// The publisher's helpers: thumbnails at libjpeg's reduced scales against Qt's own decode,
// first manifests from folder names (IIIF manifests: iiif_import_test.cpp).
#include "pack/manifest/manifest_draft.h"
#include "platform/jpeg_decoder.h"
#include "platform/thumbnail.h"
#include "tests/pack/pack_fixture.h"

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::pack;
using namespace cvx::test;

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
