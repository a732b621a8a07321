// The manifest's JSON: paths taken from the manifest's folder, unreadable manifests named.
#include "pack/manifest/manifest.h"

#include <gtest/gtest.h>

using namespace cvx::pack;

namespace {
const char* kValid = R"({"title": "T", "workFolder": "W", "cover": {"book": 1, "page": 1},
  "books": [{"label": "L", "kind": 1, "side": "D", "firstNumber": 1,
             "pages": ["p/1.jpg", "/abs/2.jpg"]}]})";

QString errorsOf(const QByteArray& json) {
    return parseManifest(json, "/m").errors.join('\n');
}
} // namespace

TEST(PackManifest, ValidManifestResolvesPathsFromItsFolder) {
    const ManifestRead r = parseManifest(kValid, "/data/scans");
    ASSERT_TRUE(r.errors.isEmpty()) << r.errors.join('\n').toStdString();
    EXPECT_EQ(r.manifest.jpegQuality, 90);
    EXPECT_EQ(r.manifest.secondLine, "");
    ASSERT_EQ(r.manifest.books.size(), 1);
    EXPECT_EQ(r.manifest.books[0].pages, QStringList({"p/1.jpg", "/abs/2.jpg"}));
    EXPECT_EQ(r.manifest.books[0].pageFiles, QStringList({"/data/scans/p/1.jpg", "/abs/2.jpg"}));
    EXPECT_TRUE(manifestProblems(r.manifest).isEmpty());
    const VolumeSpec plan = volumeSpec(r.manifest);
    EXPECT_EQ(plan.workFolderName, "W       ");
    EXPECT_EQ(plan.coverBook, 0);
    EXPECT_EQ(plan.coverEntry, 0);
}

TEST(PackManifest, UnreadableManifestsAreNamed) {
    const ManifestRead r = readManifest("/nonexistent/manifest.json");
    ASSERT_EQ(r.errors.size(), 1);
    EXPECT_EQ(r.errors[0], "impossibile leggere il manifesto /nonexistent/manifest.json");
    EXPECT_TRUE(errorsOf("{\"title\": ").startsWith("JSON non valido al carattere"));
    EXPECT_EQ(errorsOf("[]"), "il manifesto deve essere un oggetto JSON");
}

TEST(PackManifest, MessagesNameBookArchiveAndPageLabel) {
    ManifestRead r = parseManifest(kValid, "/m");
    r.manifest.books[0].kind = 0; // sheets from 1 on the right: 001d, 002s
    EXPECT_EQ(pageName(r.manifest, 0, 1),
              "libro 1 (dv00001.ex_, \"L\"), pagina 2 (002s, /abs/2.jpg)");
    r.manifest.books[0].kind = 7; // no label for an unknown kind
    EXPECT_EQ(pageName(r.manifest, 0, 0), "libro 1 (dv00001.ex_, \"L\"), pagina 1 (p/1.jpg)");
}
