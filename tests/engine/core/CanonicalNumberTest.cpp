// SPDX-License-Identifier: MIT
#include "core/CanonicalNumber.h"
#include "core/RecordFingerprint.h"

#include <gtest/gtest.h>

namespace sifkit::detail {
namespace {

// Spellings of one number share one form; neighbours, however near, do not.
TEST(CanonicalNumberTest, EqualNumbersShareOneFormWhateverTheirSpelling) {
    const std::vector<std::vector<const char*>> sameNumber = {
        {"7", "7.00", "+7", "007", "0.7e1", "70E-1", "7."},
        {"0", "-0", "0.000", "-0.0", "0e5"},
        {"1.1", "1.10", "11e-1", "0.11E+1"},
        {"-12.34", "-12.3400", "-1234e-2"},
        {"18446744073709551615", "18446744073709551615.000"}};
    for (const auto& spellings : sameNumber)
        for (const char* spelling : spellings)
            EXPECT_EQ(numberFromText(spelling), numberFromText(spellings.front())) << spelling;
    EXPECT_NE(numberFromText("1.1"), numberFromText("1.1000000000000001"));
    EXPECT_NE(numberFromText("-7"), numberFromText("7"));
    for (const char* notANumber : {"", "-", ".", "1e", "1e+", " 7", "7 ", "1,5", "0x10", "NaN", "1.2.3"})
        EXPECT_FALSE(numberFromText(notANumber)) << notANumber;
}

// Whole numbers an int64_t holds are told as such, to the last one each way; reals are the
// numbers they are shown as.
TEST(CanonicalNumberTest, WholeNumbersAndRealsMeetTheirDecimalSpellings) {
    int64_t whole = 0;
    ASSERT_TRUE(numberFromText("9223372036854775807")->asInt64(whole));
    EXPECT_EQ(whole, INT64_MAX);
    ASSERT_TRUE(numberFromText("-9223372036854775808")->asInt64(whole));
    EXPECT_EQ(whole, INT64_MIN);
    ASSERT_TRUE(numberFromText("1.5e3")->asInt64(whole));
    EXPECT_EQ(whole, 1500);
    EXPECT_FALSE(numberFromText("9223372036854775808")->asInt64(whole));
    EXPECT_FALSE(numberFromText("1.5")->asInt64(whole));
    EXPECT_FALSE(numberFromText("1e19")->asInt64(whole));

    EXPECT_EQ(numberFromReal(1.1), *numberFromText("1.10"));
    EXPECT_EQ(numberFromReal(0.1 + 0.2), *numberFromText("0.30000000000000004"));
    EXPECT_NE(numberFromReal(0.1 + 0.2), *numberFromText("0.3"));
    EXPECT_EQ(numberFromReal(1e300), *numberFromText("1e300"));
}

// Access shows a Replication ID braced and upper-case, PostgreSQL a uuid bare and lower-case:
// the same GUID digests the same, and a text column's spelling still counts.
TEST(CanonicalNumberTest, AGuidDigestsAlikeInEverySpelling) {
    std::vector<platform::ColumnInfo> guid(1), text(1);
    guid[0].typeCode = 72;
    text[0].typeCode = 200;
    const platform::Dialect dialect;
    const auto digest = [&](const std::vector<platform::ColumnInfo>& columns, std::string_view value) {
        platform::CellView cell;
        cell.kind = Value::Kind::Text;
        cell.bytes = value;
        return fingerprintOf(&cell, planFor(columns, {0}, columns, dialect));
    };
    const std::string_view bare = "0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9";
    EXPECT_EQ(digest(guid, "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}"), digest(guid, bare));
    EXPECT_EQ(digest(guid, bare), digest(text, bare));
    EXPECT_NE(digest(text, "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9"), digest(text, bare));
    EXPECT_EQ(guidInOneSpelling("{not a guid}"), "{not a guid}");
}

} // namespace
} // namespace sifkit::detail
