// Text and number rules: numeric value, number texts, fixed-length fields, 16-bit integers.
#include "app/text_rules.h"

#include <gtest/gtest.h>

using namespace cvx;

TEST(NumericValue, ReadsTheLeadingNumberOnly) {
    EXPECT_EQ(numericValue(u"012s"), 12);
    EXPECT_EQ(numericValue(u"   7"), 7);
    EXPECT_EQ(numericValue(u"s12"), 0);
    EXPECT_EQ(numericValue(u""), 0);
    EXPECT_EQ(numericValue(u" -3"), -3);
    EXPECT_DOUBLE_EQ(numericValue(u"12.5x"), 12.5);
    EXPECT_EQ(numericValue(u"0000123\u0000"), 123);
    EXPECT_EQ(numericValue(u"1 2"), 1);
}

TEST(NumberTexts, PlainAndWithSignPosition) {
    EXPECT_EQ(numberText(15), "15");
    EXPECT_EQ(numberText(0), "0");
    EXPECT_EQ(signedNumberText(3), " 3");
    EXPECT_EQ(signedNumberText(0), " 0");
    EXPECT_EQ(signedNumberText(-2), "-2");
    EXPECT_EQ(lastFour("00007"), "0007");
    EXPECT_EQ(lastFour("7s"), "7s");
    EXPECT_EQ(columns("ABCDEFG", 2, 3), "BCD");
    EXPECT_EQ(columns("ABC", 5, 3), "");
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
}

TEST(FixedText, CutsLongAndPadsShortValues) {
    FixedText<4> field;
    field = QStringLiteral("12345");
    EXPECT_EQ(field.text(), "1234");
    field = QStringLiteral("7");
    EXPECT_EQ(field.text(), "7   ");
    FixedText<1> side;
    EXPECT_EQ(side.text(), " ");
}

TEST(Integers, RoundHalvesToEvenAndRefuseOverflow) {
    EXPECT_EQ(toInteger(2.5), 2);
    EXPECT_EQ(toInteger(3.5), 4);
    EXPECT_EQ(toInteger(-32768), -32768);
    EXPECT_THROW((void)toInteger(32768), RuntimeError);
    EXPECT_EQ(toLong(2147483647.0), 2147483647);
    EXPECT_THROW((void)toLong(2147483648.0), RuntimeError);
}

TEST(SingleByteText, Windows1252RoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = fromSingleByte(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC)); // euro sign
    EXPECT_EQ(text[0xE8], QChar(0xE8));   // e grave
    EXPECT_EQ(toSingleByte(text), all);
    EXPECT_FALSE(isSingleByte(QStringLiteral("\u0394")));
}
