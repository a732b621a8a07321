// Reading ahead: while the reader looks at a page, the pages a turn can show next are read from
// their archives, restored and decoded at the size they will be shown, on one background thread,
// into a small cache. The page loaders take a decode from it only when it was made from exactly
// the bytes they have just restored and at exactly the size they show; everything they do on
// screen and on disk stays theirs, on the window's thread.
#pragma once

#include "display/shown_geometry.h"
#include "platform/picture.h"
#include "platform/thread_safety.h"

#include <QByteArray>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QThreadPool>
#include <condition_variable>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace cvx {

// One archive entry: the archive's full path and the entry's 1-based position and length.
struct PageKey {
    QString archive;
    qint64 position = 0;
    qint64 length = 0;
    friend bool operator==(const PageKey&, const PageKey&) = default;
};

// The entry a directory slot's text names in the archive at `archive`; none when its position
// or length is no entry's.
[[nodiscard]] std::optional<PageKey> slotPageKey(const QString& archive, const QString& slotText);

// What the size of a shown page depends on.
struct PageView {
    QString volume;         // the volume's folder
    shown::Area area;       // the viewing area and the screen's pixel ratio
    bool magnified = false; // pages are shown magnified after a turn
    bool facing = false;    // pages are shown as facing pages after a turn
    friend bool operator==(const PageView&, const PageView&) = default;
};

// The device-pixel sizes a page of `natural` twips is decoded at when a turn shows it in `view`:
// first fitted at the top of the viewing area, then, when magnified, as wide as the viewing area,
// and with facing pages, fitted into half the area (the same on either side).
[[nodiscard]] std::vector<QSize> shownSizes(QSizeF natural, const PageView& view);

class ReadAhead {
  public:
    // `picture` carrying its decode at `size` device pixels (a null decode when it cannot be
    // decoded). Runs on the background thread.
    using Decoder = std::function<Picture(const Picture& picture, QSize size)>;

    // Pages read ahead around the shown one at most: the next (or the next book's first), the
    // previous, and the book's first, which a typed page number passes through.
    static constexpr int kMaxAround = 3;
    // With facing pages: the current opening's other page, and the next and previous openings'
    // two pages each (or the next book's first two, the previous book's last two and first).
    static constexpr int kMaxAroundFacing = 6;
    // Decoded bytes the pages around the shown one may hold at most.
    static constexpr qint64 kBudgetBytes = 256LL * 1024 * 1024;

    ReadAhead();
    // Waits for the page being prepared, if any; nothing queued is started.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Replaces the decoder (the default is Picture::decodedAt). Waits until nothing runs.
    void setDecoder(Decoder decoder);

    // `shown` is the page on screen, `around` the pages to prepare, nearest first, and then,
    // when the view is neither magnified nor facing, the shown page at its magnified size (held
    // apart from the
    // budget, for that page only). Queued work for pages no longer around is dropped, and the
    // pages themselves forgotten once the running event has ended; a change of `view` forgets
    // everything. Returns at once; the work starts once the running event has ended, so that
    // an event showing several pages in turn prepares only around the last one.
    void prepare(const PageView& view, const PageKey& shown, const std::vector<PageKey>& around);

    // `key` is the page the running event is about to show after others (a typed page number
    // opens its book at the first page on the way): it is prepared at once, beside the event,
    // and stays wanted until the event has ended. Nothing else is prepared before then.
    void expect(const PageView& view, const PageKey& key);

    // A picture decoded from exactly `bytes` at exactly `size`, when one was prepared for `key`;
    // null otherwise. Waits when that page is being prepared right now or is about to be.
    [[nodiscard]] Picture take(const PageKey& key, const QByteArray& bytes, QSize size);

    // Keeps `picture`, decoded on the window's thread at `size`, as the page shown in `view`, so
    // that loading the same page again (a book opened twice, start-up) reuses it.
    void keep(const PageView& view, const PageKey& key, const Picture& picture, QSize size);

    // Forgets everything prepared and drops queued work.
    void clear();

    // Waits until nothing is queued or running (for tests and benchmarks).
    void waitIdle();

