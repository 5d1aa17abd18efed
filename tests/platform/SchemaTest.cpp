// SPDX-License-Identifier: MIT
#include "support/PeopleDatabase.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

#include <map>

namespace sifkit::test {
namespace {

class SchemaTest : public PeopleDatabaseTest {
protected:
};

TEST_P(SchemaTest, TablesCarryTheirTypesAndSqlitesOwnTablesAreSystemTables) {
    Recordset tables = connection.openSchema(Connection::SchemaTables, {});
    std::map<std::string, std::string> types;
    for (; !tables.eof(); tables.moveNext())
        types[tables.field("TABLE_NAME").value().toString()] = tables.field("TABLE_TYPE").value().toString();
    EXPECT_EQ(types["people"], "TABLE");
    EXPECT_EQ(types["orders"], "TABLE");
    EXPECT_EQ(types["adults"], "VIEW");
    if (onSqlite()) {
        EXPECT_EQ(types["sqlite_sequence"], "SYSTEM TABLE");
    }
    EXPECT_NO_THROW(tables.field("TABLE_SCHEMA"));
    EXPECT_NO_THROW(tables.field("TABLE_CATALOG"));
}

TEST_P(SchemaTest, PrimaryKeysComeInKeyOrder) {
    Recordset keys = connection.openSchema(Connection::SchemaPrimaryKeys, {"", "", "pairs"});
    ASSERT_EQ(keys.recordCount(), 2);
    EXPECT_EQ(keys.field("COLUMN_NAME").value().toString(), "a");
    keys.moveNext();
    EXPECT_EQ(keys.field("COLUMN_NAME").value().toString(), "b");
    Recordset none = connection.openSchema(Connection::SchemaPrimaryKeys, {"", "", "twins"});
    EXPECT_TRUE(none.eof());
}

TEST_P(SchemaTest, ForeignKeysAreThoseThatReferenceTheTable) {
    Recordset keys = connection.openSchema(Connection::SchemaForeignKeys, {"", "", "people"});
    ASSERT_FALSE(keys.eof());
    EXPECT_EQ(keys.field("FK_TABLE_NAME").value().toString(), "orders");
    EXPECT_EQ(keys.field("FK_COLUMN_NAME").value().toString(), "person_id");
    EXPECT_EQ(keys.field("PK_TABLE_NAME").value().toString(), "people");
    EXPECT_EQ(keys.field("PK_COLUMN_NAME").value().toString(), "id");
    EXPECT_NO_THROW(keys.field("FK_NAME"));
    EXPECT_NO_THROW(keys.field("PK_NAME"));
    EXPECT_TRUE(connection.openSchema(Connection::SchemaForeignKeys, {"", "", "orders"}).eof());
}

TEST_P(SchemaTest, ForeignKeysDeclaredByATableAreThoseItHolds) {
    Recordset keys = connection.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", "orders"});
    ASSERT_EQ(keys.recordCount(), 1);
    EXPECT_EQ(keys.field("FK_TABLE_NAME").value().toString(), "orders");
    EXPECT_EQ(keys.field("PK_TABLE_NAME").value().toString(), "people");
    EXPECT_TRUE(connection.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", "people"}).eof());
}

TEST_P(SchemaTest, UnknownSchemaKindsAreRefused) {
    EXPECT_THROW(connection.openSchema(4, {}), Error);
}

SIFKIT_FOR_EACH_PRODUCT(SchemaTest);

} // namespace
} // namespace sifkit::test
