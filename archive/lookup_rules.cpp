// Page lookup by typed number.
#include "archive/lookup_rules.h"

#include "app/text_rules.h"
#include "archive/label_rules.h"

#include <algorithm>

namespace cvx::lookup {

int bookForNumber(const std::vector<int>& firstNumbers, int typed) {
    const int last = static_cast<int>(firstNumbers.size()) - 1;
    int i = 1;
    while (i <= last && firstNumbers[i] <= typed)
        ++i;
    return std::min(std::max(i - 1, 1), last);
}

bool typedMatches(int kind, const QString& side, double x, int typed) {
    switch (kind) {
    case labels::Sheets:
    case labels::Pages:
        return x == typed;
    case labels::Openings:
        return x == typed || x == (labels::firstOnRight(side) ? typed - 1 : typed + 1);
    default:
        return false;
    }
}

int openingAfterTyping(const QString& side, int x, int typed) {
    if (labels::firstOnRight(side))
        return labels::openingNumber(side, std::max(x, typed));
    return labels::openingNumber(side, x);
}

int typedPageIndex(const QStringList& labels, int kind, const QString& side, int typed) {
    const int count = static_cast<int>(labels.size());
    int i = 0;
    while (i < count && !typedMatches(kind, side, numericValue(labels[i]), typed))
        ++i;
    if (i == count || kind != labels::Openings)
        return i;
    const int wanted = openingAfterTyping(side, toInteger(numericValue(labels[i])), typed);
    for (int j = 0; j < count; ++j)
        if (numericValue(labels[j]) == wanted)
            return j;
    return i;
}

} // namespace cvx::lookup
