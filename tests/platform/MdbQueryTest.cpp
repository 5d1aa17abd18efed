// SPDX-License-Identifier: MIT
// The statements an Access file is read with, tested on rows of the tests' own making: every
// column type of the file format and the comparisons the fixture files cannot show.

#include "dataaccess/MdbQuery.h"
#include "dataaccess/MdbTypes.h"

#include <sifkit/SifkitError.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

using namespace platform::mdb;

/// A table of one row: name (Text), amount (Currency), day (Date/Time), n (Long Integer),
/// ratio (Single), id (Replication ID).
class MdbQueryTest : public testing::Test {
protected:
    std::vector<platform::ColumnInfo> columns{describeColumn("name", Text, 80, false, 0, true),
                                              describeColumn("amount", Currency, 8, true, 0, true),
                                              describeColumn("day", DateTime, 8, true, 0, true),
                                              describeColumn("n", LongInteger, 4, true, 0, true),
                                              describeColumn("ratio", Single, 4, true, 0, true),
                                              describeColumn("id", ReplicationId, 16, true, 0, true)};
    std::vector<Value> row{
        Value("Paris"),    Value("18.5000"), Value("1994-11-16 00:00:00"),
        Value(int64_t{7}), Value(0.15),      Value("{12345678-9ABC-DEF0-0123-456789ABCDEF}")};

    /// Whether the row passes the statement's condition with these bound values.
    bool passes(const std::string& where, const std::vector<Value>& parameters = {}) {
        Select select = parseSelect("SELECT * FROM [T] WHERE " + where);
        bindSelect(select, columns, parameters);
        return accepts(select, columns, parameters,
                       [&](std::size_t position) { return platform::CellView::of(row[position]); });
    }
};

