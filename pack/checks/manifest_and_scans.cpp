// Checking a manifest and its scans.
#include "pack/checks/manifest_and_scans.h"

#include "platform/files.h"

#include <QThread>
#include <QThreadPool>

namespace cvx::pack {

QList<CheckedBook> checkedBooks(const Manifest& m) {
    QList<CheckedBook> books;
    for (int b = 0; b < m.books.size(); ++b) {
        const ManifestBook& mb = m.books[b];
        CheckedBook book{bookName(m, b), mb.kind, mb.side, mb.firstNumber, {}};
        for (int p = 0; p < mb.pages.size(); ++p)
            book.pages << CheckedPage{pageName(m, b, p), mb.pages[p], {}, mb.pageFiles[p]};
        books << book;
    }
    return books;
}

namespace {
ScanFacts factsOfFile(const QString& path, bool optimizeGain, const ScanVisitor& visit, int b,
                      int p) {
    const files::Read read = files::readAll(path);
    if (read.status != files::Status::Ok) {
        ScanFacts f;
        f.problem = QStringLiteral("il file %1 non si trova o non si può leggere").arg(path);
        return f;
    }
    if (read.data.isEmpty()) {
        ScanFacts f;
        f.problem = QStringLiteral("il file %1 è vuoto").arg(path);
        return f;
    }
    if (visit)
        visit(b, p, read.data);
    return scanFacts(read.data, optimizeGain);
}
} // namespace

void waitReporting(QThreadPool& pool, const std::atomic<int>& finished, int total,
                   const WorkProgress& progress) {
    while (!pool.waitForDone(100))
        if (progress)
            progress(finished, total);
    if (progress)
        progress(total, total);
}

ManifestCheck checkManifest(const QString& path, const CheckScope& scope, const ScanVisitor& visit,
                            const WorkProgress& progress) {
    ManifestCheck c;
    const ManifestRead read = readManifest(path);
    const QStringList errors =
        read.errors.isEmpty() ? manifestProblems(read.manifest) : read.errors;
    QList<Finding> limits;
    for (const QString& e : errors)
        limits << Finding{Severity::Error, -1, -1, -1, e};
    if (!read.errors.isEmpty()) {
        c.findings = limits;
        return c;
    }
    c.manifest = read.manifest;
    c.books = checkedBooks(c.manifest);
    // Each task writes its own element of a vector sized beforehand; nothing else is shared.
    std::vector<std::pair<int, int>> order;
    for (int b = 0; b < c.books.size(); ++b)
        for (int p = 0; p < c.books[b].pages.size(); ++p)
            order.emplace_back(b, p);
    std::vector<ScanFacts> facts(order.size());
    std::atomic<int> finished = 0;
    QThreadPool pool;
    pool.setMaxThreadCount(QThread::idealThreadCount());
    for (std::size_t i = 0; i < order.size(); ++i)
        pool.start([&, i] {
            const auto [b, p] = order[i];
            facts[i] = factsOfFile(std::as_const(c.manifest).books[b].pageFiles[p],
                                   scope.progressive, visit, b, p);
            ++finished;
        });
    waitReporting(pool, finished, static_cast<int>(order.size()), progress);
    for (std::size_t i = 0; i < order.size(); ++i)
        c.books[order[i].first].pages[order[i].second].facts = facts[i];
    c.findings = limits + checkBooks(c.books, scope);
    return c;
}

} // namespace cvx::pack
