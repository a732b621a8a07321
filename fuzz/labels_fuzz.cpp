// Fuzzes the page label and lookup rules with the values the viewer reads from outside: the
// input's lines are a book record, a directory slot text, a typed page number and the records
// of further books. Labels must lead back to their entries and lookups stay within the volume.
#include "app/text_rules.h"
#include "archive/archive_layout.h"
#include "archive/book_records.h"
#include "archive/label_rules.h"
#include "archive/lookup_rules.h"
#include "fuzz/fuzz_input.h"

#include <optional>

using namespace cvx;

namespace {
std::optional<books::Numbering> numbering(const QString& record) {
    try {
        return books::numberingOf(record);
    } catch (const RuntimeError&) {
        return std::nullopt; // a first number beyond 16 bits: reported by the viewer, which ends
    }
}

// Entry k's label, and the rules that find entry k again from it.
void checkLabel(const books::Numbering& n, int k) {
    const QString label = labels::pageLabel(n.kind, n.side, n.firstNumber, k);
    const int number = labels::labelNumber(n.kind, n.side, n.firstNumber, k);
    fuzz::require(label.size() <= 4);
    if (k < 1 || number < 0)
        return;
    switch (n.kind) {
    case labels::Sheets:
        if (number <= 999)
            fuzz::require(labels::sheetSequence(n.side, n.firstNumber, numericValue(label.left(3)),
                                                label.back()) == k);
        break;
    case labels::Pages:
        if (number <= 9999)
            fuzz::require(numericValue(label) == number);
        break;
    case labels::Openings:
        fuzz::require(labels::openingNumber(n.side, number) == number);
        if (number <= 9999)
            fuzz::require(lookup::typedMatches(n.kind, n.side, numericValue(label), number));
        break;
    default:
        fuzz::require(label.isEmpty());
    }
}

void checkLookup(const QStringList& records, const QString& typedText) {
    std::vector<int> firstNumbers;
    for (const QString& record : records)
        if (const auto n = numbering(record))
            firstNumbers.push_back(n->firstNumber);
    int typed = 0;
    try {
        typed = toInteger(numericValue(typedText.left(4)));
    } catch (const RuntimeError&) {
        return;
    }
    const int book = lookup::bookForNumber(firstNumbers, typed);
    const int count = static_cast<int>(firstNumbers.size());
    fuzz::require(count == 0 ? book == -1 : (book >= (count > 1 ? 1 : 0) && book < count));
    for (const char* side : {"D", "S"}) {
        const int opening = lookup::openingAfterTyping(QLatin1String(side), typed, typed);
        fuzz::require(opening == typed || opening == typed + 1);
    }
    const int found = books::findRecord(records, typedText, 0, Qt::CaseInsensitive);
    fuzz::require(found >= -1 && found < records.size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList lines = fromSingleByte(fuzz::bytes(data, size)).split(QLatin1Char('\n'));
    if (lines.size() < 3)
        return 0;
    const int k = archive::sequenceNumber(lines[1]);
    if (const auto n = numbering(lines[0]))
        checkLabel(*n, k);
    checkLookup(lines.mid(3, 402), lines[2]);
    return 0;
}
