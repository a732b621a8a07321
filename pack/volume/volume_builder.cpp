// Builds a volume folder from a manifest.
#include "pack/volume/volume_builder.h"

#include "app/product_block.h"
#include "archive/entry_restore.h"
#include "pack/checks/book_checks.h"
#include "pack/checks/manifest_and_scans.h"
#include "pack/manifest/manifest.h"
#include "pack/scans/jpeg_header.h"
#include "pack/scans/jpeg_optimize.h"
#include "pack/scans/page_preparation.h"
#include "pack/volume/format_limits.h"
#include "pack/volume/volume_destination.h"
#include "pack/volume/volume_writer.h"
#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <cerrno>
#include <deque>
#include <future>
#include <memory>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace cvx::pack {

namespace {
struct PagePlan {
    QString source;       // the publisher's scan
    QString staged;       // the image made from it (converted or re-encoded), when stored instead
    qint64 length = 0;    // of the image to store
    bool jpeg = false;    // a JPEG scan by its first bytes
    bool turn = false;    // a JPEG scan whose EXIF orientation asks for a turn
    bool checked = false; // made ready and checked before anything is written
};

// What became of one page scan before anything is written.
struct PageOutcome {
    qint64 scanBytes = 0; // bytes of the scan read
    qint64 length = 0;    // bytes of the image to store
    QString staged;       // the file to store instead of the scan; empty for the scan itself
    QString problem;      // Italian; empty when the page is ready
    bool converted = false;
    bool optimized = false; // re-encoded losslessly, the re-encoded image stored
    bool progressive = false;
    qint64 bytesBefore = 0, bytesAfter = 0; // of an optimized image
    int turned = 1;                         // the EXIF orientation applied; 1 for none
    bool turnedLosslessly = false;
    std::pair<quint64, qint64> content; // the scan's content key (see scan_facts.h)
};

// Reads a scan, makes its image ready and checks it as the viewer will decode it; converted or
// re-encoded images are written to `staged`.
PageOutcome preparePage(const QString& source, const QString& staged, int quality, bool optimize) {
    PageOutcome o;
    const files::Read scan = files::readAll(source);
    o.scanBytes = scan.data.size();
    o.content = contentKey(scan.data);
    PreparedImage ready;
    if (scan.status == files::Status::Ok)
        ready = prepareImage(scan.data, quality);
    else
        ready.problem = scan.description;
    if (ready.problem.isEmpty() && optimize) {
        const OptimizedJpeg better = optimizeJpeg(ready.image);
        if (worthStoring(ready.image, better)) {
            o.optimized = true;
            o.progressive = better.progressive;
            o.bytesBefore = ready.image.size();
            o.bytesAfter = better.bytes.size();
            ready.image = better.bytes;
            ready.problem = decodeProblem(ready.image);
        }
    }
    o.problem = ready.problem;
    if (o.problem.isEmpty())
        o.problem = limits::entryLengthProblem(ready.image.size());
    o.converted = ready.converted;
    o.turned = ready.turned;
    o.turnedLosslessly = ready.turnedLosslessly;
    if (o.problem.isEmpty() && (ready.converted || o.optimized || ready.turned != 1)) {
        o.staged = staged;
        errno = 0;
        if (!files::writeAll(staged, ready.image).ok()) // named by why: the folder is removed
            o.problem = QStringLiteral("impossibile scrivere l'immagine convertita: %1")
                            .arg(failureReason(errno != 0 ? errno : EIO));
    }
    o.length = ready.image.size();
    return o;
}

class Builder {
  public:
    Builder(const BuildOptions& options, BuildReport& report) : o_(options), r_(report) {}

    void run() {
        r_.notes << removeDebris(o_.outDir);
        if (!readInputs() || !surveyPages() || stopped())
            return;
        BuildFolder folder(o_.outDir);
        if (!folder.problem().isEmpty())
            return fail(folder.problem());
        folder_ = &folder;
        const QString staging = QDir(folder.path()).filePath(QStringLiteral("conversioni"));
        if (::mkdir(QFile::encodeName(staging).constData(), 0700) != 0)
            return fail(folder.cannotWrite(QStringLiteral("conversioni"), errno));
        if (preparePages(staging))
            (void)checkArchiveLengths();
        const bool stored = storePages(folder.path());
        checkBooks();
        QDir(staging).removeRecursively();
        if (stored && !stopped())
            if (const QString problem = folder.place(); !problem.isEmpty())
                fail(problem);
    }

