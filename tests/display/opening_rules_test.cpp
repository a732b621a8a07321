// The sides and pairs of facing pages and their places, against figures worked out by hand.
#include "display/opening_rules.h"

#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::openings;

namespace {
constexpr Side L = Side::Left;
constexpr Side R = Side::Right;
} // namespace

TEST(OpeningRules, EachPageTakesItsSideFromItsNumber) {
    struct Row {
        int kind;
        const char* side;
        int first, k;
        Place place;
    };
    const Row rows[] = {
        {0, "D", 1, 1, {1, R}},          {0, "D", 1, 2, {2, L}},
        {0, "D", 1, 3, {2, R}},          {0, "D", 1, 4, {3, L}},
        {0, "s", 1, 1, {1, L}},          {0, "s", 1, 2, {1, R}},
        {0, "s", 1, 3, {2, L}},          {0, "d", 5, 2, {6, L}},      // "d" is "D"
        {0, "D", 999, 2, {1000, L}},     {0, "D", 999, 3, {1000, R}}, // labels 000s, 000d
        {1, "D", 1, 1, {0, R}},          {1, "D", 1, 2, {2, L}},
        {1, "D", 1, 3, {2, R}},          {1, "S", 1, 1, {2, L}},
        {1, "S", 1, 2, {2, R}},          {1, "S", 1, 3, {4, L}},
        {1, "D", 10, 1, {9, R}},         {1, "", 1000, 1, {1001, L}},
        {1, "", 1000, 2, {1001, R}},     {2, "D", 1, 1, {0, Side::None}},
        {5, "D", 1, 1, {0, Side::None}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(placeOf(r.kind, QString::fromLatin1(r.side), r.first, r.k), r.place)
            << r.kind << r.side << r.first << " k=" << r.k;
}

TEST(OpeningRules, PagesPairOnlyWithTheOtherSideOfTheirOwnOpening) {
    struct Row {
        const char* what;
        std::vector<Place> places;
        int index;
        Opening opening;
    };
    const std::vector<Place> book = {{0, R}, {2, L}, {2, R}, {4, L}}; // 0001, 0002-0003, 0004
    const std::vector<Place> gap = {{0, R}, {2, L}, {4, R}, {6, L}};  // 0001 0002 0005 0006
    const Row rows[] = {
        {"first on the right", book, 0, {-1, 0}},
        {"left of a pair", book, 1, {1, 2}},
        {"right of a pair", book, 2, {1, 2}},
        {"last alone", book, 3, {3, -1}},
        {"past the end", book, 4, {}},
        {"before the start", book, -1, {}},
        {"left beside a gap", gap, 1, {1, -1}},
        {"right beside a gap", gap, 2, {-1, 2}},
        {"a second left", {{2, L}, {2, L}, {2, R}}, 0, {0, -1}},
        {"the left next to the right", {{2, L}, {2, L}, {2, R}}, 2, {1, 2}},
        {"a second right", {{2, L}, {2, R}, {2, R}}, 2, {-1, 2}},
        {"right listed first", {{2, R}, {2, L}}, 1, {1, -1}},
        {"no side", {{0, Side::None}, {0, Side::None}}, 0, {0, -1}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(openingAt(r.places, r.index), r.opening) << r.what;
}

TEST(OpeningRules, FacingPagesMeetAtTheCentreOnWholePixels) {
    // 60 x 90 pixels (900 x 1350 twips) into half of 9030 - 30 by 7030 - 30: 4500 x 6750; the
    // centre line at pixel 301.
    const shown::Placement left = facingPlaced(QSizeF(900, 1350), {9030, 7030, 1}, false);
    const shown::Placement right = facingPlaced(QSizeF(900, 1350), {9030, 7030, 2}, true);
    EXPECT_EQ(left.left, 15);
    EXPECT_EQ(right.left, 4515);
    EXPECT_EQ(left.top, 15);
    EXPECT_EQ(left.width, 4500);
    EXPECT_EQ(left.height, 6750);
    EXPECT_EQ(left.pixels, QSize(300, 450));
    EXPECT_EQ(right.pixels, QSize(600, 900));
}
