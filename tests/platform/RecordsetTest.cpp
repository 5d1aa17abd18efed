// SPDX-License-Identifier: MIT
#include "support/PeopleDatabase.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

class RecordsetTest : public PeopleDatabaseTest {
protected:
};

TEST_P(RecordsetTest, WalksRowsWithExactCountsAndBounds) {
    Recordset records;
    EXPECT_EQ(records.state(), 0);
    records.open("select id, name from [people] order by id", connection);
    EXPECT_EQ(records.state(), 1);
    EXPECT_EQ(records.recordCount(), 3);
    EXPECT_FALSE(records.bof());
    std::vector<int64_t> ids;
    for (; !records.eof(); records.moveNext())
        ids.push_back(records.field(0).value().asInteger());
    EXPECT_EQ(ids, (std::vector<int64_t>{1, 2, 3}));
    EXPECT_THROW(records.moveNext(), Error);
    EXPECT_THROW(records.field("name").value(), Error); // no current row at EOF
    records.moveFirst();
    EXPECT_EQ(records.field("name").value().asText(), "Ann");
}

TEST_P(RecordsetTest, AnEmptyResultIsAtBothEnds) {
    Recordset records;
    records.open("select * from [people] where id > 100", connection);
    EXPECT_TRUE(records.bof());
    EXPECT_TRUE(records.eof());
    EXPECT_EQ(records.recordCount(), 0);
    EXPECT_EQ(records.fieldCount(), 5);
}

TEST_P(RecordsetTest, KeepsNullApartFromEmptyTextAndTextExact) {
    Recordset records;
    records.open("select id, name, note, score, born from [people] order by id", connection);
    EXPECT_TRUE(records.field("note").value().isNull());
    EXPECT_EQ(records.field("note").actualSize(), 0);
    records.moveNext();
    EXPECT_EQ(records.field("name").value().asText(), "O'Neil");
    EXPECT_FALSE(records.field("note").value().isNull());
    EXPECT_EQ(records.field("note").value().asText(), "");
    EXPECT_TRUE(records.field("born").value().isNull());
    records.moveNext();
    EXPECT_EQ(records.field("name").value().asText(), "Zoë Ångström");
    EXPECT_EQ(records.field("name").actualSize(), 15); // bytes of UTF-8
    EXPECT_DOUBLE_EQ(records.field("score").value().asReal(), -0.1);
}

TEST_P(RecordsetTest, ReportsFieldNamesTypesAndSizes) {
    Recordset records;
    records.open("select * from [people]", connection);
    ASSERT_EQ(records.fieldCount(), 5);
    EXPECT_EQ(records.field(0).name(), "id");
    EXPECT_EQ(records.field(0).type(), 3);
    EXPECT_EQ(records.field("name").type(), 200);
    EXPECT_EQ(records.field("name").definedSize(), 40);
    // PostgreSQL's REAL is single precision; MariaDB's is DOUBLE.
    EXPECT_EQ(records.field("score").type(), GetParam() == DatabaseKind::Postgres ? 4 : 5);
    EXPECT_EQ(records.field(0).actualSize(), 4);
    EXPECT_EQ(records.field("NAME").name(), "name"); // names resolve without regard to case
    EXPECT_THROW(records.field(5), Error);
    EXPECT_THROW(records.field("missing"), Error);
}

TEST_P(RecordsetTest, OpensATableByNameWithOrWithoutBrackets) {
    Recordset plain, bracketed;
    plain.open("people", connection, Recordset::Source::Table);
    bracketed.open("[people]", connection, Recordset::Source::Table);
    EXPECT_EQ(plain.recordCount(), 3);
    EXPECT_EQ(bracketed.recordCount(), 3);
}

TEST_P(RecordsetTest, MaxRowsStopsEarlyButKeepsTheColumns) {
    Recordset records;
    records.open("select * from [people]", connection, Recordset::Source::Text, 1);
    EXPECT_EQ(records.recordCount(), 1);
    EXPECT_EQ(records.fieldCount(), 5);
}

