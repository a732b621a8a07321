// Reading ahead on one background thread, into a small cache of restored and decoded pages.
#include "display/read_ahead.h"

#include "archive/archive_layout.h"
#include "archive/entry_restore.h"
#include "display/fit_geometry.h"
#include "display/opening_rules.h"
#include "platform/files.h"

#include <QThread>
#include <QTimer>
#include <algorithm>
#include <iterator>

namespace cvx {

std::optional<PageKey> slotPageKey(const QString& archive, const QString& slotText) {
    const archive::SlotFields fields = archive::splitSlotText(slotText);
    const auto entry = archive::entryLocation(fields.offsetText, fields.lengthText);
    if (!entry)
        return std::nullopt;
    return PageKey{archive, entry->position, entry->length};
}

namespace {
// On the background thread: the page it decodes now is the one an event waits for.
thread_local bool awaitedHere = false;

qint64 imageBytes(QSize size) {
    return qint64(size.width()) * size.height() * 4;
}
} // namespace

std::vector<QSize> shownSizes(QSizeF natural, const PageView& view) {
    std::vector<QSize> sizes;
    if (natural.isEmpty() || view.area.width <= fit::kBorderAllowance ||
        view.area.height <= fit::kBorderAllowance)
        return sizes;
    sizes.push_back(shown::fitted(natural, view.area, shown::kTopOfArea).pixels);
    if (view.magnified)
        sizes.push_back(shown::magnified(natural, view.area).pixels);
    if (view.facing)
        if (const QSize half = openings::facingPlaced(natural, view.area, false).pixels;
            std::find(sizes.begin(), sizes.end(), half) == sizes.end())
            sizes.push_back(half);
    return sizes;
}

ReadAhead::ReadAhead()
    : decoder_([](const Picture& picture, QSize size) {
          // Its bands on every core but the window's; a page the window waits for on all.
          return picture.decodedAt(size, QThread::idealThreadCount() - (awaitedHere ? 0 : 1));
      }) {
    // One page at a time beside the window's thread: the reader's turn keeps a core of its own.
    pool_.setMaxThreadCount(1);
}

ReadAhead::~ReadAhead() {
    {
        const MutexLock lock(mutex_);
        queue_.clear();
        lensPending_ = false;
    }
    pool_.waitForDone();
}

void ReadAhead::setDecoder(Decoder decoder) {
    const MutexLock lock(mutex_);
    while (running_)
        changed_.wait(mutex_);
    decoder_ = std::move(decoder);
}

void ReadAhead::prepare(const PageView& view, const PageKey& shown,
                        const std::vector<PageKey>& around) {
    const MutexLock lock(mutex_);
    useView(view);
    if (!(shown == shown_))
        forgetLens();
    shown_ = shown;
    // Last of all, the page shown as Shift would magnify it; facing pages leave it for later.
    lensPending_ = !view.magnified && !view.facing && !shown.archive.isEmpty() && !lens_ &&
                   !(inFlight_ && *inFlight_ == shown);
    const auto most = static_cast<std::size_t>(view.facing ? kMaxAroundFacing : kMaxAround);
    around_.assign(around.begin(), around.begin() + std::min(around.size(), most));
    // Forgotten once the event has ended: an event that shows a page on the way to another (a
    // book opened at its first page on the way to its last) still finds the last one.
    forgetPending_ = true;
    queue_.clear();
    for (const PageKey& key : around_)
        if (!cached(key) && !preparing(key))
            queue_.push_back(key);
    queueExpected();
    startWhenIdle();
}

void ReadAhead::expect(const PageView& view, const PageKey& key) {
    const MutexLock lock(mutex_);
    useView(view);
    expected_ = key;
    eventOnly_ = true;
    queueExpected();
    if (!running_)
        launch();
    QTimer::singleShot(0, &starter_, [this] {
        const MutexLock ended(mutex_);
        expected_.reset();
        eventOnly_ = false;
        forgetUnwanted();
        if (!running_ && hasWork())
            launch();
    });
}

bool ReadAhead::takeWaits(const PageKey& key) const {
    // Being prepared right now, or picked up next by a thread just started.
    const bool starting = running_ && !inFlight_ && !queue_.empty() && queue_.front() == key;
    return (inFlight_ && *inFlight_ == key) || starting;
}

Picture ReadAhead::take(const PageKey& key, const QByteArray& bytes, QSize size) {
    const MutexLock lock(mutex_);
    Picture found = cachedPicture(key, bytes, size);
    if (found.isNull()) {
        while (takeWaits(key))
            changed_.wait(mutex_);
        found = cachedPicture(key, bytes, size);
    }
    if (!found.isNull()) {
        ++stats_.hits;
        return found;
    }
    ++stats_.misses;
    // The window's thread decodes it now: the same work queued would be wasted.
    std::erase(queue_, key);
    return {};
}

Picture ReadAhead::cachedPicture(const PageKey& key, const QByteArray& bytes, QSize size) const {
    const auto matches = [&](const Entry& entry) -> Picture {
        if (!(entry.key == key) || entry.bytes != bytes)
            return {};
        for (const auto& [decoded, picture] : entry.pictures)
            if (decoded == size)
                return picture;
        return {};
    };
    for (const Entry& entry : entries_)
        if (const Picture p = matches(entry); !p.isNull())
            return p;
    return lens_ ? matches(*lens_) : Picture();
}

void ReadAhead::keep(const PageView& view, const PageKey& key, const Picture& picture, QSize size) {
    const MutexLock lock(mutex_);
    useView(view);
    shown_ = key;
    forgetUnwanted();
    auto entry = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& e) { return e.key == key; });
    if (entry != entries_.end() && entry->bytes != picture.bytes()) {
        trash_.push_back(std::move(*entry));
        entries_.erase(entry);
        entry = entries_.end();
    }
    if (entry == entries_.end()) {
        entries_.push_back({key, picture.bytes(), {}, 0});
        entry = entries_.end() - 1;
    }
    std::erase_if(entry->pictures, [&](const auto& p) { return p.first == size; });
    entry->pictures.emplace_back(size, picture);
    entry->decodedBytes += imageBytes(size);
}

