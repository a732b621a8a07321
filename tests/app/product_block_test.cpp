// The product data block's layout, read back from blocks built here.
#include "app/product_block.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::block;

TEST(StringRecord, HeadLengthAndCharacters) {
    const QByteArray slot = encodeStringRecord("Venezia");
    ASSERT_EQ(slot.size(), 68);
    EXPECT_EQ(slot.left(4), QByteArray("\x08\x00\x07\x00", 4));
    EXPECT_EQ(decodeStringRecord(slot).value(), "Venezia");
}

TEST(StringRecord, RefusesWrongTypeLongLengthAndShortData) {
    QByteArray slot = encodeStringRecord("abc");
    slot[0] = 3;
    EXPECT_FALSE(decodeStringRecord(slot));
    QByteArray tooLong = encodeStringRecord("abc");
    qToLittleEndian<quint16>(65, reinterpret_cast<uchar*>(tooLong.data()) + 2);
    EXPECT_FALSE(decodeStringRecord(tooLong));
    EXPECT_FALSE(decodeStringRecord(encodeStringRecord("abcdef").left(7)));
}

TEST(BookRecord, ColumnsOfTheRecord) {
    const QString record =
        makeBookRecord(QStringLiteral("02 Lib.02 Secondo libro"), 0, QLatin1Char('S'), 12);
    ASSERT_EQ(record.size(), 60);
    EXPECT_EQ(record.mid(49, 10), QStringLiteral(" 0S000012*"));
    EXPECT_EQ(record[59], QChar(0));
    const BookRecordFields f = splitBookRecord(record);
    EXPECT_EQ(f.label, "02 Lib.02 Secondo libro");
    EXPECT_EQ(f.numberingKind, 0);
    EXPECT_EQ(f.firstSide, "S");
    EXPECT_EQ(f.firstNumber, 12);
}

TEST(Block, BaseDigitsAndSlotsStandWhereTheViewerReadsThem) {
    ProductData d;
    d.title = QStringLiteral("Titolo");
    d.coverArchiveCode = QStringLiteral("00001");
    d.coverEntryNumber = 3;
    d.workFolderName = QStringLiteral("ABCDEFGH");
    d.bookRecords << makeBookRecord(QStringLiteral("01 Lib.01 Uno"), 1, QLatin1Char('D'), 1);
    const QByteArray exe(5000, 'x');
    const QByteArray file = exe + buildBlock(d, exe.size()).value();
    const qint64 basePos = basePosition(file.size());
    const double base = file.mid(basePos - 1, 8).toDouble();
    EXPECT_EQ(base, 5000 + 1 + 35000); // slot 0 starts right after the executable
    auto slot = [&](int k) { return file.mid(slotPosition(base, k) - 1, 68); };
    EXPECT_EQ(decodeStringRecord(slot(1)).value(), "00001");
    EXPECT_EQ(decodeStringRecord(slot(2)).value(), QByteArray("3\0", 2));
    EXPECT_EQ(decodeStringRecord(slot(3)).value(), QByteArray("Titolo\0", 7));
    EXPECT_EQ(decodeStringRecord(slot(8)).value().size(), 60);
    EXPECT_EQ(file.mid(workFolderPosition(base) - 1, 8), "ABCDEFGH");
}

TEST(FolderName, RefusesNamesThatCannotNameAFolder) {
    EXPECT_TRUE(usableFolderName(QStringLiteral("CVX 01  ")));
    EXPECT_FALSE(usableFolderName(QStringLiteral("        ")));
    EXPECT_FALSE(usableFolderName(QStringLiteral("AB/CDEFG")));
    EXPECT_FALSE(usableFolderName(QString::fromLatin1("ABCDEFG\0", 8)));
    EXPECT_FALSE(usableFolderName(QStringLiteral("..      ")));
    EXPECT_FALSE(usableFolderName(QStringLiteral("SHORT")));
}
