// The thumbnails of a book's pages for the overview: each page read from its archive, restored
// and decoded by libjpeg at the smallest DCT scale that gives the thumbnail's size, on all cores
// but the window's, only the pages asked for, in the order asked. Results come back on the window's
// thread; a page that cannot be read, restored or decoded comes back as a null image.
#pragma once

#include "display/read_ahead.h"
#include "platform/thread_safety.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>
#include <deque>
#include <functional>
#include <vector>

namespace cvx {

class ThumbnailLoader {
  public:
    // Called on the window's thread with the page's index in the list given to load().
    using Done = std::function<void(int index, const QImage& thumbnail)>;

    ThumbnailLoader();
    // Waits for the pages being decoded; nothing queued is started.
    ~ThumbnailLoader();
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

    // The thumbnails to come are those of `pages`, each fitted into `box` device pixels; `done`
    // runs for each. Forgets what an earlier call queued; nothing is decoded until want().
    void load(const std::vector<PageKey>& pages, QSize box, Done done);
    // Decodes the pages `indexes` (into the list given to load()) in that order, instead of
    // what was queued.
    void want(const std::vector<int>& indexes);
    // Drops what is queued and what is still being decoded.
    void stop();
    // Waits until nothing is queued or running (for tests and benchmarks).
    void waitIdle();

    // The JPEG of the entry `key`, read and restored; empty when it cannot be had.
    [[nodiscard]] static QByteArray pageBytes(const PageKey& key);
    // The thumbnail of the entry `key` fitted into `box`; null when it cannot be had.
    [[nodiscard]] static QImage thumbnail(const PageKey& key, QSize box);

  private:
    void work() CVX_EXCLUDES(mutex_);
    void startWorkers() CVX_REQUIRES(mutex_);

    Mutex mutex_;
    std::condition_variable_any idle_; // signalled when a worker stops
    std::vector<PageKey> pages_ CVX_GUARDED_BY(mutex_);
    QSize box_ CVX_GUARDED_BY(mutex_);
    Done done_ CVX_GUARDED_BY(mutex_);
    std::deque<int> queue_ CVX_GUARDED_BY(mutex_); // page indexes, next first
    int generation_ CVX_GUARDED_BY(mutex_) = 0;    // one per load(); older results are dropped
    int workers_ CVX_GUARDED_BY(mutex_) = 0;       // running
    QObject receiver_;                             // results are delivered through it
    QThreadPool pool_;                             // declared last: stopped first
};

} // namespace cvx
