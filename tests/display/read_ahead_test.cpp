// Reading ahead: the cache alone (what it answers, what it forgets, what it refuses) and a real
// viewer turning pages with it, a slow decoder included: every page shown is the page asked
// for, restored into the working image and decoded from it, and the background never changes
// what the reader sees.
#include "archive/archive_layout.h"
#include "display/paint_trace.h"
#include "tests/support/viewer.h"

#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using namespace cvx;
using namespace cvx::test;

namespace {
constexpr int kRight = 39, kLeft = 37, kShift = 16;

// Two books of pages large enough to be decoded at a size of their own.
pack::VolumeSpec readingVolume() {
    pack::VolumeSpec plan = standardVolume();
    plan.books[0] =
        makeBook(QStringLiteral("01 Lib.01 Antiporta"), 1, QLatin1Char('D'), 1, 6, QSize(600, 900));
    // Numbered on from the first book: typed numbers are looked up from the second book on.
    plan.books[1] = makeBook(QStringLiteral("02 Lib.02 Primo libro"), 1, QLatin1Char('D'), 7, 5,
                             QSize(600, 900));
    plan.books.removeLast();
    return plan;
}

// The entry of page `page` of book `book`, read from the archive's own directory.
PageKey keyOf(const TestVolume& v, int book, int page) {
    const QString path = v.path(pack::archiveName(book));
    const QByteArray slot =
        contentOf(path).mid(archive::slotTextPosition(page) - 1, archive::kSlotTextLength);
    const archive::SlotFields f = archive::splitSlotText(QString::fromLatin1(slot).trimmed());
    const auto entry = archive::entryLocation(f.offsetText, f.lengthText);
    return entry ? PageKey{path, entry->position, entry->length} : PageKey{};
}

// The bytes decoded at `size` by Qt directly, as an independent reference.
QImage decoded(QByteArray bytes, QSize size) {
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setScaledSize(size);
    reader.setQuality(100);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

QImage plain(QImage image) {
    image.setDevicePixelRatio(1);
    return image.convertToFormat(QImage::Format_RGB32);
}

// Lets the events posted end, then waits for the reading ahead they started.
void drain(ReadAhead& cache) {
    QCoreApplication::processEvents();
    cache.waitIdle();
}

// The same after an event of the window that showed a page.
void settle(Viewer& r) {
    drain(r.form->readAhead());
    QCoreApplication::processEvents();
}

// The page at (book, page) is what the reader sees: restored into the working image, that file's
// bytes given to the page image, and its pixels what the file decodes to at the size shown.
void expectShown(Viewer& r, int book, int page) {
    const QString where = QStringLiteral("book %1 page %2").arg(book).arg(page);
    EXPECT_TRUE(r.showing(book, page)) << where.toStdString();
    EXPECT_EQ(r.form->Combo2->ListIndex(), book);
    EXPECT_EQ(r.form->place.CurrentPageIndex, page);
    const QByteArray work = contentOf(r.volume.workImagePath());
    EXPECT_EQ(r.form->Image1->picture().bytes(), work) << where.toStdString();
    const QImage shown = plain(r.form->Image1->shownImage());
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(shown == decoded(work, shown.size())) << where.toStdString();
}

// A decoder that can be slowed down and made to fail, and says what it decoded and where.
class Recorder {
  public:
    ReadAhead::Decoder decoder() {
        return [this](const Picture& picture, QSize size) {
            std::this_thread::sleep_for(delay);
            {
                const std::lock_guard lock(mutex_);
                decoded_.push_back(picture.bytes());
                offWindowThread_ = offWindowThread_ && QThread::currentThread() != qApp->thread();
            }
            if (!failing.isEmpty() && picture.bytes().startsWith(failing))
                return Picture();
            return picture.decodedAt(size);
        };
    }
    // Indexes into `pages` of the pictures decoded, in order (-1 for none of them).
    std::vector<int> order(const QList<QByteArray>& pages) {
        const std::lock_guard lock(mutex_);
        std::vector<int> result;
        for (const QByteArray& bytes : decoded_) {
            int found = -1;
            for (int i = 0; i < pages.size(); ++i)
                if (bytes.startsWith(pages[i]))
                    found = i;
            result.push_back(found);
        }
        return result;
    }
    int count() {
        const std::lock_guard lock(mutex_);
        return static_cast<int>(decoded_.size());
    }
    void forget() {
        const std::lock_guard lock(mutex_);
        decoded_.clear();
    }
    bool offWindowThread() {
        const std::lock_guard lock(mutex_);
        return offWindowThread_;
    }

    std::chrono::milliseconds delay{0};
    QByteArray failing; // pictures starting with these bytes fail to decode

  private:
    std::mutex mutex_;
    std::vector<QByteArray> decoded_;
    bool offWindowThread_ = true;
};

PageView viewOf(const TestVolume& v) {
    return {v.folder(), {9000, 7000, 1}, false};
}
} // namespace

// ---- The cache alone ---------------------------------------------------------------------------

// A volume of pages and a cache decoding them through a recorder (a delay or a failing page
// set on it by the test); the cache, declared last, goes first: its threads call the recorder.
class RecordedReadAhead : public ::testing::Test {
  protected:
    RecordedReadAhead() { cache.setDecoder(recorder.decoder()); }
    TestVolume v{readingVolume()};
    Recorder recorder;
    ReadAhead cache;
};

TEST(ReadAheadCache, AnswersOnlyTheSameBytesAtTheSameSize) {
    TestVolume v(readingVolume());
    ReadAhead cache;
    const PageView view = viewOf(v);
    cache.prepare(view, keyOf(v, 0, 0), {keyOf(v, 0, 1), keyOf(v, 0, 2)});
    drain(cache);
    EXPECT_EQ(cache.cachedPages(), 2);

    const QByteArray page1 = pack::padded(v.plan.books[0].pages[1]);
    const QByteArray page2 = pack::padded(v.plan.books[0].pages[2]);
    // 600 x 900 pixels in a 9000 x 7000 area less the border: 6970 / 900 * 600 wide, rounded to
    // whole pixels at the top of the area.
    const QSize size = shownSizes(QSizeF(600 * 15, 900 * 15), view).front();
    ASSERT_EQ(size, QSize(310, 465));
    const Picture hit = cache.take(keyOf(v, 0, 1), page1, size);
    ASSERT_FALSE(hit.isNull());
    EXPECT_EQ(hit.bytes(), page1);
    EXPECT_TRUE(plain(hit.scaled(size)) == decoded(page1, size));
    EXPECT_TRUE(cache.take(keyOf(v, 0, 1), page2, size).isNull()) << "other bytes";
    EXPECT_TRUE(cache.take(keyOf(v, 0, 1), page1, size + QSize(1, 0)).isNull()) << "wider";
    EXPECT_TRUE(cache.take(keyOf(v, 0, 1), page1, size + QSize(0, 1)).isNull()) << "taller";
    EXPECT_TRUE(cache.take(keyOf(v, 0, 3), page1, size).isNull()) << "another page";
    EXPECT_EQ(cache.stats().hits, 1);
    EXPECT_EQ(cache.stats().misses, 4);
}

TEST(ReadAheadCache, AChangeOfViewForgetsEverythingAtOnce) {
    TestVolume v(readingVolume());
    const PageView view = viewOf(v);
    PageView wider = view, sharper = view, magnified = view, otherVolume = view;
    wider.area.width += 15;
    sharper.area.pixelRatio = 2;
    magnified.magnified = true;
    otherVolume.volume += QStringLiteral("-other");
    for (const PageView& changed : {wider, sharper, magnified, otherVolume}) {
        ReadAhead cache;
        cache.prepare(view, keyOf(v, 0, 0), {keyOf(v, 0, 1)});
        drain(cache);
        ASSERT_EQ(cache.cachedPages(), 1);
        // Nothing has run yet for the new view: what was there is gone already.
        cache.prepare(changed, keyOf(v, 0, 0), {keyOf(v, 0, 1)});
        EXPECT_EQ(cache.cachedPages(), 0);
        drain(cache);
        EXPECT_EQ(cache.cachedPages(), 1);
    }
}

TEST_F(RecordedReadAhead, KeepsTheNearestPagesOnlyAndForgetsThoseNoLongerAround) {
    std::vector<PageKey> five;
    for (int p = 1; p <= 5; ++p)
        five.push_back(keyOf(v, 0, p));
    cache.prepare(viewOf(v), keyOf(v, 0, 0), five);
    drain(cache);
    EXPECT_EQ(cache.cachedPages(), ReadAhead::kMaxAround);
    // The nearest three, then the page shown at its magnified size.
    EXPECT_EQ(recorder.order(v.plan.books[0].pages), (std::vector<int>{1, 2, 3, 0}));
    // Around page 4 now: 3 stays, 5 is read, 1 and 2 are forgotten.
    recorder.forget();
    cache.prepare(viewOf(v), keyOf(v, 0, 4), {keyOf(v, 0, 5), keyOf(v, 0, 3)});
    EXPECT_EQ(cache.cachedPages(), 3); // the event may still show 1 or 2 on its way
    drain(cache);
    EXPECT_EQ(cache.cachedPages(), 2);
    EXPECT_EQ(recorder.order(v.plan.books[0].pages), (std::vector<int>{5, 4}));
}

TEST_F(RecordedReadAhead, APageThatFailsInTheBackgroundIsSimplyNotCached) {
    recorder.failing = v.plan.books[0].pages[2];
    // Page 2 fails to decode; an entry beyond the archive's end cannot even be read.
    const PageKey beyond{keyOf(v, 0, 1).archive, keyOf(v, 0, 5).position + 1000000, 10000};
    cache.prepare(viewOf(v), keyOf(v, 0, 0), {keyOf(v, 0, 1), keyOf(v, 0, 2), beyond});
    drain(cache);
    EXPECT_EQ(cache.cachedPages(), 1);
    EXPECT_EQ(cache.stats().failed, 2);
    EXPECT_EQ(cache.stats().prepared, 2); // page 1, and page 0 magnified
}

TEST_F(RecordedReadAhead, APageBegunBeforeTheViewChangedIsPreparedAgainForTheNewOne) {
    recorder.delay = std::chrono::milliseconds(100);
    PageView view = viewOf(v);
    cache.prepare(view, keyOf(v, 0, 0), {keyOf(v, 0, 1)});
    QCoreApplication::processEvents();
    QThread::msleep(30); // page 1 is being decoded for the first view
    view.facing = true;
    cache.prepare(view, keyOf(v, 0, 0), {keyOf(v, 0, 1)});
    drain(cache);
    EXPECT_EQ(cache.cachedPages(), 1);
}

TEST_F(RecordedReadAhead, AnExpectedPageStartsAtOnceAndOutlivesThePagesShownOnTheWay) {
    recorder.delay = std::chrono::milliseconds(50);
    const PageView view = viewOf(v);
    // Inside one event: the page expected, then another page shown on the way with its own
    // neighbours; the event loop does not turn until the end.
    cache.expect(view, keyOf(v, 0, 4));
    cache.prepare(view, keyOf(v, 0, 0), {keyOf(v, 0, 1)});
    const QSize size = shownSizes(QSizeF(600 * 15, 900 * 15), view).front();
    const QByteArray page4 = pack::padded(v.plan.books[0].pages[4]);
    EXPECT_FALSE(cache.take(keyOf(v, 0, 4), page4, size).isNull()); // waits for it
    const QList<QByteArray> pages = v.plan.books[0].pages;
    EXPECT_EQ(recorder.order(pages), std::vector<int>{4});
    cache.prepare(view, keyOf(v, 0, 4), {keyOf(v, 0, 5)});
    drain(cache); // the event has ended: the pages around the last one
    EXPECT_EQ(recorder.order(pages), (std::vector<int>{4, 5, 4}));
    EXPECT_EQ(cache.cachedPages(), 2);
}

TEST(ReadAheadCache, DestroyedWhileAPageIsDecodedItWaitsForThatPageOnly) {
    TestVolume v(readingVolume());
    Recorder recorder;
    recorder.delay = std::chrono::milliseconds(150);
    {
        ReadAhead cache;
        cache.setDecoder(recorder.decoder());
        cache.prepare(viewOf(v), keyOf(v, 0, 0), {keyOf(v, 0, 1), keyOf(v, 0, 2)});
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    EXPECT_EQ(recorder.count(), 1);
}

// ---- A viewer reading with it ------------------------------------------------------------------

// After a reader's pause every turn takes its decode from the cache, fitted and magnified,
// inside a book and across books both ways, on pages of other sizes and shapes: the page
// loaders and the read-ahead work out the same sizes.
TEST(ReadAheadViewer, EveryTurnAfterAPauseTakesItsDecodeFromTheCache) {
    pack::VolumeSpec plan = readingVolume();
    const QSize sizes[] = {{600, 900}, {1200, 800}, {1600, 2400}, {701, 1003}};
    for (int i = 0; i < 6; ++i)
        plan.books[0].pages[i] = makeJpeg(sizes[i % 4], QColor::fromHsv(i * 50, 60, 240));
    Viewer r(plan);
    r.openAt(0, 3);
    struct Turn {
        int key, book, page, decodes; // pages shown: a book opens at its first page on the way
    };
    // Magnified, a turn shows the page fitted, then magnified; a page narrower than the screen
    // is magnified and reduced at its own size, which the magnified decode already has.
    const Turn walk[] = {{kRight, 0, 4, 1}, {kRight, 0, 5, 1}, {kRight, 1, 0, 2},
                         {kRight, 1, 1, 1}, {kLeft, 1, 0, 1},  {kLeft, 0, 5, 3},
                         {kShift, 0, 5, 1}, {kLeft, 0, 4, 2},  {kLeft, 0, 3, 2},
                         {kLeft, 0, 2, 2},  {kRight, 0, 3, 2}, {kShift, 0, 3, 1}};
    for (const Turn& t : walk) {
        settle(r);
        const ReadAhead::Stats before = r.form->readAhead().stats();
        r.key(t.key);
        expectShown(r, t.book, t.page);
        const ReadAhead::Stats after = r.form->readAhead().stats();
        EXPECT_EQ(after.hits - before.hits, t.decodes) << t.book << "/" << t.page;
        EXPECT_EQ(after.misses, before.misses) << t.book << "/" << t.page;
        EXPECT_LE(r.form->readAhead().cachedPages(), 1 + ReadAhead::kMaxAround);
    }
}

TEST(ReadAheadViewer, ATypedNumbersPageIsDecodedBesideTheOpeningOfItsBook) {
    Recorder recorder;
    recorder.delay = std::chrono::milliseconds(60);
    Viewer r(readingVolume());
    r.openAt(1, 4);
    settle(r);
    r.form->readAhead().setDecoder(recorder.decoder());
    r.form->readAhead().clear(); // the book's first page too is decoded on the window's thread
    recorder.forget();
    const ReadAhead::Stats before = r.form->readAhead().stats();
    r.form->Combo1->setText(QStringLiteral("8"));
    r.form->handleEvent([&] { r.form->Picture5_Click(); });
    EXPECT_TRUE(r.newBoxes().isEmpty());
    expectShown(r, 1, 1);
    // The page asked for was decoded off the window's thread while the event opened the book,
    // and taken from there: nothing else started meanwhile.
    EXPECT_EQ(r.form->readAhead().stats().hits, before.hits + 1);
    EXPECT_EQ(r.form->readAhead().stats().misses, before.misses + 1); // the first page
    const QList<QByteArray> pages = r.volume.plan.books[1].pages;
    EXPECT_EQ(recorder.order(pages), std::vector<int>{1});
    EXPECT_TRUE(recorder.offWindowThread());
    settle(r); // then the pages around it
    EXPECT_GT(recorder.count(), 1);
}

TEST(ReadAheadViewer, ATypedNumberNoPageAnswersExpectsNothingAndShowsTheLastPage) {
    Viewer r(readingVolume());
    settle(r);
    const ReadAhead::Stats before = r.form->readAhead().stats();
    r.form->Combo1->setText(QStringLiteral("99"));
    r.form->handleEvent([&] { r.form->Picture5_Click(); });
    EXPECT_EQ(r.newBoxes().size(), 1);
    expectShown(r, 1, 4);
    settle(r);
    EXPECT_EQ(r.form->readAhead().stats().failed, before.failed);
    EXPECT_LE(r.form->readAhead().cachedPages(), 1 + ReadAhead::kMaxAround);
}

TEST(ReadAheadViewer, AResizedViewingAreaIsNeverShownAnOldSize) {
    Viewer r(readingVolume());
    settle(r);
    r.form->SCHERMO->setHeight(r.form->SCHERMO->Height() - 1500);
    const ReadAhead::Stats before = r.form->readAhead().stats();
    r.key(kRight);
    expectShown(r, 0, 1);
    EXPECT_EQ(r.form->readAhead().stats().misses, before.misses + 1);
    settle(r);
    r.key(kRight);
    expectShown(r, 0, 2);
    EXPECT_EQ(r.form->readAhead().stats().hits, before.hits + 1);
}

TEST(ReadAheadViewer, RapidKeysWithASlowDecoderNeverShowAWrongPage) {
    Recorder recorder;
    recorder.delay = std::chrono::milliseconds(40);
    auto r = std::make_unique<Viewer>(readingVolume());
    r->form->readAhead().setDecoder(recorder.decoder());
    // Keys as fast as events come: each key is an event of its own, nothing waits in between.
    const int keys[] = {kRight, kRight, kRight, kLeft, kRight, kRight, kRight, kRight, kLeft};
    const int pages[] = {1, 2, 3, 2, 3, 4, 5, 0, 5}; // book 0 but the 8th: book 1's first page
    const int books[] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        r->key(keys[i]);
        QCoreApplication::processEvents();
        expectShown(*r, books[i], pages[i]);
        EXPECT_LE(r->form->readAhead().cachedPages(), 1 + ReadAhead::kMaxAround);
    }
    EXPECT_TRUE(recorder.offWindowThread());
    EXPECT_GT(recorder.count(), 0);
    // Closed while a page is being decoded behind it: nothing left running, nothing crashes.
    r->key(kRight);
    QCoreApplication::processEvents();
    r.reset();
}

TEST(ReadAheadViewer, BackgroundWorkNeverChangesWhatIsShown) {
    Recorder recorder;
    recorder.delay = std::chrono::milliseconds(30);
    Viewer r(readingVolume());
    r.form->readAhead().setDecoder(recorder.decoder());
    r.key(kRight);
    const QByteArray work = contentOf(r.volume.workImagePath());
    const QByteArray bytes = r.form->Image1->picture().bytes();
    const QImage shown = r.form->Image1->shownImage();
    const double left = r.form->Image1->Left(), width = r.form->Image1->Width();
    const QString text = r.form->Combo1->Text();
    settle(r); // the pages around are decoded meanwhile
    EXPECT_GT(recorder.count(), 0);
    EXPECT_EQ(contentOf(r.volume.workImagePath()), work);
    EXPECT_EQ(r.form->Image1->picture().bytes(), bytes);
    EXPECT_TRUE(r.form->Image1->shownImage() == shown);
    EXPECT_EQ(r.form->Image1->Left(), left);
    EXPECT_EQ(r.form->Image1->Width(), width);
    EXPECT_EQ(r.form->Combo1->Text(), text);
}

TEST(ReadAheadViewer, APageThatFailsInTheBackgroundIsReportedWhenTurnedTo) {
    pack::VolumeSpec plan = readingVolume();
    // Long enough to be stored, but no picture.
    plan.books[0].pages[2] = QByteArray(20000, 'x');
    Viewer r(plan);
    r.openAt(0, 1);
    settle(r);
    EXPECT_GE(r.form->readAhead().stats().failed, 1);
    (void)r.newBoxes();
    r.key(kRight);
    const QStringList boxes = r.newBoxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("IMPOSSIBILE LEGGERE LA PAGINA")));
    expectShown(r, 0, 1);
}

