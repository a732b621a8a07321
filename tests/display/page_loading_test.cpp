// Showing a page: its fit into the viewing area, the working image, and pages that cannot be
// shown, which leave the previous page on the screen, in the selectors and in the working image.
#include "tests/archive/archive_fixtures.h"

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
    QString label;
    int page = 0;
    int book = 0;
    std::int16_t current = 0;
    QByteArray workImage;
    QImage image;
    QRectF geometry;
    bool visible = false;

    explicit Shown(const Viewer& v)
        : label(v.form->Combo1->Text()), page(v.form->Combo1->ListIndex()),
          book(v.form->Combo2->ListIndex()), current(v.form->place.CurrentPageIndex),
          workImage(contentOf(v.volume.workImagePath())), image(shownPage(*v.form)),
          geometry(v.form->Image1->Left(), v.form->Image1->Top(), v.form->Image1->Width(),
                   v.form->Image1->Height()),
          visible(v.form->Image1->Visible()) {}
};

void expectSame(const Shown& before, const Shown& after) {
    EXPECT_EQ(after.label, before.label);
    EXPECT_EQ(after.page, before.page);
    EXPECT_EQ(after.book, before.book);
    EXPECT_EQ(after.current, before.current);
    EXPECT_EQ(after.workImage, before.workImage);
    EXPECT_EQ(after.image, before.image);
    EXPECT_EQ(after.geometry, before.geometry);
    EXPECT_EQ(after.visible, before.visible);
}

// Book 1 has pages 1-6, of which page 2 is no picture, page 3 is cut short in its slot, page 4
// lies outside the archive and page 5 has a length that is no number. Book 2 starts at 101, so a
// typed 2 is looked for in book 1.
pack::VolumeSpec damagedVolume() {
    pack::VolumeSpec plan = standardVolume();
    plan.books[1] = makeBook("Danneggiato", 1, 'D', 1, 6);
    plan.books[1].pages[1] = notAPicture();
    plan.books[2].firstNumber = 101;
    return plan;
}

// The JPEG with an EXIF orientation tag right after its start marker (6: turn 90 degrees).
QByteArray withOrientation(const QByteArray& jpeg, char orientation) {
    const QByteArray tiff = QByteArray("MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0", 19) +
                            orientation + QByteArray(6, '\0');
    const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const int length = static_cast<int>(app1.size()) + 2;
    return jpeg.left(2) + "\xff\xe1" + char(length >> 8) + char(length & 0xff) + app1 + jpeg.mid(2);
}

void damageSlots(const Viewer& v) {
    const QString archive = v.volume.path("dv00002.ex_");
    QByteArray slot = slotText(archive, 2);
    setSlotText(archive, 2, slot.left(15) + "0000100"); // 100 bytes: shorter than any entry
    slot = slotText(archive, 3);
    setSlotText(archive, 3, slot.left(5) + "0999999999" + slot.mid(15));
    slot = slotText(archive, 4);
    setSlotText(archive, 4, slot.left(15) + "00x7705");
}
} // namespace

TEST(PageFit, TallPageThroughThePageLoader) {
    // 600 x 900 pixels are 9000 x 13500 twips: in 9030 x 7030 the height limits it, as for the
    // 10000 x 15000 page of the same proportions.
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[1] = makeJpeg(QSize(600, 900), Qt::darkGreen, "2");
    Viewer v(plan);
    ASSERT_FALSE(v.start());
    BookForm& f = *v.form;
    f.SCHERMO->setWidth(9030);
    f.SCHERMO->setHeight(7030);
    f.Image1->setTop(-300);
    v.event([&] { f.Combo1->setListIndex(1); });
    ASSERT_TRUE(v.platform.boxes.empty());
    EXPECT_NEAR(f.view.WidthRatio, 1.0, 1e-6);
    EXPECT_NEAR(f.view.HeightRatio, 1.928571, 1e-6);
    EXPECT_EQ(f.view.PageScale, f.view.HeightRatio);
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
    ASSERT_FALSE(v.start());
    BookForm& f = *v.form;
    f.SCHERMO->setWidth(9030);
    f.SCHERMO->setHeight(7030);
    v.event([&] { f.Combo1->setListIndex(1); });
    EXPECT_DOUBLE_EQ(f.Image1->Width(), 9000);
    EXPECT_DOUBLE_EQ(f.Image1->Height(), 4500);
    EXPECT_DOUBLE_EQ(f.Image1->Left(), 15);
}

TEST(PageFit, PageIsDecodedAtTheSizeItIsShownAndEqualsTheWorkingImage) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[1] = makeJpeg(QSize(2400, 3600), Qt::darkCyan, "GRANDE");
    Viewer v(plan);
    ASSERT_FALSE(v.start());
    BookForm& f = *v.form;
    v.event([&] { f.Combo1->setListIndex(1); });
    const QImage shown = shownPage(f);
    const QSize pixels = f.Image1->widget()->size() * f.Image1->widget()->devicePixelRatioF();
    EXPECT_EQ(shown.size(), pixels);
    EXPECT_LT(shown.height(), 3600);
    QString error;
    const Picture fromFile = Picture::load(v.volume.workImagePath(), &error);
    ASSERT_FALSE(fromFile.isNull()) << error.toStdString();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              fromFile.scaled(pixels).convertToFormat(QImage::Format_RGB32));
}

TEST(PageFit, ShorterPageLeavesNoTraceOfTheLongerOne) {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0].pages[0] = makeJpeg(QSize(900, 1300), Qt::gray, "LUNGA");
    Viewer v(plan);
    ASSERT_FALSE(v.start());
    ASSERT_EQ(contentOf(v.volume.workImagePath()), pack::padded(plan.books[0].pages[0]));
    v.event([&] { v.form->Combo1->setListIndex(1); });
    EXPECT_EQ(contentOf(v.volume.workImagePath()), pack::padded(plan.books[0].pages[1]));
}

