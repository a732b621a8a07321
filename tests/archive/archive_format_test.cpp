// The bookmark's values, the location of an entry's data, and the records of the books.
#include "app/product_block.h"
#include "archive/archive_layout.h"
#include "archive/book_records.h"
#include "archive/bookmark_file.h"
#include "archive/entry_restore.h"

#include <gtest/gtest.h>

using namespace cvx;

TEST(BookmarkValues, LinesCommasBlanksAndQuotes) {
    EXPECT_EQ(bookmark::listItems(" 2\r\n 15\r\n"), QStringList({"2", "15"}));
    EXPECT_EQ(bookmark::listItems("1,3"), QStringList({"1", "3"}));
    EXPECT_EQ(bookmark::listItems("  4 ,\t7  \n"), QStringList({"4", "7"}));
    EXPECT_EQ(bookmark::listItems("\"1, 2\",x"), QStringList({"1, 2", "x"}));
    EXPECT_EQ(bookmark::listItems("a,,b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(bookmark::listItems("5\r6"), QStringList({"5", "6"}));
    EXPECT_EQ(bookmark::listItems(""), QStringList());
    EXPECT_EQ(bookmark::listItems("   \r\n"), QStringList({""}));
}

TEST(BookmarkValues, FewerThanTwoValuesIsNoPlace) {
    const auto place = bookmark::readPlace(" 2\r\n 15\r\n");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->book, "2");
    EXPECT_EQ(place->page, "15");
    EXPECT_FALSE(bookmark::readPlace(" 2\r\n"));
    EXPECT_FALSE(bookmark::readPlace("\x01\x02garbage\x7f"));
    EXPECT_TRUE(bookmark::readPlace("abc,xyz")); // two values, neither a number
}

TEST(EntryLocation, OnlyPlainNumbersWithinTheArchive) {
    const auto e = archive::entryLocation("0000010670", "0007705");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->position, 10670);
    EXPECT_EQ(e->length, 7705);
    EXPECT_TRUE(archive::insideArchive(*e, 10670 + 7705 - 1));
    EXPECT_FALSE(archive::insideArchive(*e, 10670 + 7705 - 2));
    EXPECT_FALSE(archive::entryLocation("", "0007705"));
    EXPECT_FALSE(archive::entryLocation("00000106x0", "0007705"));
    EXPECT_FALSE(archive::entryLocation("0000000000", "0007705")); // positions count from 1
    EXPECT_FALSE(archive::entryLocation("9999999999", "0007705")); // beyond 32 bits
    EXPECT_FALSE(archive::entryLocation("1", QString(7, QChar(0))));
    EXPECT_TRUE(archive::entryLocation(" 12 ", "0"));
}

// Entries built from a picture by the storing rule itself, positions 1-based: head byte i
// (i = 1 .. 3852) is stored as (P[i] + E[3853 + i]) mod 256, the tail as it is.
TEST(EntryRestore, EveryByteOfAnEntryBuiltByTheRuleComesBack) {
    for (const int length : {7705, 9000}) {
        QByteArray picture(length, '\0');
        for (int i = 0; i < length; ++i)
            picture[i] = static_cast<char>((i * 131 + 7) ^ (i >> 5));
        picture[0] = static_cast<char>(240); // with its partner 32: stored as 16
        picture[3853] = 32;
        QByteArray entry = picture;
        const auto at = [&](int i) { return static_cast<unsigned char>(entry[i - 1]); };
        for (int i = 1; i <= 3852; ++i)
            entry[i - 1] = static_cast<char>(
                (static_cast<unsigned char>(picture[i - 1]) + at(3853 + i)) % 256);
        ASSERT_EQ(at(1), 16);
        ASSERT_TRUE(archive::restoreEntry(entry));
        EXPECT_EQ(entry, picture) << length;
    }
    QByteArray tooShort(7704, 'x');
    EXPECT_FALSE(archive::restoreEntry(tooShort));
    EXPECT_EQ(tooShort, QByteArray(7704, 'x'));
}

TEST(BookRecords, NumberingFieldsAndLabels) {
    const QStringList records{
        block::makeBookRecord("Primo", 1, 'D', 5), block::makeBookRecord("Tavole", 2, 's', 20),
        block::makeBookRecord("tavole", 0, 'D', 1), block::makeBookRecord("Tavole", 0, 'D', 300)};
    const books::Numbering n = books::numberingOf(records[1]);
    EXPECT_EQ(n.kind, 2);
    EXPECT_EQ(n.side, "s");
    EXPECT_EQ(n.firstNumber, 20);
    EXPECT_EQ(books::findRecord(records, "  Tavole ", -1, Qt::CaseSensitive), 1);
    EXPECT_EQ(books::findRecord(records, "tavole", -1, Qt::CaseSensitive), 2);
    EXPECT_EQ(books::findRecord(records, "TAVOLE", -1, Qt::CaseSensitive), -1);
    EXPECT_EQ(books::findRecord(records, "TAVOLE", -1, Qt::CaseInsensitive), 1);
    // Two books with one label: the selected one keeps its own record.
    EXPECT_EQ(books::findRecord(records, "Tavole", 3, Qt::CaseSensitive), 3);
    EXPECT_EQ(books::findRecord(records, "Tavole", 0, Qt::CaseSensitive), 1);
}
