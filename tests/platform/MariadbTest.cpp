// SPDX-License-Identifier: MIT
#include "support/MariadbServer.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

#include <set>

namespace sifkit::test {
namespace {

/// A database of the MariaDB server beside another one, read through a data source whose
/// account sees both (and the server's system schemas).
class MariadbTest : public testing::Test {
protected:
    void SetUp() override {
        server = MariadbServer::instance();
        if (!server)
            GTEST_SKIP() << "MariaDB: " << MariadbServer::why();
        other = server->createDatabase("CREATE TABLE t (other_id INTEGER PRIMARY KEY, x INTEGER);"
                                       "CREATE TABLE only_other (id INTEGER PRIMARY KEY);");
        database = server->createDatabase(
            "CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(20));"
            "CREATE TABLE child (id INTEGER PRIMARY KEY, t_id INTEGER REFERENCES t(id));"
            "CREATE TABLE leans_out (id INTEGER PRIMARY KEY, o INTEGER REFERENCES " +
            other +
            ".only_other(id));"
            "CREATE VIEW v AS SELECT id FROM t;"
            "CREATE TABLE numbers (id INTEGER PRIMARY KEY, f FLOAT, d DOUBLE, u BIGINT UNSIGNED, "
            "m DECIMAL(30,10), b TINYINT UNSIGNED);"
            "INSERT INTO numbers VALUES (1, 1.2345678, 0.1e0 + 0.2e0, 18446744073709551615, "
            "12345678901234567890.0123456789, 255);"
            "INSERT INTO numbers VALUES (2, 0.1, 1e300, 9223372036854775808, -0.5, 0);"
            "CREATE TABLE texts (id INTEGER PRIMARY KEY, s VARCHAR(20), n INTEGER) COLLATE "
            "utf8mb4_general_ci;"
            "INSERT INTO texts VALUES (1, 'Paris', 0), (2, 'PARIS', 0), (3, 'Paris ', 0), (4, 'a\\\\b', 0);");
        // The other database's table refers to this one's: not a key of this database.
        server->query(other, "CREATE TABLE points_in (id INTEGER PRIMARY KEY, t_id INTEGER REFERENCES " +
                                 database + ".t(id))");
        connection.open(server->connectionString(database));
    }

    std::map<std::string, std::string> catalogue() {
        std::map<std::string, std::string> types;
        Recordset tables = connection.openSchema(Connection::SchemaTables, {});
        for (; !tables.eof(); tables.moveNext())
            types[tables.field("TABLE_NAME").value().toString()] =
                tables.field("TABLE_TYPE").value().toString();
        return types;
    }

