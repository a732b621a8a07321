// The sides and pairs of a book's pages, and their places in the facing view.
#include "display/opening_rules.h"

#include "archive/archive_layout.h"
#include "archive/label_rules.h"
#include "display/fit_geometry.h"
#include "platform/picture.h"

#include <algorithm>
#include <cmath>

namespace cvx::openings {

namespace {
// Twips rounded to whole pixels, at least one.
double wholePixels(double twips) {
    return std::max(1.0, std::round(twips / kTwipsPerPixel)) * kTwipsPerPixel;
}
} // namespace

Place placeOf(int kind, const QString& firstSide, int firstNumber, int k) {
    const int n = labels::labelNumber(kind, firstSide, firstNumber, k);
    switch (kind) {
    case labels::Sheets:
        // The side letter the label rule gives: "d" when k's oddness matches the first side.
        return {n, (k % 2 != 0) == labels::firstOnRight(firstSide) ? Side::Right : Side::Left};
    case labels::Pages: {
        // k = 1 is page F on the right, or page F + 1 on the left: the right pages are those an
        // even count of pages past F.
        const bool right = (n - firstNumber) % 2 == 0;
        return {right ? n - 1 : n, right ? Side::Right : Side::Left};
    }
    default:
        return {};
    }
}

std::vector<Place> placesOf(int kind, const QString& firstSide, int firstNumber,
                            const QStringList& slotTexts) {
    std::vector<Place> places;
    places.reserve(static_cast<std::size_t>(slotTexts.size()));
    for (const QString& text : slotTexts)
        places.push_back(placeOf(kind, firstSide, firstNumber, archive::sequenceNumber(text)));
    return places;
}

Opening openingAt(const std::vector<Place>& places, int index) {
    const int count = static_cast<int>(places.size());
    if (index < 0 || index >= count)
        return {};
    const auto at = [&](int i) { return places[static_cast<std::size_t>(i)]; };
    const auto faces = [&](int left) {
        return at(left).side == Side::Left && at(left + 1).side == Side::Right &&
               at(left).opening == at(left + 1).opening;
    };
    if (index + 1 < count && faces(index))
        return {index, index + 1};
    if (index > 0 && faces(index - 1))
        return {index - 1, index};
    return at(index).side == Side::Right ? Opening{-1, index} : Opening{index, -1};
}

double centreLine(double areaWidth) {
    return std::floor(areaWidth / 2 / kTwipsPerPixel) * kTwipsPerPixel;
}

shown::Placement facingPlaced(QSizeF natural, const shown::Area& area, bool right) {
    const QSizeF box((area.width - fit::kBorderAllowance) / 2, area.height - fit::kBorderAllowance);
    shown::Placement p =
        shown::fittedInto(natural, box, box.width(), shown::kTopOfArea, area.pixelRatio);
    p.width = wholePixels(p.width);
    p.height = wholePixels(p.height);
    const double centre = centreLine(area.width);
    p.left = right ? centre : centre - p.width;
    p.pixels = shown::devicePixels(p.left, p.top, p.width, p.height, area.pixelRatio);
    return p;
}

} // namespace cvx::openings
