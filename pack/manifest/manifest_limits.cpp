// The limits that a manifest alone can break: texts, labels, numbering, counts, cover.
#include "pack/manifest/manifest.h"

#include "app/product_block.h"
#include "app/text_rules.h"
#include "archive/archive_layout.h"
#include "pack/volume/format_limits.h"

namespace cvx::pack {

namespace {
void add(QStringList& problems, const QString& where, const QString& problem) {
    if (!problem.isEmpty())
        problems << where + QStringLiteral(": ") + problem;
}

void checkHeadings(const Manifest& m, QStringList& problems) {
    const std::pair<const char*, const QString*> fields[] = {{"title", &m.title},
                                                             {"secondLine", &m.secondLine},
                                                             {"publisher", &m.publisher},
                                                             {"place", &m.place},
                                                             {"year", &m.year}};
    for (const auto& [key, text] : fields)
        add(problems, QStringLiteral("campo \"%1\"").arg(QLatin1String(key)),
            limits::headingProblem(*text));
    add(problems, QStringLiteral("campo \"workFolder\""), limits::workFolderProblem(m.workFolder));
    add(problems, QStringLiteral("campo \"jpegQuality\""), limits::qualityProblem(m.jpegQuality));
}

void checkBook(const Manifest& m, int i, QStringList& problems) {
    const ManifestBook& b = m.books[i];
    const QString where = bookName(m, i);
    add(problems, where + QStringLiteral(", campo \"label\""), limits::labelProblem(b.label));
    const QString kind = limits::kindProblem(b.kind);
    const QString side = limits::sideProblem(b.side);
    add(problems, where + QStringLiteral(", campo \"kind\""), kind);
    add(problems, where + QStringLiteral(", campo \"side\""), side);
    const QString first = limits::firstNumberProblem(b.firstNumber);
    add(problems, where + QStringLiteral(", campo \"firstNumber\""), first);
    if (b.pages.isEmpty())
        add(problems, where, QStringLiteral("il libro non ha pagine"));
    else if (b.pages.size() > archive::kMaxEntries)
        add(problems, where,
            QStringLiteral("le pagine sono %1, al massimo %2")
                .arg(b.pages.size())
                .arg(archive::kMaxEntries));
    else if (kind.isEmpty() && side.isEmpty() && first.isEmpty()) // labels of a valid numbering
        add(problems, where,
            limits::labelWidthProblem(b.kind, b.side, b.firstNumber,
                                      static_cast<int>(b.pages.size())));
}

// Books are found by label, without regard to case: two equal labels make the second
// book unreachable.
void checkLabelsDiffer(const Manifest& m, QStringList& problems) {
    for (int i = 0; i < m.books.size(); ++i)
        for (int j = 0; j < i; ++j)
            if (!trimBlanks(m.books[i].label).isEmpty() &&
                trimBlanks(m.books[i].label)
                        .compare(trimBlanks(m.books[j].label), Qt::CaseInsensitive) == 0) {
                add(problems, bookName(m, i) + QStringLiteral(", campo \"label\""),
                    QStringLiteral("l'etichetta è uguale a quella del libro %1").arg(j + 1));
                break;
            }
}

void checkCover(const Manifest& m, QStringList& problems) {
    if (m.coverBook < 1 || m.coverBook > m.books.size()) {
        add(problems, QStringLiteral("campo \"cover\""),
            QStringLiteral("il libro %1 non esiste (i libri sono %2)")
                .arg(m.coverBook)
                .arg(m.books.size()));
        return;
    }
    const qsizetype pages = m.books[m.coverBook - 1].pages.size();
    if (m.coverPage < 1 || m.coverPage > pages)
        add(problems, QStringLiteral("campo \"cover\""),
            QStringLiteral("il libro %1 non ha la pagina %2 (le pagine sono %3)")
                .arg(m.coverBook)
                .arg(m.coverPage)
                .arg(pages));
}
} // namespace

QStringList manifestProblems(const Manifest& m) {
    QStringList problems;
    checkHeadings(m, problems);
    if (m.books.isEmpty())
        add(problems, QStringLiteral("campo \"books\""), QStringLiteral("nessun libro"));
    if (m.books.size() > block::kMaxBooks)
        add(problems, QStringLiteral("campo \"books\""),
            QStringLiteral("i libri sono %1, al massimo %2")
                .arg(m.books.size())
                .arg(block::kMaxBooks));
    for (int i = 0; i < m.books.size(); ++i)
        checkBook(m, i, problems);
    checkLabelsDiffer(m, problems);
    checkCover(m, problems);
    return problems;
}

} // namespace cvx::pack
