// Numbering read from page labels.
#include "pack/manifest/folio_pattern.h"

#include "app/text_rules.h"
#include "archive/label_rules.h"
#include "pack/volume/format_limits.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace cvx::pack {

namespace {
// The value of a Roman number written the usual way ("xiv", "XL"), up to 399; 0 for anything
// else ("iiii", "ic").
int romanValue(const QString& text) {
    static const QRegularExpression usual(
        QStringLiteral("^c{0,3}(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})$"));
    const QString t = text.toLower();
    if (t.isEmpty() || !usual.match(t).hasMatch())
        return 0;
    const QHash<QChar, int> value{{QLatin1Char('i'), 1},
                                  {QLatin1Char('v'), 5},
                                  {QLatin1Char('x'), 10},
                                  {QLatin1Char('l'), 50},
                                  {QLatin1Char('c'), 100}};
    int sum = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const int v = value.value(t[i]);
        sum += i + 1 < t.size() && value.value(t[i + 1]) > v ? -v : v;
    }
    return sum;
}
} // namespace

std::optional<Folio> parseFolio(const QString& label) {
    static const QRegularExpression folio(
        QStringLiteral(
            "^\\s*(?:(?:pages?|pp?|pag|pagg|pagina|pagine|f|ff|fol|fols|folio|c|cc|"
            "carta|carte)\\.?\\s*)?(\\d{1,4})\\s*([rvsd])?"
            "(?:\\s*[-\u2013\u2014/,]\\s*\\d{1,4}\\s*[rvsd]?)?\\s*(?:\\([^()]*\\)\\s*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression roman(
        QStringLiteral("^\\s*(?:(?:pages?|pp?|pag|pagina)\\.?\\s*)?([ivxlc]+)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = folio.match(label);
    if (m.hasMatch()) {
        const QString side = m.captured(2).toLower();
        return Folio{m.captured(1).toInt(), side.isEmpty() ? QChar() : side.front(), false};
    }
    const QRegularExpressionMatch r = roman.match(label);
    if (const int value = r.hasMatch() ? romanValue(r.captured(1)) : 0)
        return Folio{value, QChar(), true};
    return std::nullopt;
}

QStringList inFolioOrder(const QStringList& names) {
    QList<std::pair<int, QString>> keyed;
    for (const QString& n : names) {
        const auto f = parseFolio(QFileInfo(n).completeBaseName());
        if (!f || f->side.isNull())
            return names;
        const bool second = f->side == QLatin1Char('v') || f->side == QLatin1Char('d');
        keyed.append({2 * f->number + (second ? 1 : 0), n});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList ordered;
    for (const auto& k : keyed)
        ordered << k.second;
    return ordered;
}

namespace {
// A sheet folio in the viewer's own terms: recto is the right side of its sheet, verso the left
// side of the next opening.
Folio viewerSheet(Folio f) {
    if (f.side == QLatin1Char('r'))
        return {f.number, QLatin1Char('d')};
    if (f.side == QLatin1Char('v'))
        return {f.number + 1, QLatin1Char('s')};
    return f;
}

// The numbering that gives folio `f` to page k (1-based).
Numbering numberingAt(Folio f, int k, bool openings) {
    Numbering n;
    n.fromLabels = true;
    const int half = (k - 1) / 2;
    if (!f.side.isNull()) {
        n.kind = labels::Sheets;
        const Folio v = viewerSheet(f);
        const bool right = v.side == QLatin1Char('d');
        n.side = right == (k % 2 == 1) ? QStringLiteral("D") : QStringLiteral("S");
        n.firstNumber = v.number - half - (n.side == QLatin1String("D") && k % 2 == 0 ? 1 : 0);
    } else if (openings) {
        n.kind = labels::Openings;
        n.side = f.number % 2 ? QStringLiteral("D") : QStringLiteral("S");
        n.firstNumber = f.number - 2 * k;
        // Entry k shows the opening number of 2k + F, which must be the one typing f opens; the
        // usual first numbers (1 on the right, 0 on the left) are preferred, then either side.
        std::optional<Numbering> any, usual;
        for (const QString& side :
             {n.side, n.side == QLatin1String("D") ? QStringLiteral("S") : QStringLiteral("D")}) {
            const int target = labels::openingNumber(side, f.number);
            for (const int first : {target - 2 * k, target - 1 - 2 * k}) {
                if (first < 0)
                    continue;
                Numbering c = n;
                c.side = side;
                c.firstNumber = first;
                any = any ? any : c;
                if (!usual && first == (side == QLatin1String("D") ? 1 : 0))
                    usual = c;
            }
        }
        if (usual || any)
            n = usual ? *usual : *any;
    } else {
        n.kind = labels::Pages;
        const int first = f.number - (k - 1);
        n.side = first % 2 || first == 0 ? QStringLiteral("D") : QStringLiteral("S");
        n.firstNumber = n.side == QLatin1String("D") ? first : first - 1;
    }
    return n;
}

// True when the viewer's label of page k shows folio `f`.
bool fits(const Numbering& n, Folio f, int k) {
    if (!limits::firstNumberProblem(n.firstNumber).isEmpty())
        return false;
    const QString label = labels::pageLabel(n.kind, n.side, n.firstNumber, k);
    if (n.kind == labels::Openings)
        return f.side.isNull() &&
               int(numericValue(label)) == labels::openingNumber(n.side, f.number);
    if (n.kind != labels::Sheets)
        return f.side.isNull() && int(numericValue(label)) == f.number;
    const Folio v = viewerSheet(f);
    return !f.side.isNull() && int(numericValue(label)) == v.number && label.endsWith(v.side);
}
} // namespace

Numbering numberingFromLabels(const QStringList& labels, bool openings) {
    QList<std::optional<Folio>> folios;
    bool arabic = false;
    for (const QString& label : labels) {
        folios << parseFolio(label);
        arabic = arabic || (folios.last() && !folios.last()->roman);
    }
    for (std::optional<Folio>& f : folios)
        if (f && f->roman && arabic)
            f.reset(); // Roman preliminaries are not pages of an Arabic numbering
    Numbering best;
    best.kind = openings ? labels::Openings : labels::Pages;
    int bestFits = -1;
    std::optional<int> needed;
    QSet<QString> tried;
    for (int i = 0; i < folios.size(); ++i) {
        if (!folios[i])
            continue;
        const Numbering n = numberingAt(*folios[i], i + 1, openings);
        if (!limits::firstNumberProblem(n.firstNumber).isEmpty()) {
            needed = needed ? needed : n.firstNumber;
            continue;
        }
        const QString key = QStringLiteral("%1 %2 %3").arg(n.kind).arg(n.side).arg(n.firstNumber);
        if (tried.contains(key))
            continue;
        tried.insert(key);
        int count = 0;
        for (int j = 0; j < folios.size(); ++j)
            count += folios[j] && fits(n, *folios[j], j + 1) ? 1 : 0;
        if (count > bestFits) {
            best = n;
            bestFits = count;
        }
    }
    if (bestFits < 0)
        best.needed = needed;
    for (int i = 0; i < labels.size(); ++i)
        if (!folios[i] || !best.fromLabels || !fits(best, *folios[i], i + 1))
            best.unfit << QStringLiteral("%1 (pagina %2)").arg(labels[i], QString::number(i + 1));
    return best;
}

} // namespace cvx::pack
