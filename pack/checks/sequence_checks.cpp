// Checks along a book's sequence: typed numbers and numbered file names.
#include "pack/checks/sequence_checks.h"

#include "app/text_rules.h"
#include "archive/label_rules.h"
#include "archive/lookup_rules.h"
#include "pack/volume/format_limits.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <map>

namespace cvx::pack {

namespace {
bool numbered(const CheckedBook& b) {
    return limits::kindProblem(b.kind).isEmpty() && limits::sideProblem(b.side).isEmpty() &&
           limits::firstNumberProblem(b.firstNumber).isEmpty() &&
           limits::labelWidthProblem(b.kind, b.side, b.firstNumber,
                                     static_cast<int>(b.pages.size()))
               .isEmpty();
}

QStringList labelsOf(const CheckedBook& b) {
    QStringList list;
    if (numbered(b))
        for (int k = 1; k <= b.pages.size(); ++k)
            list << labels::pageLabel(b.kind, b.side, b.firstNumber, k);
    return list;
}

// Where typing a label's number leads: the book, and the page (its label count when none).
struct Landing {
    int book = -1;
    int page = -1;
    bool operator==(const Landing&) const = default;
};

QString whereText(const QList<CheckedBook>& books, const QList<QStringList>& labels, Landing l) {
    if (l.page >= labels[l.book].size())
        return QStringLiteral("il %1, che non ha quella pagina (il visore avvisa e ne apre "
                              "l'ultima)")
            .arg(books[l.book].title);
    return QStringLiteral("il %1, pagina %2").arg(books[l.book].title, labels[l.book][l.page]);
}

void reportUnreached(const QList<CheckedBook>& books, const QList<QStringList>& labels, int b,
                     int first, int last, Landing l, QList<Finding>& out) {
    const QString pages =
        first == last ? QStringLiteral("pagina %1").arg(labels[b][first])
                      : QStringLiteral("pagine da %1 a %2").arg(labels[b][first], labels[b][last]);
    const QString typed =
        first == last ? QStringLiteral("digitando %1").arg(int(numericValue(labels[b][first])))
                      : QStringLiteral("digitando i loro numeri");
    const QString where =
        first == last ? whereText(books, labels, l) : QStringLiteral("il ") + books[l.book].title;
    out << Finding{
        Severity::Warning, b, first, last,
        QStringLiteral("%1, %2: %3 si apre %4").arg(books[b].title, pages, typed, where)};
}

void checkOpeningsLookup(const CheckedBook& book, int b, QList<Finding>& out) {
    out << Finding{Severity::Warning, b, -1, -1,
                   QStringLiteral("%1: con pagine doppie il visore trova i numeri digitati solo se "
                                  "il primo numero è 1 a destra (D) o 0 a sinistra")
                       .arg(book.title)};
}
} // namespace

void checkTypedNumbers(const QList<CheckedBook>& books, QList<Finding>& out) {
    QList<QStringList> labels;
    std::vector<int> firstNumbers;
    for (const CheckedBook& b : books) {
        labels << labelsOf(b);
        firstNumbers.push_back(b.firstNumber);
    }
    for (int b = 0; b < books.size(); ++b) {
        if (labels[b].isEmpty())
            continue;
        if (books[b].kind == labels::Openings &&
            !limits::openingsLookupAgrees(books[b].side, books[b].firstNumber)) {
            checkOpeningsLookup(books[b], b, out);
            continue;
        }
        if (b == 0 && books.size() > 1) {
            out << Finding{Severity::Note, 0, -1, -1,
                           QStringLiteral("%1: il visore non apre mai il primo libro da un numero "
                                          "digitato; le sue pagine si raggiungono dall'elenco dei "
                                          "libri")
                               .arg(books[0].title)};
            continue;
        }
        int runStart = -1;
        Landing runLanding;
        for (int p = 0; p <= labels[b].size(); ++p) {
            Landing l{b, p};
            if (p < labels[b].size()) {
                const int typed = int(numericValue(labels[b][p]));
                l.book = lookup::bookForNumber(firstNumbers, typed);
                const CheckedBook& t = books[l.book];
                l.page = labels[l.book].isEmpty()
                             ? 0
                             : lookup::typedPageIndex(labels[l.book], t.kind, t.side, typed);
                if (l.book == b && l.page < labels[b].size() &&
                    int(numericValue(labels[b][l.page])) == typed)
                    l = {b, p}; // reached: the page, or for sheets the sheet's other side
            }
            const bool reached = l == Landing{b, p};
            if (runStart >= 0 && (reached || l.book != runLanding.book || p == labels[b].size())) {
                reportUnreached(books, labels, b, runStart, p - 1, runLanding, out);
                runStart = -1;
            }
            if (!reached && runStart < 0 && p < labels[b].size()) {
                runStart = p;
                runLanding = l;
            }
        }
    }
}

namespace {
struct NumberedName {
    QString pattern; // the name with its number taken out, lower case
    int number = 0;
    QChar side; // r, v, s or d after the number; null when none
};

std::optional<NumberedName> numberedName(const QString& file) {
    static const QRegularExpression name(QStringLiteral("^(.*?)(\\d{1,6})([rvsd]?)(\\D*)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = name.match(QFileInfo(file).completeBaseName());
    if (!m.hasMatch())
        return std::nullopt;
    const QString side = m.captured(3).toLower();
    return NumberedName{(m.captured(1) + QLatin1Char('#') + m.captured(4)).toLower(),
                        m.captured(2).toInt(), side.isEmpty() ? QChar() : side.front()};
}

// The place of a name in reading order: a number alone, or a sheet's side after its number
// (r before v, s before d).
int orderKey(const NumberedName& n) {
    if (n.side.isNull())
        return n.number;
    return 2 * n.number + (n.side == QLatin1Char('v') || n.side == QLatin1Char('d') ? 1 : 0);
}
} // namespace

namespace {
// The files beside a book's scans whose names follow its pattern but are none of its pages, by
// their place in reading order: the scans a gap in the names may have left out.
std::map<int, QString> filesBeside(const CheckedBook& book, const NumberedName& first) {
    QSet<QString> folders;
    QSet<QString> pages;
    for (const CheckedPage& page : book.pages) {
        if (page.path.isEmpty())
            continue;
        folders << QFileInfo(page.path).absolutePath();
        pages << QFileInfo(page.path).absoluteFilePath();
    }
    std::map<int, QString> left;
    for (const QString& folder : folders)
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
            const auto n = numberedName(file.fileName());
            if (n && n->pattern == first.pattern && n->side.isNull() == first.side.isNull() &&
                !pages.contains(file.absoluteFilePath()))
                left.emplace(orderKey(*n), file.fileName());
        }
    return left;
}

// The names of `left` placed strictly between two places in reading order.
QStringList between(const std::map<int, QString>& left, int after, int before) {
    QStringList names;
    for (auto it = left.upper_bound(after); it != left.end() && it->first < before; ++it)
        names << it->second;
    return names;
}
} // namespace

void checkFileNames(const CheckedBook& book, int b, QList<Finding>& out) {
    QList<NumberedName> names;
    for (const CheckedPage& page : book.pages) {
        const auto n = numberedName(page.file);
        if (!n || (!names.isEmpty() &&
                   (n->pattern != names[0].pattern || n->side.isNull() != names[0].side.isNull())))
            return;
        names << *n;
    }
    std::map<int, int> steps; // step between neighbours -> how often
    for (int p = 1; p < names.size(); ++p)
        ++steps[orderKey(names[p]) - orderKey(names[p - 1])];
    const auto usual = std::max_element(steps.begin(), steps.end(),
                                        [](auto a, auto c) { return a.second < c.second; });
    if (names.size() < 3 || usual->first < 1)
        return;
    // One scan per number; openings may be named by the number of their first page.
    const int expected = book.kind == labels::Openings && usual->first == 2 ? 2 : 1;
    if (usual->first > expected)
        out << Finding{Severity::Warning, b, -1, -1,
                       QStringLiteral("%1: i numeri nei nomi dei file vanno di solito di %2 in "
                                      "%2: mancano le scansioni dei numeri saltati?")
                           .arg(book.title, QString::number(usual->first))};
    const std::map<int, QString> left = filesBeside(book, names[0]);
    for (int p = 1; p < names.size(); ++p) {
        const int step = orderKey(names[p]) - orderKey(names[p - 1]);
        const QString before = QFileInfo(book.pages[p - 1].file).fileName();
        const QString title = book.pages[p].title;
        const QStringList missing = between(left, orderKey(names[p - 1]), orderKey(names[p]));
        QString text;
        if (step == 0)
            text = QStringLiteral("%1: ha nel nome lo stesso numero della pagina prima (%2)")
                       .arg(title, before);
        else if (step < 0)
            text = QStringLiteral("%1: è fuori ordine, dopo %2").arg(title, before);
        else if (step > usual->first || !missing.isEmpty())
            text = QStringLiteral("%1: i nomi dei file saltano da %2 a questa: manca qualche "
                                  "scansione?")
                       .arg(title, before);
        if (!missing.isEmpty())
            text += QStringLiteral(" Nella stessa cartella: %1")
                        .arg(missing.join(QStringLiteral(", ")));
        if (!text.isEmpty())
            out << Finding{Severity::Warning, b, p, p, text};
    }
}

} // namespace cvx::pack