  private:
    void fail(const QString& error) { r_.errors << error; }

    // Asked between pages: once it says true, the build ends as after a fault.
    bool stopped() {
        if (stopped_ || !o_.stopped || !o_.stopped())
            return stopped_;
        stopped_ = true;
        fail(QStringLiteral("costruzione interrotta: nessun volume scritto"));
        return true;
    }

    bool readInputs();
    bool surveyPages();
    bool preparePages(const QString& staging);
    bool checkArchiveLengths();
    bool storePages(const QString& folder);
    void checkBooks();
    bool writeExecutable(const QString& folder);
    void writeFailed(const QString& path, const QString& description); // names the errno cause
    bool openArchive(QFile& out, const QString& folder, int book);
    bool closeArchive(QFile& out);

    const BuildOptions& o_;
    BuildReport& r_;
    const BuildFolder* folder_ = nullptr; // while the volume is written
    bool stopped_ = false;
    Manifest m_;
    QList<QList<PagePlan>> plans_;
    QList<CheckedBook> books_; // the facts of every page, for the checks of the whole volume
};

bool Builder::readInputs() {
    ManifestRead read = readManifest(o_.manifestPath);
    r_.errors << read.errors;
    if (!read.errors.isEmpty())
        return false;
    m_ = read.manifest;
    r_.jpegQuality = m_.jpegQuality;
    r_.errors << manifestProblems(m_);
    if (const QString p = destinationProblem(o_.outDir); !p.isEmpty())
        fail(p);
    const files::Length viewer = files::lengthOf(o_.viewerPath);
    if (viewer.status != files::Status::Ok)
        fail(QStringLiteral("il programma del visore %1 non si trova").arg(o_.viewerPath));
    else if (const QString p = limits::executableProblem(viewer.length); !p.isEmpty())
        fail(QStringLiteral("%1: %2").arg(o_.viewerPath, p));
    r_.books = static_cast<int>(m_.books.size());
    return r_.errors.isEmpty();
}

// What the files tell without decoding: they exist, and JPEG scans, stored as they are, fit
// the columns of the directory.
bool Builder::surveyPages() {
    books_ = checkedBooks(m_);
    for (int b = 0; b < m_.books.size(); ++b) {
        QList<PagePlan> plan;
        for (int p = 0; p < m_.books[b].pageFiles.size(); ++p) {
            const QString file = m_.books[b].pageFiles[p];
            const files::Length length = files::lengthOf(file);
            plan.append({file, QString(), archive::kMinEntryLength});
            if (length.status != files::Status::Ok) {
                fail(QStringLiteral("%1: il file %2 non si trova o non è un file")
                         .arg(pageName(m_, b, p), file));
                continue;
            }
            if (length.length == 0) {
                fail(QStringLiteral("%1: il file %2 è vuoto").arg(pageName(m_, b, p), file));
                continue;
            }
            ScanFacts& facts = books_[b].pages[p].facts;
            facts.size = QImageReader(file).size();
            if (scanFormat(files::readAt(file, 1, 64).data) != "jpeg")
                continue; // the converted size is known only after conversion
            const JpegHeader header = readJpegHeaderOf(file);
            facts.orientation = header.orientation;
            plan.last().jpeg = true;
            plan.last().turn = header.orientation != 1;
            plan.last().length = length.length;
            if (const QString e = limits::entryLengthProblem(length.length); !e.isEmpty())
                fail(pageName(m_, b, p) + QStringLiteral(": ") + e);
        }
        plans_ << plan;
        r_.pages += static_cast<int>(plan.size());
    }
    return r_.errors.isEmpty() && checkArchiveLengths();
}

bool Builder::checkArchiveLengths() {
    for (int b = 0; b < plans_.size(); ++b) {
        QList<qint64> lengths;
        for (const PagePlan& page : plans_[b])
            lengths << page.length;
        if (const QString e = limits::archiveLengthProblem(archiveLength(lengths)); !e.isEmpty())
            fail(bookName(m_, b) + QStringLiteral(": ") + e);
    }
    return r_.errors.isEmpty();
}

bool Builder::preparePages(const QString& staging) {
    // Scans converted or re-encoded are made before anything is written: the directory at the
    // head of an archive holds the length of every image. They are made side by side, one per
    // core, and their outcomes taken in reading order. JPEG scans stored as they are wait for
    // the writing, where each is read once.
    std::vector<std::pair<int, int>> order;
    for (int b = 0; b < plans_.size(); ++b)
        for (int p = 0; p < plans_[b].size(); ++p)
            if (!plans_[b][p].jpeg || plans_[b][p].turn || o_.optimize)
                order.emplace_back(b, p);
    std::vector<PageOutcome> outcomes(order.size());
    std::atomic<int> finished = 0;
    std::atomic<qint64> bytesRead = 0;
    QThreadPool pool;
    pool.setMaxThreadCount(QThread::idealThreadCount());
    for (std::size_t i = 0; i < order.size(); ++i)
        pool.start([&, i] {
            const auto [b, p] = order[i];
            outcomes[i] = preparePage(
                plans_[b][p].source,
                QStringLiteral("%1/%2-%3.jpg").arg(staging, QString::number(b), QString::number(p)),
                m_.jpegQuality, o_.optimize);
            bytesRead += outcomes[i].scanBytes;
            ++finished;
        });
    const int total = static_cast<int>(order.size());
    while (!pool.waitForDone(100)) {
        if (stopped())
            pool.clear(); // the pages under way end, the others never start
        if (o_.progress)
            o_.progress({false, true, finished, total, r_.pages, bytesRead});
    }
    if (stopped())
        return false;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto [b, p] = order[i];
        const PageOutcome& o = outcomes[i];
        r_.scanBytes += o.scanBytes;
        if (o.converted && !o.staged.isEmpty())
            ++r_.convertedPages;
        if (o.problem.isEmpty() && o.turned != 1)
            ++(o.turnedLosslessly ? r_.turnedLosslessly : r_.turnedReencoded);
        if (o.optimized) {
            ++r_.optimizedPages;
            r_.progressivePages += o.progressive ? 1 : 0;
            r_.bytesBeforeOptimizing += o.bytesBefore;
            r_.bytesAfterOptimizing += o.bytesAfter;
        }
        if (!o.problem.isEmpty())
            fail(QStringLiteral("%1: %2").arg(pageName(m_, b, p), o.problem));
        std::tie(books_[b].pages[p].facts.contentKey, books_[b].pages[p].facts.contentLength) =
            o.content;
        plans_[b][p].staged = o.staged;
        plans_[b][p].length = o.length;
        plans_[b][p].checked = true;
    }
    return r_.errors.isEmpty();
}

