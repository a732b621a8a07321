// Fuzzes the reading of the product data block as start-up does it on the input taken as the
// whole "Cartavox.exe": the base digits, the working-folder name, the string records of slots 1
// to 7 and the book records with their numbering fields.
#include "app/product_block.h"
#include "app/text_rules.h"
#include "archive/book_records.h"
#include "fuzz/fuzz_input.h"

using namespace cvx;

namespace {
// One string record at slot k; checks what a decoded record promises.
std::optional<QString> readSlot(const QByteArray& exe, double base, int k) {
    const QByteArray slot = fuzz::readAt(exe, block::slotPosition(base, k), block::kSlotSize);
    const auto chars = block::decodeStringRecord(slot);
    if (!chars)
        return std::nullopt;
    fuzz::require(chars->size() <= block::kMaxRecordChars);
    fuzz::require(block::decodeStringRecord(block::encodeStringRecord(*chars)) == *chars);
    return fromSingleByte(*chars);
}

void readBookRecord(const QString& record) {
    const block::BookRecordFields f = block::splitBookRecord(record);
    fuzz::require(f.label.size() <= block::kBookLabelLength);
    fuzz::require(f.label == trimBlanks(f.label));
    try {
        const books::Numbering n = books::numberingOf(record);
        fuzz::require(n.kind == f.numberingKind);
    } catch (const RuntimeError&) {
        // A first number beyond 16 bits: the viewer reports it and ends.
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray exe = fuzz::bytes(data, size);
    const qint64 length = exe.size();
    const QByteArray digits =
        fuzz::readAt(exe, block::basePosition(length), block::kBaseReadLength).left(8);
    const double base = numericValue(fromSingleByte(digits));
    const QString folder = fromSingleByte(
        fuzz::readAt(exe, block::workFolderPosition(base), block::kWorkFolderNameLength));
    // Start-up goes no further with a base outside the file or an unusable folder name.
    if (base <= block::kGridBeforeBase || base > length || !block::usableFolderName(folder))
        return 0;
    fuzz::require(folder.size() == block::kWorkFolderNameLength);
    fuzz::require(!folder.contains(QLatin1Char('/')) && !folder.contains(QChar(0)));
    for (int k = 1; k < block::kFirstBookSlot; ++k)
        (void)readSlot(exe, base, k);
    for (int i = 0; i < block::kMaxBooks; ++i) {
        const auto record = readSlot(exe, base, block::kFirstBookSlot + i);
        if (!record)
            break;
        readBookRecord(*record);
    }
    return 0;
}
