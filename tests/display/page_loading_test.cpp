// Showing a page: its fit into the viewing area, the working image, and pages that cannot be
// shown, which leave the previous page on the screen, in the selectors and in the working image.
#include "tests/support/viewer.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QImageReader>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
// Everything that tells which page is on the screen.
struct Shown {
    explicit Shown(const Viewer& v)
        : label(v.pageText()), page(v.form->Combo1->ListIndex()), book(v.book()),
          current(v.form->place.CurrentPageIndex), workImage(contentOf(v.volume.workImagePath())),
          image(v.shownImage()), geometry(v.form->Image1->Left(), v.form->Image1->Top(),
                                          v.form->Image1->Width(), v.form->Image1->Height()),
          visible(v.form->Image1->Visible()) {}
    bool operator==(const Shown&) const = default;
    QString label;
    int page, book, current;
    QByteArray workImage;
    QImage image;
    QRectF geometry;
    bool visible;
};

// Book 1 has pages 1-6, of which page 2 is no picture and page 3 is cut short in its slot. Book 2
// starts at 101, so a typed 2 is looked for in book 1.
pack::VolumeSpec damagedVolume() {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1] = makeBook("Danneggiato", 1, 'D', 1, 6);
    plan.books[1].pages[1] = notAPicture();
    plan.books[2].firstNumber = 101;
    return plan;
}
} // namespace

TEST(PageFit, TallPageThroughThePageLoaderKeepsItsTop) {
    // 600 x 900 pixels are 9000 x 13500 twips: in 9030 x 7030 the height limits it.
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[1] = makeJpeg(QSize(600, 900), Qt::darkGreen, "2");
    Viewer v(plan);
    BookForm& f = *v.form;
    f.SCHERMO->setWidth(9030);
    f.SCHERMO->setHeight(7030);
    f.Image1->setTop(-300);
    v.event([&] { f.Combo1->setListIndex(1); });
    ASSERT_TRUE(v.platform.boxes.empty());
    EXPECT_NEAR(f.view.PageWidth, 4666.67, 0.01);
    EXPECT_NEAR(f.view.PageHeight, 7000, 0.01);
    EXPECT_NEAR(f.Image1->Width(), 4666.67, 0.01);
    EXPECT_NEAR(f.Image1->Left(), 2181.67, 0.01);
    EXPECT_EQ(f.Image1->Top(), -300); // a page pick keeps the page's top
    EXPECT_TRUE(f.Image1->Stretch());
    EXPECT_EQ(f.Image1->picture().pixelSize(), QSize(600, 900));
}

TEST(PageFit, WideSheetFillsTheWidthWhateverItsOrientationTag) {
    pack::VolumeSpec plan = standardVolume();
    // The viewer shows the stored pixels: the tag that would stand it upright turns nothing.
    plan.books[0].pages[1] = withOrientation(makeJpeg(QSize(1200, 600), Qt::darkGreen, "2"), 6);
    QBuffer tagged(&plan.books[0].pages[1]);
    ASSERT_EQ(QImageReader(&tagged).transformation(), QImageIOHandler::TransformationRotate90);
    Viewer v(plan);
    BookForm& f = *v.form;
    f.SCHERMO->setWidth(9030);
    f.SCHERMO->setHeight(7030);
    v.event([&] { f.Combo1->setListIndex(1); });
    EXPECT_EQ(QRectF(f.Image1->Left(), 0, f.Image1->Width(), f.Image1->Height()),
              QRectF(15, 0, 9000, 4500));
}

TEST(PageFit, PageIsDecodedAtTheSizeItIsShownAndEqualsTheWorkingImage) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[1] = makeJpeg(QSize(2400, 3600), Qt::darkCyan, "GRANDE");
    Viewer v(plan);
    v.event([&] { v.form->Combo1->setListIndex(1); });
    const QImage shown = v.shownImage();
    const QWidget* page = v.form->Image1->widget();
    const QSize pixels = page->size() * page->devicePixelRatioF();
    EXPECT_EQ(shown.size(), pixels);
    EXPECT_LT(shown.height(), 3600);
    QString error;
    const Picture fromFile = Picture::load(v.volume.workImagePath(), &error);
    ASSERT_FALSE(fromFile.isNull()) << error.toStdString();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              fromFile.scaled(pixels).convertToFormat(QImage::Format_RGB32));
}