TEST(ReadAheadViewer, AGoodPageWhoseBackgroundDecodeFailsIsDecodedWhenShown) {
    Recorder recorder;
    Viewer r(readingVolume());
    recorder.failing = r.volume.plan.books[0].pages[1];
    r.form->readAhead().setDecoder(recorder.decoder());
    // Start-up read page 1 ahead already: forget it, and show the first page again.
    r.form->readAhead().clear();
    r.openAt(0, 0);
    settle(r);
    const ReadAhead::Stats before = r.form->readAhead().stats();
    EXPECT_GE(before.failed, 1);
    r.key(kRight);
    expectShown(r, 0, 1);
    EXPECT_TRUE(r.newBoxes().isEmpty());
    EXPECT_EQ(r.form->readAhead().stats().misses, before.misses + 1);
}

// ---- The start-up benchmark's marker ----------------------------------------------------------

TEST(PaintTrace, OneLineAfterTheFirstPaintWithAPageAndOnlyWithTheVariableSet) {
    QWidget widget;
    widget.resize(40, 40);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    bool hasPage = false;
    qunsetenv("CARTAVOX_BENCH_TRACE");
    traceFirstPagePaint(&widget, [&] { return true; });
    testing::internal::CaptureStderr();
    widget.repaint();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    qputenv("CARTAVOX_BENCH_TRACE", "1");
    traceFirstPagePaint(&widget, [&] { return hasPage; });
    qunsetenv("CARTAVOX_BENCH_TRACE");
    testing::internal::CaptureStderr();
    widget.repaint(); // no page yet
    hasPage = true;
    widget.repaint();
    widget.repaint();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "CARTAVOX_BENCH_TRACE: prima pagina dipinta\n");
}