// The image of a page read to be stored, and checked if it was not yet.
struct StoredImage {
    QByteArray bytes;
    qint64 scanBytes = 0;               // of the publisher's scan read for it
    QString problem;                    // Italian; empty when the image can be stored
    std::pair<quint64, qint64> content; // of a scan stored as it is (see scan_facts.h)
};

StoredImage readForStoring(const PagePlan& page) {
    StoredImage s;
    const files::Read read = files::readAll(page.staged.isEmpty() ? page.source : page.staged);
    if (read.status != files::Status::Ok) {
        s.problem = read.description;
        return s;
    }
    if (read.data.size() != page.length) {
        s.problem = QStringLiteral("il file è cambiato durante la preparazione");
        return s;
    }
    s.bytes = read.data;
    if (page.staged.isEmpty())
        s.content = contentKey(s.bytes);
    if (!page.checked) {
        s.scanBytes = s.bytes.size();
        s.problem = scanProblem(s.bytes);
    }
    return s;
}

bool Builder::storePages(const QString& folder) {
    // Pages are read and checked a few ahead, side by side, while the writer stores them in
    // reading order. Once a fault is found nothing more is written, but the scans not checked
    // yet still are, so that every fault is reported at once.
    bool writing = r_.errors.isEmpty() && writeExecutable(folder);
    std::vector<const PagePlan*> order;
    for (const QList<PagePlan>& book : std::as_const(plans_))
        for (const PagePlan& page : book)
            order.push_back(&page);
    QThreadPool pool;
    pool.setMaxThreadCount(QThread::idealThreadCount());
    const std::size_t window = static_cast<std::size_t>(pool.maxThreadCount()) + 1;
    std::deque<std::future<StoredImage>> ahead;
    std::size_t next = 0;
    QFile out;
    int done = 0;
    for (int b = 0; b < plans_.size() && !stopped(); ++b) {
        writing = writing && openArchive(out, folder, b);
        for (int p = 0; p < plans_[b].size() && !stopped(); ++p) {
            for (; next < order.size() && ahead.size() < window; ++next) {
                const PagePlan* page = order[next];
                auto task = std::make_shared<std::packaged_task<StoredImage()>>(
                    [page, needed = writing || !page->checked] {
                        return needed ? readForStoring(*page) : StoredImage{};
                    });
                ahead.push_back(task->get_future());
                pool.start([task] { (*task)(); });
            }
            const StoredImage image = ahead.front().get();
            ahead.pop_front();
            r_.scanBytes += image.scanBytes;
            if (image.content.second > 0)
                std::tie(books_[b].pages[p].facts.contentKey,
                         books_[b].pages[p].facts.contentLength) = image.content;
            if (!image.problem.isEmpty()) {
                fail(QStringLiteral("%1: %2").arg(pageName(m_, b, p), image.problem));
                writing = false;
            } else if (writing && (errno = 0, !writeStoredEntry(out, image.bytes))) {
                writeFailed(out.fileName(), out.errorString());
                writing = false;
            }
            if (o_.progress)
                o_.progress({writing, false, ++done, r_.pages, r_.pages,
                             writing ? r_.volumeBytes + out.pos() : 0});
        }
        writing = writing && closeArchive(out);
    }
    return writing && !stopped();
}