TEST(DamagedPage, PickedFromTheListLeavesThePreviousPage) {
    Viewer v(damagedVolume());
    damageSlots(v);
    ASSERT_FALSE(v.start());
    v.event([&] { v.form->Combo2->setListIndex(1); });
    ASSERT_TRUE(v.platform.boxes.empty());
    const Shown before(v);
    for (int page = 1; page <= 4; ++page) {
        // The reader picks the page from the list: the combo box reports it.
        emit v.form->Combo1->combo()->activated(page);
        ASSERT_EQ(v.platform.boxes.size(), static_cast<size_t>(page));
        EXPECT_EQ(v.platform.boxes.back().text,
                  QStringLiteral("IMPOSSIBILE LEGGERE LA PAGINA 000%1 DALL'ARCHIVIO dv00002.ex_")
                      .arg(page + 1));
        EXPECT_EQ(v.platform.boxes.back().title, "- A T T E N Z I O N E -");
        expectSame(before, Shown(v));
    }
    v.event([&] { v.form->Combo1->setListIndex(5); });
    EXPECT_EQ(v.platform.boxes.size(), 4u);
    EXPECT_EQ(v.form->Combo1->Text(), "0006");
}

TEST(DamagedPage, TypedNumberLeavesThePreviousPage) {
    Viewer v(damagedVolume());
    ASSERT_FALSE(v.start());
    v.event([&] { v.form->Combo1->setListIndex(2); });
    const Shown before(v);
    v.form->Combo1->setText("2"); // typed, not yet confirmed
    v.event([&] { v.form->Picture5_Click(); });
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text,
              "IMPOSSIBILE LEGGERE LA PAGINA 0002 DALL'ARCHIVIO dv00002.ex_");
    // Back in the first book, on its third page, the selector showing that page.
    expectSame(before, Shown(v));
    EXPECT_EQ(v.form->place.ArchivePath, "dv00001.ex_");
    EXPECT_EQ(v.form->Combo1->Text(), "0003");
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"0001", "0002", "0003", "0004"}));
}

TEST(DamagedPage, WorkingImageThatCannotBeWrittenIsNamed) {
    Viewer v;
    ASSERT_FALSE(v.start());
    const Shown before(v);
    ASSERT_TRUE(QFile::remove(v.volume.workImagePath()));
    ASSERT_TRUE(QDir().mkdir(v.volume.workImagePath())); // a folder in the file's place
    v.event([&] { v.form->Combo1->setListIndex(2); });
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text,
              "IMPOSSIBILE SCRIVERE IL FILE " + QDir::toNativeSeparators(v.volume.workImagePath()));
    EXPECT_EQ(v.form->Combo1->Text(), before.label);
    EXPECT_EQ(shownPage(*v.form), before.image);
}

TEST(DamagedPage, MissingArchiveKeepsTheCurrentBook) {
    Viewer v;
    ASSERT_FALSE(v.start());
    const Shown before(v);
    ASSERT_TRUE(QFile::remove(v.volume.path("dv00002.ex_")));
    emit v.form->Combo2->combo()->activated(1);
    ASSERT_EQ(v.platform.boxes.size(), 1u);
    EXPECT_EQ(v.platform.boxes[0].text, "IMPOSSIBILE LEGGERE L'ARCHIVIO dv00002.ex_");
    expectSame(before, Shown(v));
    EXPECT_EQ(v.form->place.ArchivePath, "dv00001.ex_");
    EXPECT_EQ(v.form->Combo1->items(), QStringList({"0001", "0002", "0003", "0004"}));
}

TEST(DamagedPage, RestoringAnEntryInThePageLoaderUndoesItsHead) {
    Viewer v;
    v.form = std::make_unique<BookForm>(v.platform);
    QByteArray entry(7705, '\x55');
    entry[0] = 16;
    entry[3853] = 32;
    entry[1] = 31;
    entry[3854] = 32;
    v.form->PageData = entry;
    v.form->place.PageLength = "0007705";
    v.form->DECDPAG();
    const QByteArray restored = v.form->PageData;
    EXPECT_EQ(static_cast<unsigned char>(restored[0]), 240);
    EXPECT_EQ(static_cast<unsigned char>(restored[1]), 255);
    EXPECT_EQ(static_cast<unsigned char>(restored[2]), 0); // 0x55 - 0x55
    EXPECT_EQ(restored.size(), 7705);
    EXPECT_EQ(restored.mid(3852), entry.mid(3852));
    v.form->DECDPAG(); // a second restoration does not give the stored entry back
    EXPECT_NE(v.form->PageData, entry);
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
    ASSERT_FALSE(v.start());
    int unreadable = 0;
    for (int i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].toStdString());
        // The independent judge: Qt's own reader on the original file.
        QImageReader reader(files[i]);
        const bool readable = !reader.read().isNull();
        const size_t boxes = v.platform.boxes.size();
        v.event([&] { v.form->Combo1->setListIndex(i + 1); });
        if (readable) {
            EXPECT_EQ(v.platform.boxes.size(), boxes);
            EXPECT_EQ(v.form->place.CurrentPageIndex, i + 1);
            EXPECT_FALSE(shownPage(*v.form).isNull());
        } else {
            ++unreadable;
            ASSERT_EQ(v.platform.boxes.size(), boxes + 1);
            EXPECT_TRUE(v.platform.boxes.back().text.startsWith("IMPOSSIBILE LEGGERE LA PAGINA"));
        }
    }
    EXPECT_GE(unreadable, 1); // the empty file at least
}
