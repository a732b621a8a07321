// Page labels for every numbering kind and side, and the inverse rules that find a page again.
#include "archive/label_rules.h"
#include "archive/lookup_rules.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace cvx;

namespace {
QStringList labelsFor(int kind, const char* side, int first, int count) {
    QStringList out;
    for (int k = 1; k <= count; ++k)
        out << labels::pageLabel(kind, QString::fromLatin1(side), first, k);
    return out;
}
} // namespace

TEST(LabelRule, PagesCountFromTheFirstNumber) {
    EXPECT_EQ(labelsFor(1, "D", 1, 3), QStringList({"0001", "0002", "0003"}));
    EXPECT_EQ(labelsFor(1, "S", 1, 3), QStringList({"0002", "0003", "0004"}));
    EXPECT_EQ(labelsFor(1, "D", 5, 2), QStringList({"0005", "0006"}));
    EXPECT_EQ(labelsFor(1, "d", 5, 1), QStringList({"0005"})); // the side is upper-cased
    EXPECT_EQ(labels::pageLabel(1, "D", 12344, 2), "2345");    // last four characters
}

TEST(LabelRule, SheetsCarryTheirSideLetter) {
    EXPECT_EQ(labelsFor(0, "D", 1, 5), QStringList({"001d", "002s", "002d", "003s", "003d"}));
    EXPECT_EQ(labelsFor(0, "S", 1, 5), QStringList({"001s", "001d", "002s", "002d", "003s"}));
    EXPECT_EQ(labelsFor(0, "D", 12, 3), QStringList({"012d", "013s", "013d"}));
    EXPECT_EQ(labelsFor(0, "x", 99, 3), QStringList({"099s", "099d", "100s"}));
}

TEST(LabelRule, OpeningsShowTheOddOrEvenPage) {
    EXPECT_EQ(labelsFor(2, "D", 1, 3), QStringList({"0003", "0005", "0007"}));
    EXPECT_EQ(labelsFor(2, "S", 0, 3), QStringList({"0002", "0004", "0006"}));
    EXPECT_EQ(labelsFor(2, "D", 20, 2), QStringList({"0023", "0025"})); // 22 and 24 made odd
    EXPECT_EQ(labelsFor(2, "S", 3, 2), QStringList({"0006", "0008"}));  // 5 and 7 made even
}

TEST(LabelRule, UnknownKindGivesNoLabel) {
    EXPECT_EQ(labels::pageLabel(3, "D", 1, 1), "");
    EXPECT_EQ(labels::pageLabel(-1, "D", 1, 1), "");
}

TEST(SheetLookup, SheetAndSideGiveTheSequenceNumber) {
    // First page on the right, sheets from 1: 001d 002s 002d 003s 003d.
    EXPECT_EQ(labels::sheetSequence("D", 1, 2, 'd'), 3);
    EXPECT_EQ(labels::sheetSequence("D", 1, 2, 's'), 2);
    EXPECT_EQ(labels::sheetSequence("D", 1, 2, ' '), 2); // no letter: the "s" side
    EXPECT_EQ(labels::sheetSequence("D", 1, 1, 'd'), 1);
    // First page on the left: 001s 001d 002s.
    EXPECT_EQ(labels::sheetSequence("S", 1, 1, 's'), 1);
    EXPECT_EQ(labels::sheetSequence("S", 1, 1, 'd'), 2);
    EXPECT_EQ(labels::sheetSequence("S", 1, 2, '2'), 3);
}

TEST(SheetLookup, EveryLabelLeadsBackToItsEntry) {
    for (const char* side : {"D", "S"})
        for (int first : {0, 1, 7, 120})
            for (int k = 1; k <= 40; ++k) {
                const QString label = labels::pageLabel(0, side, first, k);
                EXPECT_EQ(labels::sheetSequence(side, first, label.left(3).toInt(), label[3]), k)
                    << side << " " << first << " " << label.toStdString();
            }
}

TEST(OpeningLookup, NumbersAreMadeOddOrEven) {
    EXPECT_EQ(labels::openingNumber("D", 4), 5);
    EXPECT_EQ(labels::openingNumber("D", 5), 5);
    EXPECT_EQ(labels::openingNumber("S", 5), 6);
    EXPECT_EQ(labels::openingNumber("S", 6), 6);
}

TEST(TypedLookup, BookIsTheLastWhoseFirstNumberIsReached) {
    // Book 0 front matter, then books starting at pages 1, 7, 20 and 1233.
    const std::vector<int> firsts{1, 1, 7, 20, 1233};
    EXPECT_EQ(lookup::bookForNumber(firsts, 3), 1);
    EXPECT_EQ(lookup::bookForNumber(firsts, 7), 2);
    EXPECT_EQ(lookup::bookForNumber(firsts, 19), 2);
    EXPECT_EQ(lookup::bookForNumber(firsts, 24), 3);
    EXPECT_EQ(lookup::bookForNumber(firsts, 0), 1);    // below book 1: book 1, never book 0
    EXPECT_EQ(lookup::bookForNumber(firsts, 9999), 4); // beyond the last: the last
    EXPECT_EQ(lookup::bookForNumber({5}, 9), 0);       // a one-book volume has only book 0
    EXPECT_EQ(lookup::bookForNumber({}, 9), -1);
}

TEST(TypedLookup, LabelsThatAnswerATypedNumber) {
    EXPECT_TRUE(lookup::typedMatches(1, "D", 12, 12));
    EXPECT_FALSE(lookup::typedMatches(1, "D", 11, 12));
    EXPECT_TRUE(lookup::typedMatches(0, "D", 12, 12)); // "012s" has the value 12
    EXPECT_TRUE(lookup::typedMatches(2, "D", 3, 4));   // the opening before
    EXPECT_FALSE(lookup::typedMatches(2, "D", 5, 4));
    EXPECT_TRUE(lookup::typedMatches(2, "S", 6, 5)); // the opening after
    EXPECT_FALSE(lookup::typedMatches(2, "S", 4, 5));
    EXPECT_FALSE(lookup::typedMatches(5, "D", 4, 4));
}

TEST(TypedLookup, TypingAPageOfAnOpeningEndsOnTheOpeningThatHoldsIt) {
    EXPECT_EQ(lookup::openingAfterTyping("D", 3, 4), 5); // typing 4 matches 0003, shows 0005
    EXPECT_EQ(lookup::openingAfterTyping("D", 5, 5), 5);
    EXPECT_EQ(lookup::openingAfterTyping("S", 6, 5), 6);
}