    struct Stats {
        int hits = 0;     // takes answered from the cache
        int misses = 0;   // takes that found nothing
        int prepared = 0; // pages prepared in the background
        int failed = 0;   // pages that could not be read, restored or decoded there
    };
    [[nodiscard]] Stats stats() const;
    // Pages held now, the shown one included.
    [[nodiscard]] int cachedPages() const;

  private:
    struct Entry {
        PageKey key;
        QByteArray bytes; // the restored image the pictures were decoded from
        std::vector<std::pair<QSize, Picture>> pictures; // one per size, each holding its decode
        qint64 decodedBytes = 0;
    };

    // The helpers below work on the shared state: they run with mutex_ held.
    void startWhenIdle() CVX_REQUIRES(mutex_);
    void launch() CVX_REQUIRES(mutex_);
    [[nodiscard]] bool mayStart(const PageKey& key) const CVX_REQUIRES(mutex_);
    void useView(const PageView& view) CVX_REQUIRES(mutex_);
    void queueExpected() CVX_REQUIRES(mutex_);
    [[nodiscard]] Picture cachedPicture(const PageKey& key, const QByteArray& bytes,
                                        QSize size) const CVX_REQUIRES(mutex_);
    [[nodiscard]] bool hasWork() const CVX_REQUIRES(mutex_);
    // `key` is being prepared for the view in force.
    [[nodiscard]] bool preparing(const PageKey& key) const CVX_REQUIRES(mutex_);
    [[nodiscard]] bool takeWaits(const PageKey& key) const CVX_REQUIRES(mutex_);
    void forgetLens() CVX_REQUIRES(mutex_);
    [[nodiscard]] bool wanted(const PageKey& key) const CVX_REQUIRES(mutex_);
    [[nodiscard]] bool cached(const PageKey& key) const CVX_REQUIRES(mutex_);
    [[nodiscard]] qint64 aroundBytes() const CVX_REQUIRES(mutex_);
    void forgetUnwanted() CVX_REQUIRES(mutex_);
    void discardAll() CVX_REQUIRES(mutex_);

    // The background thread's loop; it takes mutex_ itself between pages.
    void work() CVX_EXCLUDES(mutex_);
    // The page restored and decoded at its shown sizes, or at its magnified size only (`lens`),
    // from values copied out of the shared state: runs without the lock.
    [[nodiscard]] static std::optional<Entry> prepareEntry(const PageKey& key, const PageView& view,
                                                           const Decoder& decoder, bool lens);

    mutable Mutex mutex_;
    std::condition_variable_any changed_; // signalled whenever a page is done or work stops
    Decoder decoder_ CVX_GUARDED_BY(mutex_);
    PageView view_ CVX_GUARDED_BY(mutex_);
    PageKey shown_ CVX_GUARDED_BY(mutex_);
    std::vector<PageKey> around_ CVX_GUARDED_BY(mutex_);
    std::optional<PageKey> expected_ CVX_GUARDED_BY(mutex_);
    // While an event runs, only the expected page is prepared.
    bool eventOnly_ CVX_GUARDED_BY(mutex_) = false;
    std::deque<PageKey> queue_ CVX_GUARDED_BY(mutex_);
    std::optional<PageKey> inFlight_ CVX_GUARDED_BY(mutex_);
    PageView inFlightView_ CVX_GUARDED_BY(mutex_); // the view it is being prepared for
    std::vector<Entry> entries_ CVX_GUARDED_BY(mutex_);
    std::optional<Entry> lens_ CVX_GUARDED_BY(mutex_); // the shown page at its magnified size
    bool lensPending_ CVX_GUARDED_BY(mutex_) = false;
    // Forgotten pages, freed on the background thread.
    std::vector<Entry> trash_ CVX_GUARDED_BY(mutex_);
    bool startPending_ CVX_GUARDED_BY(mutex_) = false;
    // Pages no longer around are forgotten once the event has ended.
    bool forgetPending_ CVX_GUARDED_BY(mutex_) = false;
    bool running_ CVX_GUARDED_BY(mutex_) = false;
    Stats stats_ CVX_GUARDED_BY(mutex_);
    QThreadPool pool_;
    QObject starter_; // receives the start once the event loop runs again
};

} // namespace cvx
