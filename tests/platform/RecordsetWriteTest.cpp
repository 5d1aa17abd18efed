// SPDX-License-Identifier: MIT
#include "support/PeopleDatabase.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

class RecordsetWriteTest : public PeopleDatabaseTest {
protected:
    /// A single-precision column (SQLite has none: its REAL is a double).
    std::string extraScript() const override {
        const char* single = GetParam() == DatabaseKind::Mariadb ? "FLOAT" : "REAL";
        return std::string("CREATE TABLE singles (id INTEGER PRIMARY KEY, f ") + single +
               ", note VARCHAR(10));INSERT INTO singles VALUES (1, 0.1, 'a');INSERT INTO singles VALUES (2, "
               "1.2345678, 'b');";
    }
};

TEST_P(RecordsetWriteTest, AddNewInsertsTheRowWithNullsAndQuotes) {
    Recordset table;
    table.open("[people]", connection, Recordset::Source::Table);
    table.addNew();
    table.field("id").setValue(Value(int64_t{9}));
    table.field("name").setValue(Value("D'Arcy; drop table people"));
    table.field("note").setValue(Value());
    table.field("score").setValue(Value(0.5));
    table.update();
    EXPECT_EQ(
        read("select id, name, case when note is null then 1 else 0 end, score from people where id = 9"),
        "9|D'Arcy; drop table people|1|0.5\n");
    EXPECT_EQ(table.recordCount(), 4);
}

TEST_P(RecordsetWriteTest, AnInsertTheDatabaseRejectsFailsAndAddsNothing) {
    Recordset table;
    table.open("[people]", connection, Recordset::Source::Table);
    table.addNew();
    table.field("id").setValue(Value(int64_t{1})); // taken
    table.field("name").setValue(Value("Dup"));
    EXPECT_THROW(table.update(), DatabaseError);
    EXPECT_EQ(read("select count(*) from people"), "3\n");
}

TEST_P(RecordsetWriteTest, UpdateChangesTheCurrentRowOnly) {
    Recordset records;
    records.open("select * from [people] where id = 2", connection);
    records.field("note").setValue(Value("changed"));
    records.field("born").setValue(Value("1999-09-09"));
    records.update();
    EXPECT_EQ(read("select id, note, born from people order by id"),
              "1|NULL|1980-01-02\n2|changed|1999-09-09\n3|naïve café|2001-12-31\n");
    EXPECT_EQ(records.field("note").value().asText(), "changed");
}

TEST_P(RecordsetWriteTest, UpdateOfARowThatIsNotUniqueChangesNothing) {
    Recordset records;
    records.open("select * from [twins]", connection);
    records.field("n").setValue(Value(int64_t{2}));
    EXPECT_THROW(records.update(), Error);
    EXPECT_EQ(read("select label, n from twins"), "same|1\nsame|1\n");
}

TEST_P(RecordsetWriteTest, UpdateOfARowChangedMeanwhileFails) {
    Recordset records;
    records.open("select * from [people] where id = 1", connection);
    connection.execute("update people set name = 'Anne' where id = 1");
    records.field("note").setValue(Value("late"));
    EXPECT_THROW(records.update(), Error);
    EXPECT_EQ(read("select name, note from people where id = 1"), "Anne|NULL\n");
}

TEST_P(RecordsetWriteTest, AnUpdateThatWritesTheValuesTheRowHoldsSucceeds) {
    // MariaDB counts the rows an update changed, not the rows it found.
    Recordset records;
    records.open("select * from [people] where id = 1", connection);
    records.field("name").setValue(Value("Ann"));
    EXPECT_NO_THROW(records.update());
    records.field("name").setValue(Value("Ann"));
    records.field("note").setValue(Value());
    EXPECT_NO_THROW(records.update());
    EXPECT_EQ(read("select name from people where id = 1"), "Ann\n");
}

TEST_P(RecordsetWriteTest, ARowIsFoundAgainByItsSinglePrecisionValues) {
    Recordset records;
    records.open("select * from [singles] order by id", connection);
    for (const char* note : {"x", "y"}) {
        records.field("note").setValue(Value(note));
        EXPECT_NO_THROW(records.update()) << "row " << records.field("id").value().toString();
        records.moveNext();
    }
    EXPECT_EQ(read("select note from singles order by id"), "x\ny\n");
}

TEST_P(RecordsetWriteTest, RowsOfAJoinCannotBeWritten) {
    Recordset records;
    records.open("select p.name, o.amount from people p join orders o on o.person_id = p.id", connection);
    EXPECT_THROW(records.field("name").setValue(Value("x")), Error);
    EXPECT_THROW(records.addNew(), Error);
}

SIFKIT_FOR_EACH_PRODUCT(RecordsetWriteTest);

} // namespace
} // namespace sifkit::test
