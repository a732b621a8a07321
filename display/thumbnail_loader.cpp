// Thumbnails decoded on all cores but the window's.
#include "display/thumbnail_loader.h"

#include "archive/entry_restore.h"
#include "platform/files.h"
#include "platform/thumbnail.h"

#include <QThread>
#include <algorithm>

namespace cvx {

ThumbnailLoader::ThumbnailLoader() {
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

ThumbnailLoader::~ThumbnailLoader() {
    stop();
    pool_.waitForDone();
}

QByteArray ThumbnailLoader::pageBytes(const PageKey& key) {
    files::Read read = files::readAt(key.archive, key.position, key.length);
    if (read.status != files::Status::Ok || read.data.size() != key.length ||
        !archive::restoreEntry(read.data))
        return {};
    return read.data;
}

QImage ThumbnailLoader::thumbnail(const PageKey& key, QSize box) {
    const QByteArray jpeg = pageBytes(key);
    return jpeg.isEmpty() ? QImage() : decodeThumbnail(jpeg, box);
}

void ThumbnailLoader::load(const std::vector<PageKey>& pages, QSize box, Done done) {
    const MutexLock lock(mutex_);
    ++generation_;
    pages_ = pages;
    box_ = box;
    done_ = std::move(done);
    queue_.clear();
}

void ThumbnailLoader::want(const std::vector<int>& indexes) {
    const MutexLock lock(mutex_);
    queue_.clear();
    for (const int i : indexes)
        if (i >= 0 && i < static_cast<int>(pages_.size()))
            queue_.push_back(i);
    startWorkers();
}

void ThumbnailLoader::stop() {
    const MutexLock lock(mutex_);
    ++generation_;
    queue_.clear();
}

void ThumbnailLoader::waitIdle() {
    const MutexLock lock(mutex_);
    while (workers_ > 0)
        idle_.wait(mutex_);
}

void ThumbnailLoader::startWorkers() {
    const int wanted = std::min<int>(pool_.maxThreadCount(), static_cast<int>(queue_.size()));
    for (; workers_ < wanted; ++workers_)
        pool_.start([this] { work(); });
}

void ThumbnailLoader::work() {
    for (;;) {
        PageKey key;
        QSize box;
        int index = 0, generation = 0;
        {
            const MutexLock lock(mutex_);
            if (queue_.empty()) {
                --workers_;
                idle_.notify_all();
                return;
            }
            index = queue_.front();
            queue_.pop_front();
            key = pages_[static_cast<std::size_t>(index)];
            box = box_;
            generation = generation_;
        }
        const QImage image = thumbnail(key, box);
        QMetaObject::invokeMethod(
            &receiver_,
            [this, index, generation, image] {
                Done done;
                {
                    const MutexLock lock(mutex_);
                    if (generation != generation_)
                        return; // for a book no longer shown
                    done = done_;
                }
                done(index, image);
            },
            Qt::QueuedConnection);
    }
}

} // namespace cvx