TEST(DamagedPage, PickedFromTheListLeavesThePreviousPage) {
    Viewer v(damagedVolume(), Start::later);
    patchSlot(v.volume.path("dv00002.ex_"), 2, 16, "0000100"); // shorter than any entry
    ASSERT_FALSE(v.start());
    v.event([&] { v.form->Combo2->setListIndex(1); });
    ASSERT_TRUE(v.platform.boxes.empty());
    const Shown before(v);
    for (int page = 1; page <= 2; ++page) {
        // The reader picks the page from the list: the combo box reports it.
        emit v.form->Combo1->combo()->activated(page);
        EXPECT_EQ(v.newBoxes(),
                  QStringList{QStringLiteral("IMPOSSIBILE LEGGERE LA PAGINA 000%1 DALL'ARCHIVIO "
                                             "dv00002.ex_")
                                  .arg(page + 1)});
        EXPECT_EQ(v.platform.boxes.back().title, "- A T T E N Z I O N E -");
        EXPECT_TRUE(Shown(v) == before);
    }
    v.event([&] { v.form->Combo1->setListIndex(5); });
    EXPECT_EQ(v.newBoxes(), QStringList());
    EXPECT_EQ(v.pageText(), "0006");
}

TEST(DamagedPage, TypedNumberLeavesThePreviousPage) {
    Viewer v(damagedVolume());
    v.event([&] { v.form->Combo1->setListIndex(2); });
    const Shown before(v);
    v.typeNumber("2");
    EXPECT_EQ(v.newBoxes(),
              QStringList{"IMPOSSIBILE LEGGERE LA PAGINA 0002 DALL'ARCHIVIO dv00002.ex_"});
    // Back in the first book, on its third page, the selector showing that page.
    EXPECT_TRUE(Shown(v) == before);
    EXPECT_EQ(v.form->place.ArchivePath, "dv00001.ex_");
    EXPECT_EQ(v.pageText(), "0003");
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"0001", "0002", "0003", "0004"}));
}

TEST(DamagedPage, WorkingImageThatCannotBeWrittenIsNamed) {
    Viewer v;
    const Shown before(v);
    ASSERT_TRUE(QFile::remove(v.volume.workImagePath()));
    ASSERT_TRUE(QDir().mkdir(v.volume.workImagePath())); // a folder in the file's place
    v.event([&] { v.form->Combo1->setListIndex(2); });
    EXPECT_EQ(v.newBoxes(), QStringList{"IMPOSSIBILE SCRIVERE IL FILE " +
                                        QDir::toNativeSeparators(v.volume.workImagePath())});
    EXPECT_EQ(v.pageText(), before.label);
    EXPECT_EQ(v.shownImage(), before.image);
}

TEST(DamagedPage, MissingArchiveKeepsTheCurrentBook) {
    Viewer v;
    const Shown before(v);
    ASSERT_TRUE(QFile::remove(v.volume.path("dv00002.ex_")));
    emit v.form->Combo2->combo()->activated(1);
    EXPECT_EQ(v.newBoxes(), QStringList{"IMPOSSIBILE LEGGERE L'ARCHIVIO dv00002.ex_"});
    EXPECT_TRUE(Shown(v) == before);
    EXPECT_EQ(v.form->place.ArchivePath, "dv00001.ex_");
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"0001", "0002", "0003", "0004"}));
}

TEST(Corpus, ReadablePicturesDisplayAndOthersAreReported) {
    const QString corpus = qEnvironmentVariable("CARTAVOX_CORPUS");
    ASSERT_TRUE(!corpus.isEmpty() && QDir(corpus).exists())
        << "corpus folder missing: " << corpus.toStdString();
    QStringList files;
    QDirIterator it(corpus, {"*.jpg", "*.jpeg"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    ASSERT_GE(files.size(), 20);

    pack::VolumeSpec plan = standardVolume();
    plan.books[0] = makeBook("Corpus", 1, 'D', 1, 1);
    for (const QString& file : files)
        plan.books[0].pages << contentOf(file);
    Viewer v(plan);
    int unreadable = 0;
    for (int i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].toStdString());
        // The independent judge: Qt's own reader on the original file.
        const bool readable = !QImageReader(files[i]).read().isNull();
        v.event([&] { v.form->Combo1->setListIndex(i + 1); });
        const QStringList boxes = v.newBoxes();
        if (readable) {
            EXPECT_EQ(boxes, QStringList());
            EXPECT_EQ(v.form->place.CurrentPageIndex, i + 1);
            EXPECT_FALSE(v.shownImage().isNull());
        } else {
            ++unreadable;
            ASSERT_EQ(boxes.size(), 1);
            EXPECT_TRUE(boxes[0].startsWith("IMPOSSIBILE LEGGERE LA PAGINA"));
        }
    }
    EXPECT_GE(unreadable, 1); // the empty file at least
}
