// SPDX-License-Identifier: MIT
#include "support/PostgresServer.h"

#include "access/SchemaCatalogue.h"
#include "core/FieldItems.h"
#include "core/TableItems.h"

#include <sifkit/clsDBManager.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

// Awkward names, schemas, views, every kind of key the driver reports, and the column types
// whose description is read in bulk, with and without a row.
const char* const catalogueScript = R"(
CREATE SCHEMA x;
CREATE SCHEMA "my_s%";
CREATE SCHEMA "Mixed Schema";
CREATE TABLE t (id INTEGER PRIMARY KEY, a TEXT);
INSERT INTO t VALUES (1, 'public');
CREATE TABLE x.t (id INTEGER PRIMARY KEY, a TEXT, b VARCHAR(12));
CREATE TABLE "my_s%"."we""ird name" ("Key" INTEGER, "other col" TEXT, PRIMARY KEY ("other col", "Key"));
INSERT INTO "my_s%"."we""ird name" VALUES (7, 'seven');
CREATE TABLE "Mixed Schema"."MixedCase" (id BIGINT PRIMARY KEY, "Ref" INTEGER REFERENCES t(id));
CREATE TABLE mixedcase (id SMALLINT PRIMARY KEY);
CREATE TABLE "MixedCase" (id INTEGER PRIMARY KEY REFERENCES mixedcase(id) DEFERRABLE INITIALLY DEFERRED);
CREATE TABLE "br]ack[et" ("a]" INTEGER PRIMARY KEY, "[b" TEXT);
INSERT INTO "br]ack[et" VALUES (1, 'x');
CREATE TABLE "dot.ted" (id INTEGER PRIMARY KEY REFERENCES "br]ack[et"("a]"));
CREATE TABLE "with space" (k INTEGER, l INTEGER, m INTEGER, PRIMARY KEY (l, k) INCLUDE (m));
CREATE TABLE referrer (r1 INTEGER, r2 INTEGER, r3 INTEGER, r4 INTEGER,
  CONSTRAINT first_ref FOREIGN KEY (r2, r1) REFERENCES "with space"(l, k) ON DELETE CASCADE,
  CONSTRAINT second_ref FOREIGN KEY (r3) REFERENCES x.t(id) ON UPDATE SET NULL);
CREATE TABLE unique_target (u INTEGER UNIQUE, v INTEGER);
CREATE TABLE unique_referrer (w INTEGER REFERENCES unique_target(u), z INTEGER REFERENCES t(id));
CREATE TABLE no_key (a INTEGER, b TEXT);
CREATE TABLE named_key (a INTEGER, b TEXT);
CREATE UNIQUE INDEX named_key_pkey ON named_key (b, a);
CREATE TABLE a_long_table_name_of_sixty_characters_for_the_index_cut_xyzw (a INTEGER, b INTEGER);
CREATE UNIQUE INDEX a_long_table_name_of_sixty_characters_for_the_index_cut_xyzw_pkey
  ON a_long_table_name_of_sixty_characters_for_the_index_cut_xyzw (b);
CREATE TABLE dropped (a INTEGER PRIMARY KEY, gone TEXT, kept TEXT);
ALTER TABLE dropped DROP COLUMN gone;
INSERT INTO dropped VALUES (1, 'kept');
CREATE TABLE typed (
  b BOOLEAN, by BYTEA, n NAME, i8 BIGINT, i2 SMALLINT, i4 INTEGER, tx TEXT, js JSON, xm XML,
  f4 REAL, f8 DOUBLE PRECISION, ch CHAR(3), vc VARCHAR(40), vn VARCHAR, d DATE, tm TIME,
  ts TIMESTAMP, tz TIMESTAMPTZ, iv INTERVAL, tt TIMETZ, nu NUMERIC(10, 2), nn NUMERIC,
  u UUID, jb JSONB, ts3 TIMESTAMP(3));
INSERT INTO typed VALUES (true, '\x0102ff', 'name', 9007199254740993, -3, 42, 'text ü', '{"a": 1}',
  '<a/>', 1.5, 2.25, 'ab', 'varchar', 'unbounded', '2024-02-29', '13:14:15', '2024-01-02 03:04:05.678',
  '2024-01-02 03:04:05+02', '1 day 2 hours', '10:11:12+03', 12345.67, 3.14159265358979,
  'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', '{"b": [1, 2]}', '2024-01-02 03:04:05.123');
CREATE TABLE typed_empty (LIKE typed);
CREATE TYPE mood AS ENUM ('sad', 'happy');
CREATE DOMAIN positive AS INTEGER CHECK (VALUE > 0);
CREATE TABLE other_types (m MONEY, arr INTEGER[], ip INET);
INSERT INTO other_types VALUES (2.5, '{1,2}', '127.0.0.1');
CREATE TABLE unsigned_type (o OID);
INSERT INTO unsigned_type VALUES (1);
CREATE TABLE user_types (e mood, p positive);
INSERT INTO user_types VALUES ('happy', 3);
CREATE VIEW v AS SELECT t.id, t.a, x.b FROM t JOIN x.t AS x ON x.id = t.id;
CREATE VIEW x."View ""q""" AS SELECT * FROM typed;
)";

std::string keyTexts(const clsResultSet& item) {
    return item.getFKeyColumnName() + "|" + item.getFKeyName() + "|" + item.getFKeyPrimaryColName() + "|" +
           item.getFKeyPrimaryTable() + "|" + item.getPKeyName();
}

/// The two managers' collections hold the same items, in the same order.
void expectSameItems(const clsDBManager& actual, const clsDBManager& expected) {
    ASSERT_EQ(actual.getResults()->count(), expected.getResults()->count());
    for (int32_t i = 1; i <= actual.getResults()->count(); ++i)
        ASSERT_EQ(actual.getResults()->item(i)->toString(), expected.getResults()->item(i)->toString());
}

