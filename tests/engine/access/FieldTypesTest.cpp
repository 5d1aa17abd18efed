// SPDX-License-Identifier: MIT
#include "support/TestEnvironment.h"

#include "access/FieldTypes.h"

#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace sifkit::test {
namespace {

TEST(FieldTypesTest, TheControlNames202AsAPlainStringAndNoUnlistedCode) {
    Sifcore core;
    EXPECT_EQ(core.getFieldDataDescrition(202), "Null_terminated_character_string");
    for (int16_t unknown : {15, 22, 300, -1})
        EXPECT_EQ(core.getFieldDataDescrition(unknown), "Not_Defined") << unknown;
}

// The two comparability rules, by code and by name, over every code of the table and a few
// outside it; they disagree on 132 and 138 only. Decimals (131) are comparable by both.
TEST(FieldTypesTest, TheTwoComparabilityRulesDisagreeOnTwoCodes) {
    const std::vector<int32_t> notComparable{0, 9, 10, 12, 13, 128, 132, 204, 205, 15, 22, 300};
    for (int32_t code = -1; code <= 301; ++code) {
        const bool byCode = detail::isComparableTypeCode(code);
        const bool byName = detail::isComparableTypeDescription(detail::describeDataType(code));
        const bool listed = detail::describeDataType(code) != "Not_Defined";
        EXPECT_EQ(byCode, listed && std::find(notComparable.begin(), notComparable.end(), code) ==
                                        notComparable.end())
            << code;
        if (code == 132 || code == 138)
            EXPECT_NE(byCode, byName) << code;
        else
            EXPECT_EQ(byCode, byName) << code;
    }
    EXPECT_TRUE(detail::isComparableTypeCode(203));
    EXPECT_TRUE(detail::isComparableTypeDescription("long_Null_terminated_string_string"));
    EXPECT_FALSE(detail::isComparableTypeCode(205));
    EXPECT_FALSE(detail::isComparableTypeDescription("Long_Binary_Value"));
}

// A record set read from a file can carry any type code, 202 included, which the SQLite driver
// never reports.
TEST(FieldTypesTest, FieldItemsNameCode202AsAUnicodeString) {
    TempDir dir;
    const std::string path = dir.file("types.xml");
    std::ofstream(path) << R"(<recordset format="sifkit-recordset" version="1" source="" table="">
  <fields>
    <field name="wide" type="202" definedSize="50" storage="text" baseTable="" baseColumn=""/>
    <field name="memo" type="203" definedSize="0" storage="text" baseTable="" baseColumn=""/>
    <field name="blob" type="205" definedSize="0" storage="binary" baseTable="" baseColumn=""/>
  </fields>
  <rows/>
</recordset>)";
    Recordset records;
    records.openFile(path);
    EXPECT_EQ(detail::fieldTypeDescription(records.field(0).type()),
              "Null_terminated_unicode_character_string");
    EXPECT_EQ(detail::fieldTypeDescription(records.field(1).type()), "long_Null_terminated_string_string");
    EXPECT_TRUE(detail::isComparableTypeCode(records.field(0).type()));
    EXPECT_TRUE(detail::isComparableTypeCode(records.field(1).type()));
    EXPECT_FALSE(detail::isComparableTypeCode(records.field(2).type()));
    EXPECT_EQ(records.fieldCount(), 3);
}

} // namespace
} // namespace sifkit::test
