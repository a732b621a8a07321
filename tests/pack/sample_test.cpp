// The sample volume: drawn the same on every run, packed and verified by the tool, and started
// by the viewer.
#include "app/bookform.h"
#include "pack/volume/volume_builder.h"
#include "pack/volume/volume_check.h"
#include "sample/sample_volume.h"
#include "tests/support/fake_platform.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace cvx;

namespace {
QHash<QString, QByteArray> filesUnder(const QString& folder) {
    QHash<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        files.insert(QDir(folder).relativeFilePath(f.fileName()), f.readAll());
    }
    return files;
}

// The small sample, drawn and packed once for the tests of this file.
class SmallSample : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        scans_ = new QTemporaryDir;
        const sample::SampleReport drawn = sample::writeSample(scans_->path(), true);
        ASSERT_EQ(drawn.error, "");
        volume_ = scans_->filePath("volume");
        pack::BuildOptions o;
        o.manifestPath = scans_->filePath("manifest.json");
        o.outDir = volume_;
        o.viewerPath = scans_->filePath("manifest.json"); // any file stands for the viewer here
        report_ = new pack::BuildReport(pack::buildVolume(o));
    }
    static void TearDownTestSuite() {
        delete report_;
        delete scans_;
    }
    static QTemporaryDir* scans_;
    static QString volume_;
    static pack::BuildReport* report_;
};
QTemporaryDir* SmallSample::scans_ = nullptr;
QString SmallSample::volume_;
pack::BuildReport* SmallSample::report_ = nullptr;
} // namespace

TEST_F(SmallSample, IsDrawnTheSameOnEveryRun) {
    QTemporaryDir again;
    ASSERT_EQ(sample::writeSample(again.path(), true).error, "");
    QHash<QString, QByteArray> first = filesUnder(scans_->path());
    for (auto it = first.begin(); it != first.end();)
        it = it.key().startsWith("volume/") ? first.erase(it) : std::next(it);
    const QHash<QString, QByteArray> second = filesUnder(again.path());
    EXPECT_EQ(first.size(), 26); // 25 pages and the manifest
    EXPECT_TRUE(first == second);
}

TEST_F(SmallSample, PacksAndVerifies) {
    ASSERT_TRUE(report_->ok()) << report_->errors.join('\n').toStdString();
    EXPECT_EQ(report_->books, 5);
    EXPECT_EQ(report_->pages, 25);
    EXPECT_EQ(report_->convertedPages, 1);
    // Every book is numbered from 1, so a typed number opens the last book, the index, whose
    // pages start at 2: the pages of books 2 to 4 are reached only from the lists.
    ASSERT_EQ(report_->warnings.size(), 3) << report_->warnings.join('\n').toStdString();
    for (const QString& w : report_->warnings)
        EXPECT_TRUE(w.contains("digitando i loro numeri si apre il libro 5")) << w.toStdString();
    EXPECT_EQ(pack::verifyVolume(pack::readVolume(volume_)).join('\n'), "");
}

TEST_F(SmallSample, StartsInTheViewerWithItsTitlesAndBooks) {
    ASSERT_TRUE(report_->ok());
    QTemporaryDir root;
    test::FakePlatform platform;
    platform.root = root.path() + QLatin1Char('/');
    platform.folder = volume_;
    BookForm form(platform);
    ASSERT_NO_THROW(form.Form_Load());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(form.Label5[0]->Caption(), QString::fromLatin1("Theatro delle Piante\0", 21));
    ASSERT_EQ(form.List1.ListCount(), 5);
    ASSERT_EQ(form.Combo2->ListCount(), 5);
    EXPECT_EQ(form.Combo2->List(1), "02 Lib.02 Libro primo delle piante");
    EXPECT_EQ(form.Combo2->List(4), "05 Lib.05 Indice");
    EXPECT_TRUE(QFileInfo(root.filePath("TEATRO88")).isDir());
}