void ReadAhead::clear() {
    const MutexLock lock(mutex_);
    discardAll();
    around_.clear();
    shown_ = {};
    expected_.reset();
    lensPending_ = false;
    startWhenIdle();
}

void ReadAhead::waitIdle() {
    const MutexLock lock(mutex_);
    if (!running_ && hasWork())
        launch();
    while (running_)
        changed_.wait(mutex_);
}

ReadAhead::Stats ReadAhead::stats() const {
    const MutexLock lock(mutex_);
    return stats_;
}

int ReadAhead::cachedPages() const {
    const MutexLock lock(mutex_);
    return static_cast<int>(entries_.size());
}

void ReadAhead::startWhenIdle() {
    if (startPending_ || (!forgetPending_ && (running_ || !hasWork())))
        return;
    startPending_ = true;
    QTimer::singleShot(0, &starter_, [this] {
        const MutexLock lock(mutex_);
        startPending_ = false;
        if (forgetPending_) {
            forgetPending_ = false;
            forgetUnwanted();
        }
        if (!running_ && hasWork())
            launch();
    });
}

bool ReadAhead::preparing(const PageKey& key) const {
    // A page begun for another view is dropped when done: it must be queued again.
    return inFlight_ && *inFlight_ == key && inFlightView_ == view_;
}

bool ReadAhead::hasWork() const {
    return !queue_.empty() || !trash_.empty() || (lensPending_ && !eventOnly_);
}

void ReadAhead::launch() {
    running_ = true;
    pool_.start([this] { work(); });
}