class ServerCatalogueTest : public testing::Test {
protected:
    void SetUp() override {
        server = PostgresServer::instance();
        if (!server)
            GTEST_SKIP() << "PostgreSQL: " << PostgresServer::why();
        const std::string database = server->createDatabase(catalogueScript);
        for (clsDBManager* manager : {&tableByTable, &atOnce}) {
            manager->setConnectionString(server->connectionString(database));
            manager->openDatabaseConnection();
        }
        tableByTable.openDatabaseSchema();
        for (Recordset catalogue = tableByTable.getDatabaseSchema(); !catalogue.eof(); catalogue.moveNext()) {
            objects.push_back(catalogue.field("TABLE_NAME").value().toString());
            types.push_back(catalogue.field("TABLE_TYPE").value().toString());
            if (types.back() == "TABLE")
                tables.push_back(objects.back());
        }
    }

    PostgresServer* server = nullptr;
    clsDBManager tableByTable;
    clsDBManager atOnce;
    std::vector<std::string> objects; ///< the catalogue's names and types, in its order
    std::vector<std::string> types;
    std::vector<std::string> tables;
};

TEST_F(ServerCatalogueTest, KeysReadAtOnceAreTheKeysReadTableByTable) {
    ASSERT_GE(objects.size(), 23u);
    const std::optional<detail::ServerCatalogue> catalogue =
        detail::ServerCatalogue::read(atOnce.getDatabaseConnection(), objects, {});
    ASSERT_TRUE(catalogue);
    for (const std::string& object : objects) {
        SCOPED_TRACE(object);
        ASSERT_TRUE(catalogue->primaryKey(object));
        EXPECT_EQ(*catalogue->primaryKey(object), tableByTable.getAccessPrimaryKey(object));
        clsResultSet fromCatalogue;
        ASSERT_TRUE(catalogue->fillForeignKey(fromCatalogue, object));
        clsResultSet asked;
        tableByTable.setTableName(object);
        detail::fillForeignKeyInfo(asked, tableByTable);
        EXPECT_EQ(keyTexts(fromCatalogue), keyTexts(asked));
        EXPECT_FALSE(catalogue->firstRow(object));
    }
    // The cases the comparison above must have met.
    EXPECT_EQ(*catalogue->primaryKey("my_s%.we\"ird name"), "other col");
    EXPECT_EQ(*catalogue->primaryKey("with space"), "l");
    EXPECT_EQ(*catalogue->primaryKey("named_key"), "b");
    EXPECT_EQ(*catalogue->primaryKey("no_key"), "No primary key Defined");
    clsResultSet referenced;
    catalogue->fillForeignKey(referenced, "t");
    EXPECT_EQ(keyTexts(referenced), "Ref|MixedCase_Ref_fkey|id|t|t_pkey");
}

TEST_F(ServerCatalogueTest, FieldsReadAtOnceAreTheFieldsOfEachTablesQuery) {
    const std::optional<detail::ServerCatalogue> catalogue =
        detail::ServerCatalogue::read(atOnce.getDatabaseConnection(), objects, tables);
    ASSERT_TRUE(catalogue);
    int readAtOnce = 0;
    for (const std::string& table : tables) {
        SCOPED_TRACE(table);
        const std::string primaryKey = tableByTable.getAccessPrimaryKey(table);
        tableByTable.setTableName(table);
        detail::addFieldItems(tableByTable, primaryKey);
        const std::string message = tableByTable.getReturnSQLMessage();
        atOnce.setTableName(table);
        if (std::optional<Recordset> firstRow = catalogue->firstRow(table)) {
            ++readAtOnce;
            detail::addFieldItems(atOnce, primaryKey, *firstRow);
        } else {
            detail::addFieldItems(atOnce, primaryKey);
        }
        EXPECT_EQ(atOnce.getReturnSQLMessage(), message);
        expectSameItems(atOnce, tableByTable);
    }
    // Only the tables of types the bulk reading leaves to the table query are read that way.
    EXPECT_TRUE(catalogue->firstRow("other_types"));
    EXPECT_FALSE(catalogue->firstRow("user_types"));
    EXPECT_FALSE(catalogue->firstRow("unsigned_type"));
    EXPECT_TRUE(catalogue->firstRow("typed"));
    EXPECT_TRUE(catalogue->firstRow("my_s%.we\"ird name"));
    EXPECT_EQ(readAtOnce, static_cast<int>(tables.size()) - 2);
}

TEST_F(ServerCatalogueTest, AWholeComparisonListsTheSameItemsAsTableByTable) {
    // The walk reads the server catalogue at once; the items must be those built from the
    // table-by-table answers, views included.
    for (clsDBManager* manager : {&tableByTable, &atOnce})
        manager->setShowViews(true);
    detail::readAllTables(atOnce);
    EXPECT_EQ(atOnce.getReturnMessage(), "Successfully Completed");
    for (std::size_t i = 0; i < objects.size(); ++i) {
        tableByTable.setTableName(objects[i]);
        tableByTable.setTableDataType(types[i]);
        detail::addTableItem(tableByTable);
    }
    expectSameItems(atOnce, tableByTable);
    // The last object's table query is left on the side as the table-by-table walk leaves it.
    EXPECT_EQ(atOnce.getReturnSQLMessage(), tableByTable.getReturnSQLMessage());
    EXPECT_EQ(atOnce.getDatabaseRecords().fieldCount(), tableByTable.getDatabaseRecords().fieldCount());
    EXPECT_EQ(atOnce.getDatabaseRecords().state(), tableByTable.getDatabaseRecords().state());
}

} // namespace
} // namespace sifkit::test
