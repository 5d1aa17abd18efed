// SPDX-License-Identifier: MIT
#include "access/SqlLiterals.h"
#include "core/DataMatch.h"
#include "legacy/StatementText.h"
#include "support/DataRun.h"
#include "support/TestEnvironment.h"

#include <sifkit/FieldList.h>
#include <sifkit/clsDBManager.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

using detail::LiteralUse;
using detail::sqlLiteral;

TEST(SqlLiteralTest, QuotesAreDoubled) {
    EXPECT_EQ(detail::doubleSingleQuotes("O'Neil"), "O''Neil");
    EXPECT_EQ(detail::doubleSingleQuotes("''"), "''''");
    EXPECT_EQ(detail::doubleSingleQuotes("plain"), "plain");
}

struct LiteralCase {
    int32_t typeCode;
    const char* text;
    bool isAccess;
    const char* whereClause;
    const char* matchQuery;
};

void PrintTo(const LiteralCase& c, std::ostream* out) {
    *out << "type " << c.typeCode << " \"" << c.text << '"';
}

class SqlLiteralByTypeTest : public testing::TestWithParam<LiteralCase> {};

TEST_P(SqlLiteralByTypeTest, FollowsTheTypeCode) {
    const LiteralCase& c = GetParam();
    EXPECT_EQ(sqlLiteral(std::string(c.text), c.typeCode, c.isAccess, LiteralUse::WhereClause),
              c.whereClause);
    EXPECT_EQ(sqlLiteral(std::string(c.text), c.typeCode, c.isAccess, LiteralUse::MatchQuery), c.matchQuery);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SqlLiteralByTypeTest,
    testing::Values(LiteralCase{3, "7", false, "7", "7"}, LiteralCase{5, "2.5", false, "2.5", "2.5"},
                    LiteralCase{6, "12.30", false, "'12.30'", "12.30"}, // currency: raw only in the match
                    LiteralCase{135, "2001-02-03 04:05:06", true, "#2001-02-03 04:05:06#",
                                "#2001-02-03 04:05:06#"},
                    LiteralCase{133, "2001-02-03", false, "'2001-02-03'", "'2001-02-03'"},
                    LiteralCase{7, "it's", true, "#it''s#", "#it''s#"},
                    LiteralCase{200, "O'Neil", false, "'O''Neil'", "'O''Neil'"},
                    LiteralCase{203, "memo", false, "'memo'", "'memo'"},
                    LiteralCase{131, "10.50", false, "10.50", "10.50"},
                    LiteralCase{999, "x", false, "x", "x"}));

TEST(FieldListTest, NamesAreReadWithoutEverPassingTextOn) {
    using Names = std::optional<std::vector<std::string>>;
    EXPECT_EQ(parseFieldList(""), Names(std::vector<std::string>{}));
    EXPECT_EQ(parseFieldList(" * "), Names(std::vector<std::string>{}));
    EXPECT_EQ(parseFieldList("[id], name ,[a]]b],[x; y]"),
              Names(std::vector<std::string>{"id", "name", "a]b", "x; y"}));
    for (const char* hostile : {"[x]; drop table y", "a b", "[open", "id,", "count(*)", "a]"})
        EXPECT_EQ(parseFieldList(hostile), std::nullopt) << hostile;
    // What a host writes reads back as the same names, whatever they hold.
    const std::vector<std::string> names{"id", "a]b", "[x]", "x; y", "", "]]"};
    EXPECT_EQ(writeFieldList(names), "[id],[a]]b],[[x]]],[x; y],[],[]]]]]");
    EXPECT_EQ(parseFieldList(writeFieldList({"id", "a]b", "[x]", "x; y", "]]"})),
              Names(std::vector<std::string>{"id", "a]b", "[x]", "x; y", "]]"}));
}

TEST(SqlLiteralTest, MatchOperatorByType) {
    for (int32_t code : {8, 64, 129, 130, 136, 200, 201, 202, 203})
        EXPECT_EQ(detail::matchOperator(code), "like ") << code;
    for (int32_t code : {0, 3, 5, 6, 7, 135, 137, 204})
        EXPECT_EQ(detail::matchOperator(code), "= ") << code;
    EXPECT_EQ(sqlLiteral(Value(), 200, false, LiteralUse::WhereClause), "Null");
}

TEST(SqlLiteralTest, ResultTextsReadBackInTheirTypesKind) {
    EXPECT_EQ(detail::valueForTypeCode("7", 3), Value(int64_t{7}));
    EXPECT_EQ(detail::valueForTypeCode("2.25", 5), Value(2.25));
    EXPECT_EQ(detail::valueForTypeCode("00FF", 205), Value::binary({0x00, 0xFF}));
    EXPECT_EQ(detail::valueForTypeCode("seven", 3), Value("seven"));
    EXPECT_EQ(detail::valueForTypeCode("7", 200), Value("7"));
}