TEST_F(MdbQueryTest, ReadsTheStatementsTheEngineAndTheLayerWrite) {
    Select all = parseSelect("Select * From [Order Details]");
    EXPECT_EQ(all.table, "Order Details");
    EXPECT_TRUE(all.columns.empty());
    Select exact =
        parseSelect("SELECT [a], [b]]c] FROM [T] WHERE [a] = ? AND [b]]c] IS NULL ORDER BY [a] DESC;");
    EXPECT_EQ(exact.columns, (std::vector<std::string>{"a", "b]c"}));
    EXPECT_EQ(exact.parameterCount, 1u);
    ASSERT_EQ(exact.orderBy.size(), 1u);
    EXPECT_TRUE(exact.orderBy[0].descending);
    Select shown = parseSelect("select [x],[y]  from [T] Where [x] = 5 AND [y] like 'it''s%' order by x");
    EXPECT_EQ(shown.columns, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(shown.orderBy[0].column, "x");
    EXPECT_EQ(parseSelect("SELECT TOP 3 T.name FROM T").top, 3);
    EXPECT_EQ(parseSelect("SELECT TOP 3 T.name FROM T").columns, (std::vector<std::string>{"name"}));
}

TEST_F(MdbQueryTest, AnyOtherStatementIsRefusedWithItsText) {
    for (const char* sql :
         {"UPDATE T SET a = 1", "SELECT a FROM T, U", "SELECT DISTINCT a FROM T", "SELECT count(*) FROM T",
          "SELECT a FROM T WHERE", "SELECT a FROM T WHERE a = 'open", "SELECT * FROM T GROUP BY a"}) {
        try {
            parseSelect(sql);
            ADD_FAILURE() << sql << " was read";
        } catch (const Error& error) {
            EXPECT_NE(error.description().find(sql), std::string::npos) << error.description();
            EXPECT_NE(error.description().find("SELECT statements of one table"), std::string::npos);
        }
    }
}

TEST_F(MdbQueryTest, NamesAndParametersMustMatchTheTable) {
    Select select = parseSelect("SELECT missing FROM T");
    EXPECT_THROW(bindSelect(select, columns, {}), Error);
    Select marks = parseSelect("SELECT * FROM T WHERE n = ?");
    EXPECT_THROW(bindSelect(marks, columns, {}), Error);
    // Names resolve without regard to letter case, as in Access.
    Select folded = parseSelect("SELECT NAME FROM T");
    bindSelect(folded, columns, {});
    EXPECT_EQ(folded.positions, (std::vector<std::size_t>{0}));
}

TEST_F(MdbQueryTest, TextsCompareByTheirBytes) {
    EXPECT_TRUE(passes("name = 'Paris'"));
    EXPECT_FALSE(passes("name = 'PARIS'"));
    EXPECT_FALSE(passes("name = 'Paris '"));
    EXPECT_TRUE(passes("name = ?", {Value("Paris")}));
    EXPECT_FALSE(passes("name = 7"));
    EXPECT_TRUE(passes("name LIKE 'Pa%'"));
    EXPECT_FALSE(passes("name LIKE 'pa%'"));
    EXPECT_TRUE(passes("name LIKE '_aris'"));
    EXPECT_TRUE(passes("name NOT LIKE '%x%'"));
}

TEST_F(MdbQueryTest, NumbersCompareByValueAndCurrencyExactly) {
    EXPECT_TRUE(passes("amount = 18.5"));
    EXPECT_TRUE(passes("amount = ?", {Value("18.50")}));
    EXPECT_TRUE(passes("amount = '18.5000'"));
    EXPECT_FALSE(passes("amount = 18.50001"));
    EXPECT_TRUE(passes("amount > 9.99 AND amount < 100"));
    EXPECT_TRUE(passes("n = 7"));
    EXPECT_TRUE(passes("n = 7.0"));
    EXPECT_TRUE(passes("n = ?", {Value(int64_t{7})}));
    EXPECT_FALSE(passes("n = 7.5"));
    // A single equals the value read from it and the literal it was written as.
    EXPECT_TRUE(passes("ratio = ?", {Value(0.15)}));
    EXPECT_TRUE(passes("ratio = 0.15"));
}

TEST_F(MdbQueryTest, DatesCompareByTheInstantWhateverTheirSpelling) {
    EXPECT_TRUE(passes("day = #1994-11-16#"));
    EXPECT_TRUE(passes("day = #11/16/1994#"));
    EXPECT_TRUE(passes("day = #11/16/94 12:00:00 AM#"));
    EXPECT_TRUE(passes("day = ?", {Value("1994-11-16 00:00:00")}));
    EXPECT_FALSE(passes("day = #1994-11-16 00:00:01#"));
    EXPECT_TRUE(passes("day < #1/1/2000#"));
}

TEST_F(MdbQueryTest, ReplicationIdsCompareWhateverTheLetterCase) {
    EXPECT_TRUE(passes("id = '{12345678-9abc-def0-0123-456789abcdef}'"));
    EXPECT_FALSE(passes("id = '{12345678-9abc-def0-0123-456789abcdee}'"));
}

TEST_F(MdbQueryTest, NullIsNeitherEqualNorUnequal) {
    row[3] = Value();
    EXPECT_FALSE(passes("n = 7"));
    EXPECT_FALSE(passes("n <> 7"));
    EXPECT_FALSE(passes("NOT (n = 7)"));
    EXPECT_TRUE(passes("n IS NULL"));
    EXPECT_FALSE(passes("n IS NOT NULL"));
    EXPECT_TRUE(passes("n = 7 OR name = 'Paris'"));
    EXPECT_FALSE(passes("n = ?", {Value()}));
}

TEST_F(MdbQueryTest, OrderingPutsNullFirstAndFollowsTheType) {
    const platform::ColumnInfo& amount = columns[1];
    EXPECT_LT(orderOf(Value(), Value("1.0000"), amount), 0);
    EXPECT_LT(orderOf(Value("9.5000"), Value("10.2500"), amount), 0);
    EXPECT_EQ(orderOf(Value("10.2500"), Value("10.25"), amount), 0);
    EXPECT_LT(orderOf(Value("-3.0000"), Value("-2.0000"), amount), 0);
    EXPECT_LT(orderOf(Value("0999-01-01 00:00:00"), Value("1899-12-30 00:00:00"), columns[2]), 0);
    EXPECT_LT(orderOf(Value(int64_t{9}), Value(int64_t{10}), columns[3]), 0);
}

TEST(MdbLikeTest, WildcardsTakeCharactersNotBytes) {
    EXPECT_TRUE(likeMatches("Zoë", "Zo_"));
    EXPECT_FALSE(likeMatches("Zoë", "Zo__"));
    EXPECT_TRUE(likeMatches("50% off", "50%%off"));
    EXPECT_TRUE(likeMatches("abcabc", "%bc"));
    EXPECT_TRUE(likeMatches("", "%"));
    EXPECT_FALSE(likeMatches("ab", "a"));
}

} // namespace
} // namespace sifkit::test