void ReadAhead::work() {
    for (;;) {
        std::vector<Entry> garbage; // freed here, off the window's thread
        PageKey key;
        PageView view;
        Decoder decoder;
        bool lens = false;
        {
            const MutexLock lock(mutex_);
            garbage.swap(trash_);
            if (!queue_.empty() && mayStart(queue_.front())) {
                key = queue_.front();
                queue_.pop_front();
            } else if (lensPending_ && !eventOnly_) {
                key = shown_;
                lens = true;
                lensPending_ = false;
            } else {
                running_ = false;
                changed_.notify_all();
                return;
            }
            inFlight_ = key;
            inFlightView_ = view_;
            view = view_;
            decoder = decoder_;
            awaitedHere = expected_ && *expected_ == key;
        }
        garbage.clear();
        std::optional<Entry> entry = prepareEntry(key, view, decoder, lens);
        const MutexLock lock(mutex_);
        inFlight_.reset();
        if (!entry) {
            ++stats_.failed; // simply not cached: the page loader reports it if it is shown
        } else if (lens && view == view_ && key == shown_ && !lens_) {
            lens_ = std::move(*entry);
            ++stats_.prepared;
        } else if (!lens && view == view_ && wanted(key) && !cached(key) &&
                   aroundBytes() + entry->decodedBytes <= kBudgetBytes) {
            entries_.push_back(std::move(*entry));
            ++stats_.prepared;
        } else {
            trash_.push_back(std::move(*entry));
        }
        changed_.notify_all();
    }
}

std::optional<ReadAhead::Entry> ReadAhead::prepareEntry(const PageKey& key, const PageView& view,
                                                        const Decoder& decoder, bool lens) {
    files::Read read = files::readAt(key.archive, key.position, key.length);
    if (read.status != files::Status::Ok || read.data.size() != key.length)
        return std::nullopt;
    Entry entry{key, std::move(read.data), {}, 0}; // restored in place, not copied
    if (!archive::restoreEntry(entry.bytes))
        return std::nullopt;
    const Picture header = Picture::fromBytes(entry.bytes, key.archive, nullptr);
    if (header.isNull())
        return std::nullopt;
    const std::vector<QSize> sizes =
        lens ? std::vector{shown::magnified(header.naturalTwips(), view.area).pixels}
             : shownSizes(header.naturalTwips(), view);
    for (const QSize size : sizes) {
        const Picture decoded = decoder(header, size);
        if (decoded.isNull() || decoded.scaled(size).isNull())
            return std::nullopt;
        entry.pictures.emplace_back(size, decoded);
        entry.decodedBytes += imageBytes(size);
    }
    if (entry.pictures.empty())
        return std::nullopt;
    return entry;
}

bool ReadAhead::wanted(const PageKey& key) const {
    return key == shown_ || (expected_ && key == *expected_) ||
           std::find(around_.begin(), around_.end(), key) != around_.end();
}

bool ReadAhead::mayStart(const PageKey& key) const {
    return !eventOnly_ || (expected_ && key == *expected_);
}

void ReadAhead::useView(const PageView& view) {
    if (view == view_)
        return;
    discardAll();
    around_.clear();
    view_ = view;
}

void ReadAhead::queueExpected() {
    if (!expected_ || cached(*expected_) || preparing(*expected_))
        return;
    std::erase(queue_, *expected_);
    queue_.push_front(*expected_);
}

bool ReadAhead::cached(const PageKey& key) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.key == key; });
}

qint64 ReadAhead::aroundBytes() const {
    qint64 total = 0;
    for (const Entry& e : entries_)
        if (!(e.key == shown_))
            total += e.decodedBytes;
    return total;
}

void ReadAhead::forgetUnwanted() {
    // The predicates run here, under the lock this function holds.
    const auto unwanted =
        std::stable_partition(entries_.begin(), entries_.end(),
                              [&](const Entry& e) CVX_REQUIRES(mutex_) { return wanted(e.key); });
    std::move(unwanted, entries_.end(), std::back_inserter(trash_));
    entries_.erase(unwanted, entries_.end());
    std::erase_if(queue_, [&](const PageKey& key) CVX_REQUIRES(mutex_) { return !wanted(key); });
}

void ReadAhead::discardAll() {
    std::move(entries_.begin(), entries_.end(), std::back_inserter(trash_));
    entries_.clear();
    queue_.clear();
    forgetLens();
}

void ReadAhead::forgetLens() {
    if (lens_)
        trash_.push_back(std::move(*lens_));
    lens_.reset();
    lensPending_ = false;
}

} // namespace cvx