/// Two managers connected to one database with tables T (ID, Name, Note) and U (ID, Name).
class StatementTextTest : public testing::TestWithParam<DatabaseKind> {
protected:
    void SetUp() override {
        createSqliteDatabase(path, "CREATE TABLE T (ID INTEGER, Name VARCHAR(20), Note VARCHAR(20));"
                                   "INSERT INTO T VALUES (7, 'Bob', NULL);"
                                   "CREATE TABLE U (ID INTEGER, Name VARCHAR(20));");
        for (clsDBManager* manager : {&first, &second}) {
            manager->setConnectionString(sqliteConnectionString(GetParam(), path));
            manager->openDatabaseConnection();
            manager->setTableName("T");
        }
    }
    TempDir dir;
    std::string path = dir.file("t.db");
    clsDBManager first, second;
};

/// The match query of the first record of `mine` against the fields of `theirs`, as users see it.
detail::MatchQueryText matchText(const Recordset& mine, const Recordset& theirs,
                                 detail::Statement* match = nullptr) {
    std::vector<platform::ColumnInfo> columns;
    std::vector<std::string> names;
    std::vector<std::string> otherNames;
    platform::Row values;
    for (int32_t i = 0; i < mine.fieldCount(); ++i) {
        platform::ColumnInfo column;
        column.name = mine.field(i).name();
        column.typeCode = mine.field(i).type();
        names.push_back(column.name);
        columns.push_back(column);
        values.push_back(mine.field(i).value());
    }
    for (int32_t i = 0; i < theirs.fieldCount(); ++i)
        otherNames.push_back(theirs.field(i).name());
    detail::Statement built =
        detail::matchStatement("T", columns, detail::matchedPositions(names, otherNames), values);
    if (match)
        *match = built;
    return detail::matchQueryText(built, false);
}

TEST_P(StatementTextTest, MatchQueryReadsAsUsersSeeIt) {
    first.openDataBaseRecordsFromQuery("select * from [T]");
    second.openDataBaseRecordsFromQuery("select * from [T]");
    detail::Statement match;
    const detail::MatchQueryText text =
        matchText(first.getDatabaseRecords(), second.getDatabaseRecords(), &match);
    EXPECT_EQ(text.select, "Select [ID],[Name] ,[Note]  from [T]");
    EXPECT_EQ(text.where, " Where [ID] = 7 AND [Name] like 'Bob' AND [Note] is null ");
    // What runs in its place finds the record.
    platform::Backend& backend = *second.getDatabaseConnection().backend();
    std::vector<Value> parameters;
    const std::string sql = match.render(backend.dialect(), parameters);
    EXPECT_TRUE(backend.rowExists(sql, parameters));
}

TEST_P(StatementTextTest, MatchQueryLeavesOutFieldsWithoutACounterpart) {
    first.openDataBaseRecordsFromQuery("select Note, ID, Name from [T]");
    second.openDataBaseRecordsFromQuery("select ID, Name from [U]");
    // Note against ID, and a field past the smaller count, take no part.
    EXPECT_EQ(detail::matchedPositions({"Note", "ID", "Name"}, {"ID", "Name"}), std::vector<std::size_t>{});
    detail::MatchQueryText text = matchText(first.getDatabaseRecords(), second.getDatabaseRecords());
    EXPECT_EQ(text.select, "Select  from [T]");
    EXPECT_EQ(text.where, " Where ");
    first.openDataBaseRecordsFromQuery("select ID, Note, Name from [T]");
    text = matchText(first.getDatabaseRecords(), second.getDatabaseRecords());
    EXPECT_EQ(text.select, "Select [ID] from [T]");
    EXPECT_EQ(text.where, " Where [ID] = 7");
}

TEST_P(StatementTextTest, InsertAndSelectTexts) {
    first.openDataBaseRecordsFromQuery("select ID, Name from [T]");
    first.formatInsertClauseFromRecordSet("T");
    EXPECT_EQ(first.getSql(), "insert into 'T'(ID,Name)VALUES (7,'Bob')");
    first.formatSQLClause();
    EXPECT_EQ(first.getSql(), "Select * From [T]");
    first.createSQLStatement("", "T");
    EXPECT_EQ(first.getSql(), "Select * from [T]");
}

TEST_P(StatementTextTest, WhereClauseFromAReportedRecord) {
    auto add = [&](const std::string& field, const std::string& value, int32_t type, int32_t record,
                   bool isNull = false) {
        auto item = std::make_shared<clsResultSet>();
        item->setDatabaseObjName("T");
        item->setFieldName(field);
        item->setDataValue(value);
        item->setIsNull(isNull);
        item->setDataType(std::to_string(type));
        item->setRecordNumber(record);
        first.getResults()->add(item);
    };
    add("ID", "6", 3, 1);
    add("ID", "7", 3, 2);
    add("Name", "O'Neil", 200, 2);
    add("Note", "Null", 200, 2, true);
    add("Word", "Null", 200, 2); // the text "Null", not a Null
    first.setCurrentRecordNumber(2);
    first.formatWhereClauseFromRecordNumber();
    EXPECT_EQ(first.getWhereClause(), " Where ID = 7 AND Name LIKE 'O''Neil' AND Word LIKE 'Null'");
    first.createSQLStatement(first.getWhereClause(), "T");
    EXPECT_EQ(first.getSql(), "Select * from [T] Where ID = 7 AND Name LIKE 'O''Neil' AND Word LIKE 'Null'");
}

SIFKIT_FOR_EACH_SQLITE_PATH(StatementTextTest);

} // namespace
} // namespace sifkit::test
