// SPDX-License-Identifier: MIT
#include "support/DataRun.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

const char* const typesScript = R"(
CREATE TABLE parents (id INTEGER PRIMARY KEY, name TEXT);
CREATE TABLE kinds (a INTEGER, b INT, c BIGINT, d SMALLINT, e TINYINT, f REAL, g DOUBLE, h FLOAT,
  i NUMERIC, j DECIMAL(10,2), k TEXT, l VARCHAR(20), m CHAR(5), n DATE, o DATETIME, p TIMESTAMP,
  q TIME, r BLOB, s BOOLEAN, t BIT, u, v VARCHAR, w NVARCHAR(10), x CLOB, y MEMO,
  z INTEGER REFERENCES parents(id), za INT UNSIGNED, zb interval, PRIMARY KEY (b, a));
CREATE TABLE uniques (u TEXT UNIQUE, v);
CREATE TABLE keyless (k, l);
CREATE VIEW parent_names AS SELECT name FROM parents;
INSERT INTO parents VALUES (1, 'one');
INSERT INTO kinds VALUES (1, 2, 3, 4, 5, 6.5, 7.5, 8.5, 9.5, 10.5, 'k', 'l', 'm', '2020-01-01',
  '2020-01-01 10:00:00', '2020-01-01 10:00:00', '10:00:00', x'0102', 1, 0, '07', 'v', 'w', 'x', 'y', 1,
  2, 'i');
)";

/// Every row of a record set as text, with each field's name, type code and size first.
std::string dump(Recordset records) {
    std::string text;
    for (int32_t i = 0; i < records.fieldCount(); ++i) {
        Field field = records.field(i);
        text += field.name() + "(" + std::to_string(field.type()) + "," +
                std::to_string(field.definedSize()) + ") ";
    }
    text += "\n";
    for (; !records.eof(); records.moveNext()) {
        for (int32_t i = 0; i < records.fieldCount(); ++i) {
            Value value = records.field(i).value();
            text += (value.isNull() ? "NULL" : value.toString()) + "|";
        }
        text += "\n";
    }
    return text;
}

/// One SQLite file opened through both paths: libsqlite3 and the SQLite ODBC driver.
class SqliteBackendTest : public testing::Test {
protected:
    void SetUp() override {
        createSqliteDatabase(path, typesScript);
        native.open(sqliteConnectionString(DatabaseKind::Sqlite, path));
        driver.open(sqliteConnectionString(DatabaseKind::SqliteOdbc, path));
    }
    std::string both(const std::function<std::string(Connection&)>& read) {
        std::string fromNative = read(native);
        EXPECT_EQ(fromNative, read(driver));
        return fromNative;
    }

    TempDir dir;
    std::string path = dir.file("kinds.db");
    Connection native;
    Connection driver;
};

TEST_F(SqliteBackendTest, DeclaredTypesGiveTheTypeCodesAndSizesTheDriverGives) {
    std::string columns = both([](Connection& c) {
        Recordset records;
        records.open("select * from [kinds]", c);
        return dump(records).substr(0, dump(records).find('\n'));
    });
    EXPECT_NE(columns.find("j(200,10)"), std::string::npos) << columns;
    EXPECT_NE(columns.find("za(19,10)"), std::string::npos) << columns;
}

TEST_F(SqliteBackendTest, CataloguesReadTheSameThroughBothPaths) {
    both([](Connection& c) { return dump(c.openSchema(Connection::SchemaTables, {})); });
    for (const char* table : {"kinds", "parents", "uniques", "keyless", "parent_names"}) {
        SCOPED_TRACE(table);
        both([&](Connection& c) {
            return dump(c.openSchema(Connection::SchemaPrimaryKeys, {"", "", table}));
        });
        both([&](Connection& c) {
            return dump(c.openSchema(Connection::SchemaForeignKeys, {"", "", table}));
        });
        both([&](Connection& c) {
            return dump(c.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", table}));
        });
    }
    // A reference without a column names the referenced table's key, which the driver leaves out.
    native.execute("CREATE TABLE implicit_refs (zz INTEGER REFERENCES parents)");
    Recordset references =
        native.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", "implicit_refs"});
    EXPECT_EQ(references.field("FK_COLUMN_NAME").value().toString(), "zz");
    EXPECT_EQ(references.field("PK_COLUMN_NAME").value().toString(), "id");
    Recordset keys = native.openSchema(Connection::SchemaPrimaryKeys, {"", "", "uniques"});
    ASSERT_EQ(keys.recordCount(), 1); // a unique constraint stands in for a missing key
    EXPECT_EQ(keys.field("COLUMN_NAME").value().toString(), "u");
}

TEST_F(SqliteBackendTest, ValuesKeepTheStorageClassSqliteHoldsThemIn) {
    native.execute("CREATE TABLE mixed (id INTEGER PRIMARY KEY, c)");
    native.execute("INSERT INTO mixed VALUES (1, 7), (2, '07'), (3, 'a' || char(0) || 'b'), (4, 0.1 + 0.2), "
                   "(5, 0.3), (6, x'00ff')");
    Recordset records;
    records.open("select c from [mixed] order by id", native);
    std::vector<Value> values;
    for (; !records.eof(); records.moveNext())
        values.push_back(records.field(0).value());
    ASSERT_EQ(values.size(), 6u);
    EXPECT_EQ(values[0], Value(int64_t{7}));
    EXPECT_EQ(values[1], Value("07"));
    EXPECT_EQ(values[2], Value(std::string("a\0b", 3)));
    EXPECT_EQ(values[3], Value(0.1 + 0.2));
    EXPECT_NE(values[3], values[4]);
    EXPECT_EQ(values[5], Value::binary({0, 255}));
}

TEST_F(SqliteBackendTest, BoundValuesAreWrittenAndFoundInTheirOwnClass) {
    native.execute("CREATE TABLE mixed (id INTEGER PRIMARY KEY, c)");
    Recordset table;
    table.open("[mixed]", native, Recordset::Source::Table);
    const std::vector<Value> written = {Value("07"), Value(std::string("x\0y", 3)), Value(0.1 + 0.2),
                                        Value(int64_t{7})};
    for (std::size_t i = 0; i < written.size(); ++i) {
        table.addNew();
        table.field("id").setValue(Value(static_cast<int64_t>(i + 1)));
        table.field("c").setValue(written[i]);
        table.update();
    }
    EXPECT_EQ(sqliteQuery(path, "select typeof(c), hex(c), c = 0.1 + 0.2 from mixed order by id"),
              "text|3037|0\ntext|780079|0\nreal|302E33|1\ninteger|37|0\n");
    Recordset found;
    found.open("select id from mixed where c = ?", {Value(0.3)}, native);
    EXPECT_TRUE(found.eof()); // 0.1 + 0.2 is not 0.3
    found.open("select id from mixed where c = ?", {Value(7.0)}, native);
    ASSERT_FALSE(found.eof()); // 7 and 7.0 are equal to SQLite
    EXPECT_EQ(found.field(0).value(), Value(int64_t{4}));
}

TEST_F(SqliteBackendTest, AFailedStatementCarriesSqlitesOwnText) {
    try {
        native.execute("select * from nowhere");
        FAIL() << "no failure";
    } catch (const DatabaseError& e) {
        EXPECT_NE(e.description().find("no such table: nowhere"), std::string::npos) << e.description();
    }
}

} // namespace
} // namespace sifkit::test
