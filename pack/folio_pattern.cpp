// Numbering read from page labels.
#include "pack/folio_pattern.h"

#include "app/text_rules.h"
#include "archive/label_rules.h"
#include "pack/format_limits.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace cvx::pack {

std::optional<Folio> parseFolio(const QString& label) {
    static const QRegularExpression folio(
        QStringLiteral("^\\s*(?:(?:pp?|pag|pagg|pagina|f|ff|fol|c|cc|carta)\\.?\\s*)?"
                       "(\\d{1,4})\\s*(?:([rvsd])|[-–/]\\s*\\d{1,4})?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = folio.match(label);
    if (!m.hasMatch())
        return std::nullopt;
    const QString side = m.captured(2).toLower();
    return Folio{m.captured(1).toInt(), side.isEmpty() ? QChar() : side.front()};
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
        // 2k + F, made odd (D) or even (S): F is n - 2k or one less.
        const int preferred = f.number % 2 ? 1 : 0;
        n.firstNumber = f.number - 2 * k == preferred || f.number - 2 * k - 1 == preferred
                            ? preferred
                            : f.number - 2 * k;
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
    if (n.kind != labels::Sheets)
        return f.side.isNull() && int(numericValue(label)) == f.number;
    const Folio v = viewerSheet(f);
    return !f.side.isNull() && int(numericValue(label)) == v.number && label.endsWith(v.side);
}
} // namespace

Numbering numberingFromLabels(const QStringList& labels, bool openings) {
    Numbering n;
    n.kind = openings ? labels::Openings : labels::Pages;
    for (int i = 0; i < labels.size() && !n.fromLabels; ++i)
        if (const auto f = parseFolio(labels[i]))
            n = numberingAt(*f, i + 1, openings);
    for (int i = 0; i < labels.size(); ++i) {
        const auto f = parseFolio(labels[i]);
        if (!f || !n.fromLabels || !fits(n, *f, i + 1))
            n.unfit << QStringLiteral("%1 (pagina %2)").arg(labels[i], QString::number(i + 1));
    }
    return n;
}

} // namespace cvx::pack