    MariadbServer* server = nullptr;
    std::string database, other;
    Connection connection;
};

TEST_F(MariadbTest, TheCatalogueIsTheCurrentDatabasesAlone) {
    const std::map<std::string, std::string> expected{{"t", "TABLE"},         {"child", "TABLE"},
                                                      {"leans_out", "TABLE"}, {"v", "VIEW"},
                                                      {"numbers", "TABLE"},   {"texts", "TABLE"}};
    EXPECT_EQ(catalogue(), expected);
    Recordset tables = connection.openSchema(Connection::SchemaTables, {});
    for (; !tables.eof(); tables.moveNext())
        EXPECT_EQ(tables.field("TABLE_CATALOG").value().toString(), database);
}

TEST_F(MariadbTest, KeysAreThoseOfTheCurrentDatabase) {
    Recordset primary = connection.openSchema(Connection::SchemaPrimaryKeys, {"", "", "t"});
    ASSERT_EQ(primary.recordCount(), 1);
    EXPECT_EQ(primary.field("COLUMN_NAME").value().toString(), "id");

    // Referring to t: the child here, not the other database's table.
    Recordset referencing = connection.openSchema(Connection::SchemaForeignKeys, {"", "", "t"});
    std::set<std::string> tables;
    for (; !referencing.eof(); referencing.moveNext())
        tables.insert(referencing.field("FK_TABLE_NAME").value().toString());
    EXPECT_EQ(tables, (std::set<std::string>{"child"}));
    Recordset declared = connection.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", "child"});
    ASSERT_EQ(declared.recordCount(), 1);
    EXPECT_EQ(declared.field("PK_TABLE_NAME").value().toString(), "t");
    EXPECT_EQ(declared.field("PK_COLUMN_NAME").value().toString(), "id");
    // A key into another database is no key between this database's tables.
    EXPECT_TRUE(
        connection.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", "leans_out"}).eof());
}

TEST_F(MariadbTest, ADataSourceWithoutADatabaseListsNothing) {
    OdbcConfig::instance().addUserDataSource(
        {"maria_no_database",
         "MariaDB Unicode",
         {{"Server", "localhost"}, {"Socket", server->socketPath()}, {"User", "root"}}});
    Connection bare;
    bare.open("Provider=MSDASQL;Persist Security Info=False;Data Source=maria_no_database");
    EXPECT_TRUE(bare.openSchema(Connection::SchemaTables, {}).eof());
    bare.execute("USE information_schema");
    EXPECT_TRUE(bare.openSchema(Connection::SchemaTables, {}).eof());
}

TEST_F(MariadbTest, NumbersReadExactly) {
    Recordset records;
    records.open("select f, d, u, m, b from [numbers] order by id", connection);
    EXPECT_EQ(records.field("f").type(), 4);
    EXPECT_EQ(records.field("f").value(), Value(1.2345678)); // the server's text says 1.23457
    EXPECT_EQ(records.field("d").value(), Value(0.1 + 0.2));
    EXPECT_EQ(records.field("u").type(), 21);
    EXPECT_EQ(records.field("u").value(), Value("18446744073709551615")); // no real's rounding
    EXPECT_EQ(records.field("m").type(), 131);
    EXPECT_EQ(records.field("m").value(), Value("12345678901234567890.0123456789"));
    EXPECT_EQ(records.field("b").type(), 17);
    EXPECT_EQ(records.field("b").value(), Value(int64_t{255}));
    records.moveNext();
    EXPECT_EQ(records.field("f").value(), Value(0.1));
    EXPECT_EQ(records.field("u").value(), Value("9223372036854775808"));
    EXPECT_EQ(records.field("m").value(), Value("-0.5000000000"));
}

TEST_F(MariadbTest, AnUpdateFindsItsRowByTheExactText) {
    // Found again by s and n alone: the column's collation calls the first three texts equal.
    Recordset records;
    records.open("select s, n from [texts] order by id", connection);
    records.field("n").setValue(Value(int64_t{1}));
    records.update();
    EXPECT_EQ(server->query(database, "SELECT id, n FROM texts ORDER BY id"), "1|1\n2|0\n3|0\n4|0\n");
}

TEST_F(MariadbTest, ABackslashInALiteralIsACharacter) {
    Recordset records;
    records.open("select id from [texts] where s = 'a\\b'", connection);
    ASSERT_EQ(records.recordCount(), 1);
    EXPECT_EQ(records.field(0).value(), Value(int64_t{4}));
}

TEST_F(MariadbTest, BracketedNamesBecomeBacktickedOnesWhateverTheyHold) {
    connection.execute("CREATE TABLE [odd`name]] x] ([we[ir]]d] INTEGER)");
    connection.execute("INSERT INTO [odd`name]] x] VALUES (7)");
    Recordset records;
    records.open("select [we[ir]]d] from [odd`name]] x]", connection);
    ASSERT_EQ(records.recordCount(), 1);
    EXPECT_EQ(records.field("we[ir]d").value(), Value(int64_t{7}));
    EXPECT_EQ(catalogue().count("odd`name] x"), 1u);
}

} // namespace
} // namespace sifkit::test
