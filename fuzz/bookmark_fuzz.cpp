// Fuzzes the reading of the bookmark file, on the input taken as the file: its list values,
// and the book and page they name once start-up has made them fit the volume.
#include "app/text_rules.h"
#include "archive/bookmark_file.h"
#include "fuzz/fuzz_input.h"

#include <cmath>

using namespace cvx;

namespace {
constexpr int kBooks = 3;  // a volume of three books
constexpr int kPages = 40; // of forty pages each
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fromSingleByte(fuzz::bytes(data, size));
    const QStringList items = bookmark::listItems(text);
    const auto place = bookmark::readPlace(text);
    fuzz::require(place.has_value() == (items.size() >= 2));
    if (!place)
        return 0;
    fuzz::require(place->book == items[0] && place->page == items[1]);

    // The book: a number within the volume, else the first book.
    const double index = std::nearbyint(numericValue(place->book));
    const int book = index >= 0 && index < kBooks ? static_cast<int>(index) : 0;
    fuzz::require(book >= 0 && book < kBooks);

    // The page: a four-character field, clamped to the book's pages.
    FixedText<4> page;
    page = place->page;
    fuzz::require(page.text().size() == 4);
    if (numericValue(page.text()) > kPages - 1)
        page = numberText(kPages - 1);
    if (numericValue(page.text()) < 0)
        page = QStringLiteral("0");
    const int shown = toInteger(numericValue(page.text()));
    fuzz::require(shown >= 0 && shown <= kPages - 1);

    // What closing writes back reads as the same place.
    const QString written = signedNumberText(book) + QStringLiteral("\r\n") +
                            signedNumberText(shown) + QStringLiteral("\r\n");
    const auto back = bookmark::readPlace(written);
    fuzz::require(back && numericValue(back->book) == book && numericValue(back->page) == shown);
    return 0;
}
