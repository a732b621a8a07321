// The structural checks of a volume: pages, shapes and sizes, doubles, orientation, coding.
#include "pack/checks/book_checks.h"

#include "pack/checks/sequence_checks.h"
#include "pack/commands/command_line.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace cvx::pack {

namespace {
// A page whose side differs from its book's median by more than this is reported.
constexpr double kSizeTolerance = 0.15;

Finding pageFinding(Severity s, int book, int page, const QString& text) {
    return {s, book, page, page, text};
}

QString pixels(QSize size) {
    return QStringLiteral("%1 x %2 pixel").arg(size.width()).arg(size.height());
}

bool readable(const CheckedPage& p) {
    return p.facts.problem.isEmpty() && p.facts.size.isValid();
}

// True when a page of a book of `kind` has the shape it should: openings wide, pages tall.
bool rightShape(int kind, QSize upright) {
    return kind == 2 ? upright.width() > upright.height() : upright.height() >= upright.width();
}

// The median of the widths and of the heights, each on its own.
QSize medianSize(QList<QSize> sizes) {
    const auto middle = [&](auto side) {
        std::vector<int> v;
        for (const QSize& s : sizes)
            v.push_back(side(s));
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    return {middle([](QSize s) { return s.width(); }), middle([](QSize s) { return s.height(); })};
}

bool near(QSize a, QSize b) {
    return std::abs(double(a.width()) / b.width() - 1) <= kSizeTolerance &&
           std::abs(double(a.height()) / b.height() - 1) <= kSizeTolerance;
}

void checkPages(const CheckedBook& book, int b, const CheckScope& scope, QList<Finding>& out) {
    for (int p = 0; p < book.pages.size(); ++p) {
        const CheckedPage& page = book.pages[p];
        if (scope.pageErrors && !page.facts.problem.isEmpty())
            out << pageFinding(Severity::Error, b, p,
                               page.title + QStringLiteral(": ") + page.facts.problem);
        if (scope.orientation && page.facts.problem.isEmpty() && page.facts.orientation != 1)
            out << pageFinding(Severity::Warning, b, p,
                               QStringLiteral("%1: l'orientamento EXIF %2 la vuole %3; il visore "
                                              "mostra i pixel come sono: build la raddrizza")
                                   .arg(page.title)
                                   .arg(page.facts.orientation)
                                   .arg(orientationName(page.facts.orientation)));
    }
}

QString wrongShapeText(const CheckedBook& book, const CheckedPage& page, QSize usual) {
    const QSize size = page.facts.upright();
    if (usual.isValid() && near(size.transposed(), usual))
        return QStringLiteral("%1: sembra girata di lato: misura %2, le altre pagine del libro "
                              "%3")
            .arg(page.title, pixels(size), pixels(usual));
    return book.kind == 2 ? QStringLiteral("%1: è verticale (%2), ma il libro è di pagine doppie")
                                .arg(page.title, pixels(size))
                          : QStringLiteral("%1: è orizzontale (%2) fra pagine verticali")
                                .arg(page.title, pixels(size));
}

void checkShapes(const CheckedBook& book, int b, QList<Finding>& out) {
    QList<int> right, wrong;
    QList<QSize> sizes;
    for (int p = 0; p < book.pages.size(); ++p) {
        if (!readable(book.pages[p]))
            continue;
        const QSize size = book.pages[p].facts.upright();
        (rightShape(book.kind, size) ? right : wrong) << p;
        if (rightShape(book.kind, size))
            sizes << size;
    }
    if (wrong.size() > right.size()) {
        out << Finding{Severity::Warning, b, -1, -1,
                       book.kind == 2
                           ? QStringLiteral("%1: %2 pagine doppie su %3 sono verticali: il tipo "
                                            "di numerazione forse è 1 (pagine)")
                                 .arg(book.title, QString::number(wrong.size()),
                                      QString::number(wrong.size() + right.size()))
                           : QStringLiteral("%1: %2 pagine su %3 sono orizzontali: il tipo di "
                                            "numerazione forse è 2 (pagine doppie)")
                                 .arg(book.title, QString::number(wrong.size()),
                                      QString::number(wrong.size() + right.size()))};
        return;
    }
    const QSize usual = sizes.size() >= 3 ? medianSize(sizes) : QSize();
    for (int p : wrong)
        out << pageFinding(Severity::Warning, b, p, wrongShapeText(book, book.pages[p], usual));
    QList<int> odd;
    for (int p : right)
        if (usual.isValid() && !near(book.pages[p].facts.upright(), usual))
            odd << p;
    // A book where many pages differ has no usual size to hold them to.
    if (3 * odd.size() >= right.size())
        return;
    for (int p : odd)
        out << pageFinding(
            Severity::Warning, b, p,
            QStringLiteral("%1: misura %2, le altre pagine del libro circa %3: "
                           "una tabella dei colori, una pagina bianca o una "
                           "ripresa a un'altra scala?")
                .arg(book.pages[p].title, pixels(book.pages[p].facts.upright()), pixels(usual)));
}

void checkDoubles(const QList<CheckedBook>& books, QList<Finding>& out) {
    QHash<std::pair<quint64, qint64>, const CheckedPage*> seen;
    for (int b = 0; b < books.size(); ++b)
        for (int p = 0; p < books[b].pages.size(); ++p) {
            const CheckedPage& page = books[b].pages[p];
            if (page.facts.contentLength == 0)
                continue;
            const auto key = std::pair{page.facts.contentKey, page.facts.contentLength};
            if (const CheckedPage* first = seen.value(key))
                out << pageFinding(
                    Severity::Warning, b, p,
                    QStringLiteral("%1: è la stessa immagine di %2").arg(page.title, first->title));
            else
                seen.insert(key, &page);
        }
}

void checkProgressive(const QList<CheckedBook>& books, QList<Finding>& out) {
    int count = 0;
    qint64 before = 0, after = 0;
    for (const CheckedBook& book : books)
        for (const CheckedPage& page : book.pages)
            if (page.facts.problem.isEmpty() && page.facts.progressive) {
                ++count;
                before += page.facts.bytes;
                after += page.facts.optimizedBytes;
            }
    if (count == 0)
        return;
    QString text = QStringLiteral("%1 scansioni JPEG sono progressive: il visore le decodifica "
                                  "più lentamente; con \"build --optimize\" diventano sequenziali "
                                  "senza perdita")
                       .arg(count);
    if (after > 0)
        text += QStringLiteral(", da %1 a %2 byte").arg(before).arg(after);
    out << Finding{Severity::Note, -1, -1, -1, text};
}

// JPEG scans the viewer must decode on one core, named up to three.
void checkRestarts(const QList<CheckedBook>& books, QList<Finding>& out) {
    QStringList titles;
    for (const CheckedBook& book : books)
        for (const CheckedPage& page : book.pages)
            if (page.facts.problem.isEmpty() && page.facts.format == "jpeg" &&
                !page.facts.rowRestarts)
                titles << page.title;
    if (titles.isEmpty())
        return;
    QString text = QStringLiteral("%1 scansioni JPEG non hanno marcatori di ripristino a ogni riga "
                                  "di blocchi (%2")
                       .arg(titles.size())
                       .arg(titles.mid(0, 3).join(QStringLiteral("; ")));
    if (titles.size() > 3)
        text += QStringLiteral("; e altre %1").arg(titles.size() - 3);
    text += QStringLiteral("): il visore le decodifica su un solo core; con \"build --optimize\" "
                           "li ricevono senza perdita e si decodificano a bande su tutti i core");
    out << Finding{Severity::Note, -1, -1, -1, text};
}
} // namespace

QList<Finding> checkBooks(const QList<CheckedBook>& books, const CheckScope& scope) {
    QList<Finding> out;
    if (scope.progressive) {
        checkProgressive(books, out);
        checkRestarts(books, out);
    }
    checkTypedNumbers(books, out);
    for (int b = 0; b < books.size(); ++b) {
        checkPages(books[b], b, scope, out);
        checkShapes(books[b], b, out);
        if (scope.fileNames)
            checkFileNames(books[b], b, out);
    }
    checkDoubles(books, out);
    std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) {
        return a.book < b.book || (a.book == b.book && a.firstPage < b.firstPage);
    });
    return out;
}

QString severityName(Severity severity) {
    switch (severity) {
    case Severity::Note:
        return QStringLiteral("nota");
    case Severity::Warning:
        return QStringLiteral("avviso");
    case Severity::Error:
        return QStringLiteral("errore");
    }
    return {};
}

int checkStatus(const QList<Finding>& findings) {
    int status = 0;
    for (const Finding& f : findings)
        status = std::max(status, f.severity == Severity::Error     ? cli::kCheckErrors
                                  : f.severity == Severity::Warning ? cli::kCheckWarnings
                                                                    : cli::kSuccess);
    return status;
}

} // namespace cvx::pack