// The checks of the whole volume that need every page's facts. Faults of single pages are
// reported where they are found, and the orientations are applied; the rest are warnings.
void Builder::checkBooks() {
    const CheckScope scope{false, false, false, true};
    for (const Finding& f : pack::checkBooks(books_, scope))
        (f.severity == Severity::Note ? r_.notes : r_.warnings) << f.text;
}

bool Builder::writeExecutable(const QString& folder) {
    const files::Read viewer = files::readAll(o_.viewerPath);
    const auto block = block::buildBlock(productData(volumeSpec(m_)), viewer.data.size());
    if (viewer.status != files::Status::Ok || !block) {
        fail(QStringLiteral("impossibile leggere il programma del visore %1").arg(o_.viewerPath));
        return false;
    }
    QFile exe(QDir(folder).filePath(QStringLiteral("Cartavox.exe")));
    errno = 0;
    // Executable by everyone the umask lets in, as `cp` makes it, whatever the viewer's own modes.
    if (!exe.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        ::fchmod(exe.handle(), createdMode(true)) != 0 ||
        exe.write(viewer.data) != viewer.data.size() || exe.write(*block) != block->size() ||
        !exe.flush() || syncToDisk(exe.handle()) != 0) {
        writeFailed(exe.fileName(), exe.errorString());
        return false;
    }
    r_.volumeBytes += exe.size();
    return true;
}

void Builder::writeFailed(const QString& path, const QString& description) {
    const int error = errno;
    const QString name = QFileInfo(path).fileName();
    fail(error != 0 ? folder_->cannotWrite(name, error)
                    : QStringLiteral("impossibile scrivere %1: %2").arg(name, description));
}

bool Builder::openArchive(QFile& out, const QString& folder, int book) {
    QList<qint64> lengths;
    for (const PagePlan& page : plans_[book])
        lengths << page.length;
    out.setFileName(QDir(folder).filePath(archiveName(book)));
    const QByteArray head = archiveHead(lengths);
    errno = 0;
    // Unbuffered: the images go to the file in one write each, not through a buffer.
    if (out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && out.write(head) == head.size())
        return true;
    writeFailed(out.fileName(), out.errorString());
    return false;
}

// The archive reaches the disk before the volume is moved into place.
bool Builder::closeArchive(QFile& out) {
    errno = 0;
    const bool flushed = out.flush() && syncToDisk(out.handle()) == 0;
    if (!flushed)
        writeFailed(out.fileName(), out.errorString());
    r_.volumeBytes += out.size();
    out.close();
    return flushed;
}
} // namespace

BuildReport buildVolume(const BuildOptions& options) {
    BuildReport report;
    Builder(options, report).run();
    if (!report.ok())
        report.volumeBytes = 0;
    return report;
}

} // namespace cvx::pack
