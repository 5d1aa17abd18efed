// SPDX-License-Identifier: MIT
#include "support/PostgresServer.h"
#include "support/TestEnvironment.h"

#include "access/CatalogueReader.h"
#include "legacy/ResultItems.h"

#include "model/StructureRules.h"

#include <sifkit/Sifcore.h>
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

/// The key texts a table's item shows.
std::string keysOf(const TableSchema& table) {
    SideStructure side;
    side.catalogue.objects.push_back(table);
    side.entries.push_back({0, std::nullopt, ChangeCode::NoChange});
    ResultCollection items;
    detail::appendStructureItems(items, side);
    return keyTexts(*items.item(1));
}

class ServerCatalogueTest : public testing::Test {
protected:
    void SetUp() override {
        server = PostgresServer::instance();
        if (!server)
            GTEST_SKIP() << "PostgreSQL: " << PostgresServer::why();
        const std::string database = server->createDatabase(catalogueScript);
        connection.open(server->connectionString(database));
    }
    detail::CatalogueReading read(bool atOnce, bool objectsOnly = false) {
        return detail::readCatalogue(connection.backend(), connection.connectionString(),
                                     detail::CatalogueRequest{true, objectsOnly, "", atOnce, {}});
    }

    PostgresServer* server = nullptr;
    Connection connection;
};

TEST_F(ServerCatalogueTest, KeysReadAtOnceAreTheKeysReadTableByTable) {
    const detail::CatalogueReading atOnce = read(true, true);
    const detail::CatalogueReading tableByTable = read(false, true);
    EXPECT_TRUE(atOnce.failures.empty());
    ASSERT_GE(atOnce.catalogue.objects.size(), 23u);
    EXPECT_EQ(atOnce.catalogue, tableByTable.catalogue);
    // The cases the comparison above must have met.
    const Catalogue& catalogue = atOnce.catalogue;
    EXPECT_EQ(catalogue.find("my_s%.we\"ird name")->primaryKey,
              (std::vector<std::string>{"other col", "Key"}));
    // The driver counts a key index's INCLUDE columns among the key's columns.
    EXPECT_EQ(catalogue.find("with space")->primaryKey, (std::vector<std::string>{"l", "k", "m"}));
    EXPECT_EQ(catalogue.find("named_key")->primaryKey.front(), "b");
    EXPECT_TRUE(catalogue.find("no_key")->primaryKey.empty());
    EXPECT_EQ(detail::primaryKeyText(*catalogue.find("no_key")), "No primary key Defined");
    EXPECT_EQ(keysOf(*catalogue.find("t")), "Ref|MixedCase_Ref_fkey|id|t|t_pkey");
}

TEST_F(ServerCatalogueTest, FieldsReadAtOnceAreTheFieldsOfEachTablesQuery) {
    const detail::CatalogueReading atOnce = read(true);
    const detail::CatalogueReading tableByTable = read(false);
    EXPECT_TRUE(atOnce.failures.empty());
    ASSERT_EQ(atOnce.catalogue.objects.size(), tableByTable.catalogue.objects.size());
    for (std::size_t i = 0; i < atOnce.catalogue.objects.size(); ++i)
        EXPECT_EQ(atOnce.catalogue.objects[i], tableByTable.catalogue.objects[i])
            << atOnce.catalogue.objects[i].name;
    ASSERT_TRUE(atOnce.lastColumns && tableByTable.lastColumns);
    EXPECT_EQ(atOnce.lastColumns->failures, tableByTable.lastColumns->failures);

    // Only the tables of types the bulk reading leaves to the table query are read that way.
    std::vector<std::string> objects;
    std::vector<std::string> tables;
    for (const TableSchema& object : atOnce.catalogue.objects) {
        objects.push_back(object.name);
        if (object.type == "TABLE")
            tables.push_back(object.name);
    }
    const std::optional<platform::TableCatalogues> bulk =
        connection.backend()->readTableCatalogues(objects, tables);
    ASSERT_TRUE(bulk);
    EXPECT_TRUE(bulk->at("other_types").firstRow);
    EXPECT_FALSE(bulk->at("user_types").firstRow);
    EXPECT_FALSE(bulk->at("unsigned_type").firstRow);
    EXPECT_TRUE(bulk->at("typed").firstRow);
    EXPECT_TRUE(bulk->at("my_s%.we\"ird name").firstRow);
}

TEST_F(ServerCatalogueTest, AWholeComparisonListsTheSameItemsAsTableByTable) {
    // The control's walk reads the server catalogue at once; its items must be those built from
    // the table-by-table answers, views included.
    Sifcore core;
    core.getMasterDataManager()->setShowViews(true);
    core.getSourceDataManager()->setShowViews(true);
    ASSERT_TRUE(
        core.beginFullDatabaseCompare(connection.connectionString(), connection.connectionString(), false));
    EXPECT_EQ(core.getMasterDataManager()->getReturnMessage(), "Successfully Completed");
    SideStructure expected;
    expected.catalogue = read(false).catalogue;
    expected.entries = detail::entriesOf(expected.catalogue, true);
    ResultCollection items;
    detail::appendStructureItems(items, expected);
    const ResultCollection& listed = *core.getMasterDatabaseResults();
    ASSERT_EQ(listed.count(), items.count());
    for (int32_t i = 1; i <= items.count(); ++i)
        ASSERT_EQ(listed.item(i)->toString(), items.item(i)->toString());
}

// A table moved from SQLite to PostgreSQL: with types compared by family only the column whose
// kind of value changed is a type difference.
TEST_F(ServerCatalogueTest, FieldTypesOfOneFamilyAreTheSameAcrossProducts) {
    TempDir dir;
    const std::string file = dir.file("moved.db");
    createSqliteDatabase(file, "CREATE TABLE moved (id INTEGER PRIMARY KEY, n INTEGER, s TEXT, r REAL,"
                               " b BLOB, code INTEGER);");
    const std::string database = server->createDatabase(
        "CREATE TABLE moved (id bigint PRIMARY KEY, n smallint, s varchar(40), r double precision,"
        " b bytea, code text);");
    const auto typeDifferences = [&](bool byFamily) {
        Sifcore core;
        core.setTypesByFamily(byFamily);
        core.beginTablebaseCompare(fileConnectionString(file), server->connectionString(database), "moved",
                                   "TABLE");
        const SideStructure& original = core.lastStructureResult().original;
        std::vector<std::string> fields;
        for (const StructureEntry& entry : original.entries)
            if (entry.change == ChangeCode::DifferentDatatype)
                fields.push_back(original.columnOf(entry)->name);
        return fields;
    };
    EXPECT_EQ(typeDifferences(true), std::vector<std::string>({"code"}));
    EXPECT_EQ(typeDifferences(false), std::vector<std::string>({"id", "n", "s", "b", "code"}));
}

} // namespace
} // namespace sifkit::test
