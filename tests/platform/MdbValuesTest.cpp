// SPDX-License-Identifier: MIT
// The values of Access files as the file holds them, decoded from their bytes: the two fixture
// files hold no Decimal, Replication ID or Double column, no time with a fraction of a second
// and few texts beyond code page 1252.

#include "dataaccess/ExactNumbers.h"
#include "dataaccess/MdbTypes.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace sifkit::test {
namespace {

using namespace platform::mdb;

std::array<unsigned char, 8> littleEndian8(int64_t value) {
    std::array<unsigned char, 8> bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[static_cast<std::size_t>(i)] =
            static_cast<unsigned char>(static_cast<uint64_t>(value) >> (8 * i));
    return bytes;
}

/// A Decimal's 17 bytes: the sign, then four 32-bit words, the most significant first.
std::array<unsigned char, 17> decimalBytes(bool negative, std::array<uint32_t, 4> words) {
    std::array<unsigned char, 17> bytes{};
    bytes[0] = negative ? 0x80 : 0;
    for (std::size_t w = 0; w < 4; ++w)
        for (std::size_t b = 0; b < 4; ++b)
            bytes[1 + 4 * w + b] = static_cast<unsigned char>(words[w] >> (8 * b));
    return bytes;
}

TEST(MdbValuesTest, CurrencyIsExactWithItsFourPlaces) {
    EXPECT_EQ(currencyText(littleEndian8(123400).data()), "12.3400");
    EXPECT_EQ(currencyText(littleEndian8(-123400).data()), "-12.3400");
    EXPECT_EQ(currencyText(littleEndian8(0).data()), "0.0000");
    EXPECT_EQ(currencyText(littleEndian8(-1).data()), "-0.0001");
    EXPECT_EQ(currencyText(littleEndian8(std::numeric_limits<int64_t>::max()).data()),
              "922337203685477.5807");
    EXPECT_EQ(currencyText(littleEndian8(std::numeric_limits<int64_t>::min()).data()),
              "-922337203685477.5808");
}

TEST(MdbValuesTest, DecimalsAreExactToTheirScaleAndTwentyEightDigits) {
    EXPECT_EQ(decimalText(decimalBytes(false, {0, 0, 0, 12345}).data(), 2), "123.45");
    EXPECT_EQ(decimalText(decimalBytes(true, {0, 0, 0, 5}).data(), 3), "-0.005");
    EXPECT_EQ(decimalText(decimalBytes(true, {0, 0, 0, 0}).data(), 2), "0.00");
    EXPECT_EQ(decimalText(decimalBytes(false, {0, 0, 1, 0}).data(), 0), "4294967296");
    // 10^28 - 1, the largest Access holds: 0x204FCE5E 3E250261 0FFFFFFF.
    EXPECT_EQ(decimalText(decimalBytes(false, {0, 0x204FCE5E, 0x3E250261, 0x0FFFFFFF}).data(), 10),
              "999999999999999999.9999999999");
}

TEST(MdbValuesTest, DatesCountDaysFromTheEndOf1899OverTheWholeRange) {
    EXPECT_EQ(dateTimeText(0), "1899-12-30 00:00:00");
    EXPECT_EQ(dateTimeText(2), "1900-01-01 00:00:00");
    EXPECT_EQ(dateTimeText(44532.5), "2021-12-02 12:00:00");
    EXPECT_EQ(dateTimeText(2958465 + 86399.0 / 86400), "9999-12-31 23:59:59");
    EXPECT_EQ(dateTimeText(-657434), "0100-01-01 00:00:00");
    // Before 1899-12-30 the day counts back and the time of day still runs forward.
    EXPECT_EQ(dateTimeText(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(dateTimeText(-328551.75), "1000-06-15 18:00:00");
}

TEST(MdbValuesTest, ATimeKeepsThePlacesOfASecondItNeedsToReadBackExactly) {
    EXPECT_EQ(dateTimeText(44532 + 43200.5 / 86400), "2021-12-02 12:00:00.5");
    EXPECT_EQ(dateTimeText(44532 + 43200.123 / 86400), "2021-12-02 12:00:00.123");
    // A value between whole seconds is never shown as a whole second.
    const double between = std::nextafter(44532.5, 45000.0);
    EXPECT_NE(dateTimeText(between), dateTimeText(44532.5));
}

TEST(MdbValuesTest, ReplicationIdsReadAsAccessShowsThem) {
    const unsigned char bytes[16] = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                                     0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(guidText(bytes), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
}

TEST(MdbValuesTest, Jet4TextsComeAsUtf8WhetherCompressedOrNot) {
    const std::string plain("Z\0\xEB\0\xAC\x20", 6); // "Zë€"
    EXPECT_EQ(jet4Text(plain), "Zë€");
    // Compressed: bytes of characters below 256, a zero switching to two-byte characters.
    const std::string compressed("\xFF\xFE"
                                 "ab\0\xAC\x20\0c",
                                 9);
    EXPECT_EQ(jet4Text(compressed), "ab€c");
    const std::string pair("\x3D\xD8\x00\xDE", 4); // U+1F600 as a surrogate pair
    EXPECT_EQ(jet4Text(pair), "\xF0\x9F\x98\x80");
    // A surrogate without its pair is kept, as three bytes, not dropped or merged.
    const std::string lone("a\0\x3D\xD8", 4);
    EXPECT_EQ(jet4Text(lone), "a\xED\xA0\xBD");
}

TEST(MdbValuesTest, Jet3TextsReadInTheirCodePageAndNoByteIsLost) {
    const CodePageText westEuropean(1252);
    EXPECT_EQ(westEuropean("Ums\xE4tze \x80"), "Umsätze €");
    // 0x81 is no character of code page 1252: it reads as U+0081 rather than as "?".
    EXPECT_EQ(westEuropean("a\x81"
                           "b"),
              "a\xC2\x81"
              "b");
    const CodePageText none(0);
    EXPECT_EQ(none("\xE4"), "ä");
}

TEST(MdbValuesTest, ASingleIsTheDoubleOfItsShortestText) {
    EXPECT_EQ(platform::singleAsDouble(0.1f), 0.1);
    EXPECT_EQ(platform::singleAsDouble(1.2345678f), 1.2345678);
    EXPECT_EQ(static_cast<float>(platform::singleAsDouble(0.15f)), 0.15f);
    EXPECT_EQ(platform::singleAsDouble(std::numeric_limits<float>::max()), 3.4028235e38);
}

TEST(MdbValuesTest, ColumnsTakeTheJetProvidersTypeCodes) {
    struct Expected {
        int accessType;
        int32_t typeCode;
        Value::Kind storage;
    };
    const Expected expected[] = {
        {YesNo, 11, Value::Kind::Integer},     {Byte, 17, Value::Kind::Integer},
        {Integer, 2, Value::Kind::Integer},    {LongInteger, 3, Value::Kind::Integer},
        {Currency, 6, Value::Kind::Text},      {Single, 4, Value::Kind::Real},
        {Double, 5, Value::Kind::Real},        {DateTime, 7, Value::Kind::Text},
        {Text, 202, Value::Kind::Text},        {Memo, 203, Value::Kind::Text},
        {OleObject, 205, Value::Kind::Binary}, {ReplicationId, 72, Value::Kind::Text},
        {Decimal, 131, Value::Kind::Text},     {Complex, 13, Value::Kind::Integer},
    };
    for (const Expected& type : expected) {
        const platform::ColumnInfo column = describeColumn("c", type.accessType, 8, true, 18, true);
        EXPECT_EQ(column.typeCode, type.typeCode) << column.typeName;
        EXPECT_EQ(column.storage, type.storage) << column.typeName;
    }
    EXPECT_EQ(describeColumn("c", Binary, 16, true, 0, true).typeCode, 128);
    EXPECT_EQ(describeColumn("c", Binary, 16, false, 0, true).typeCode, 204);
    // A Text column's size in characters: Jet 4 keeps two bytes a character.
    EXPECT_EQ(describeColumn("c", Text, 510, false, 0, true).definedSize, 255);
    EXPECT_EQ(describeColumn("c", Text, 40, false, 0, false).definedSize, 40);
    EXPECT_EQ(describeColumn("c", Decimal, 17, true, 18, true).definedSize, 18);
}

} // namespace
} // namespace sifkit::test