TEST_P(RecordsetTest, AFewRowsComeInTheQuerysOrderWithTheColumnsOfTheWholeResult) {
    const std::string sql = "select id, name, score, born from [people] order by id desc";
    Recordset all, few;
    all.open(sql, connection);
    few.open(sql, connection, Recordset::Source::Text, 2);
    ASSERT_EQ(few.recordCount(), 2);
    EXPECT_EQ(few.field(0).value().asInteger(), 3);
    few.moveNext();
    EXPECT_EQ(few.field(0).value().asInteger(), 2);
    ASSERT_EQ(few.fieldCount(), all.fieldCount());
    for (int32_t i = 0; i < all.fieldCount(); ++i) {
        EXPECT_EQ(few.field(i).name(), all.field(i).name());
        EXPECT_EQ(few.field(i).type(), all.field(i).type());
        EXPECT_EQ(few.field(i).definedSize(), all.field(i).definedSize());
    }
    EXPECT_EQ(few.baseTable(), all.baseTable());
}

TEST_P(RecordsetTest, OnPostgresqlTheServerCutsAFewRowsOffAndAnyStatementStillRuns) {
    if (GetParam() != DatabaseKind::Postgres)
        GTEST_SKIP() << "the other products' paths stop reading by themselves";
    std::vector<std::string> sent;
    struct TraceScope {
        ~TraceScope() { setSqlTrace({}); }
    } traceScope;
    setSqlTrace([&](const std::string& sql, const std::vector<Value>&) { sent.push_back(sql); });
    Recordset records;
    records.open("select * from [people] -- the whole table\n ; ", connection, Recordset::Source::Text, 1);
    EXPECT_EQ(records.recordCount(), 1);
    EXPECT_EQ(records.fieldCount(), 5);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].substr(sent[0].size() - 8), " LIMIT 1");
    sent.clear();
    // A select that cannot stand inside another one runs as written.
    records.open("select id into people_copy from [people]", connection, Recordset::Source::Text, 1);
    EXPECT_EQ(read("select count(*) from people_copy"), "3\n");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().find("LIMIT"), std::string::npos);
}

TEST_P(RecordsetTest, AFailedOpenLeavesItClosedWithoutOldColumns) {
    Recordset records;
    records.open("select id from [people]", connection);
    EXPECT_THROW(records.open("select * from [nothing_here]", connection), DatabaseError);
    EXPECT_EQ(records.state(), 0);
    EXPECT_EQ(records.fieldCount(), 0);
}

TEST_P(RecordsetTest, AClosedRecordsetStillAnswersItsFieldCount) {
    Recordset records;
    records.open("select id, name from [people]", connection);
    records.close();
    EXPECT_EQ(records.state(), 0);
    EXPECT_EQ(records.fieldCount(), 2);
    EXPECT_THROW(records.eof(), Error);
}

TEST_P(RecordsetTest, ACloneMovesIndependently) {
    Recordset records;
    records.open("select id from [people] order by id", connection);
    records.moveNext();
    Recordset copy = records.clone();
    EXPECT_EQ(copy.field(0).value().asInteger(), 2);
    copy.moveNext();
    EXPECT_EQ(copy.field(0).value().asInteger(), 3);
    EXPECT_EQ(records.field(0).value().asInteger(), 2);
    records.close();
    EXPECT_EQ(copy.state(), 1);
    EXPECT_EQ(copy.recordCount(), 3);
}

TEST_P(RecordsetTest, TwoRecordsetsCanBeOpenOnOneConnection) {
    Recordset main, second;
    main.open("select id from [people] order by id", connection);
    second.open("select name from [people] where id = 3", connection);
    main.moveNext();
    EXPECT_EQ(main.field(0).value().asInteger(), 2);
    EXPECT_EQ(second.field(0).value().asText(), "Zoë Ångström");
}

SIFKIT_FOR_EACH_PRODUCT(RecordsetTest);

} // namespace
} // namespace sifkit::test
