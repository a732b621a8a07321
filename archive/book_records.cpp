// Book records.
#include "archive/book_records.h"

#include "app/product_block.h"
#include "app/text_rules.h"

namespace cvx::books {

Numbering numberingOf(const QString& record) {
    const block::BookRecordFields f = block::splitBookRecord(record);
    return {toInteger(f.numberingKind), f.firstSide, toInteger(f.firstNumber)};
}

int findRecord(const QStringList& records, const QString& label, int preferred,
               Qt::CaseSensitivity cs) {
    const QString wanted = trimBlanks(label);
    auto matches = [&](qsizetype i) {
        return trimBlanks(columns(records[i], 1, block::kBookLabelLength)).compare(wanted, cs) == 0;
    };
    if (preferred >= 0 && preferred < records.size() && matches(preferred))
        return preferred;
    for (qsizetype i = 0; i < records.size(); ++i)
        if (matches(i))
            return static_cast<int>(i);
    return -1;
}

} // namespace cvx::books
