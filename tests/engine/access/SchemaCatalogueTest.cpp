// SPDX-License-Identifier: MIT
#include "support/DataRun.h"
#include "support/TestEnvironment.h"

#include "access/CatalogueReader.h"
#include "legacy/ResultItems.h"

#include <sifkit/ResultCollection.h>
#include <sifkit/clsDBManager.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

// Tables referenced in every way SQLite allows: by two tables, once, without a column, by a
// key of two columns, under a name in other letter case, and not at all.
const char* const keysScript = R"(
CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT);
CREATE TABLE orders (oid INTEGER PRIMARY KEY, person_id INTEGER REFERENCES people(id));
CREATE TABLE invoices (buyer INTEGER REFERENCES people(id), seller INTEGER REFERENCES orders(oid));
CREATE TABLE implicit (x INTEGER REFERENCES invoices);
CREATE TABLE pairs (a INTEGER, b INTEGER, PRIMARY KEY (a, b));
CREATE TABLE pair_refs (p INTEGER, q INTEGER, CONSTRAINT to_pairs FOREIGN KEY (p, q) REFERENCES pairs(a, b));
CREATE TABLE shouting (y INTEGER REFERENCES SHOUTED(id));
CREATE TABLE Shouted (id INTEGER PRIMARY KEY);
CREATE TABLE lonely (z INTEGER);
)";

std::string keyTexts(const clsResultSet& item) {
    return item.getFKeyColumnName() + "|" + item.getFKeyName() + "|" + item.getFKeyPrimaryColName() + "|" +
           item.getFKeyPrimaryTable() + "|" + item.getPKeyName();
}

class SchemaCatalogueTest : public testing::TestWithParam<DatabaseKind> {
protected:
    void SetUp() override {
        createSqliteDatabase(path, keysScript);
        connection.open(sqliteConnectionString(GetParam(), path));
    }
    detail::CatalogueReading read(bool atOnce) {
        return detail::readCatalogue(connection.backend(), connection.connectionString(),
                                     detail::CatalogueRequest{false, true, "", atOnce, {}});
    }
    /// The key texts the table item of a table shows.
    std::string keysOf(const Catalogue& catalogue, const std::string& table) {
        SideStructure side;
        side.catalogue = catalogue;
        for (std::size_t i = 0; i < catalogue.objects.size(); ++i)
            if (catalogue.objects[i].name == table)
                side.entries.push_back({i, std::nullopt, ChangeCode::NoChange});
        ResultCollection items;
        detail::appendStructureItems(items, side);
        return items.count() == 1 ? keyTexts(*items.item(1)) : "not listed";
    }
    TempDir dir;
    std::string path = dir.file("keys.db");
    Connection connection;
};

TEST_P(SchemaCatalogueTest, DeclaredKeysGiveTheAnswersOfTheCatalogue) {
    // The keys each table declares settle most tables at once; the rest are asked table by
    // table. Both readings must give the same catalogue.
    const detail::CatalogueReading atOnce = read(true);
    const detail::CatalogueReading tableByTable = read(false);
    EXPECT_TRUE(atOnce.failures.empty());
    EXPECT_EQ(atOnce.catalogue, tableByTable.catalogue);
    ASSERT_EQ(atOnce.catalogue.objects.size(), 9u);
    EXPECT_EQ(keysOf(atOnce.catalogue, "invoices"), "x|No Foreign(s) key Defined|No Foreign(s) key Defined|"
                                                    "invoices|No Foreign(s) key Defined");
    EXPECT_EQ(keysOf(atOnce.catalogue, "lonely"),
              "No Foreign(s) key Defined|FKey name not defined|Key was not defined|Not Defined|");
    // A key of two columns: the first row names the table; the item shows the first only.
    const TableSchema* pairs = atOnce.catalogue.find("pairs");
    ASSERT_TRUE(pairs);
    EXPECT_EQ(pairs->primaryKey, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(pairs->referencedBy.size(), 2u);
}

TEST_P(SchemaCatalogueTest, ACatalogueCannotBeReadOverAClosedConnection) {
    const detail::CatalogueReading reading =
        detail::readCatalogue(nullptr, "DSN=x;PWD=secret", detail::CatalogueRequest{});
    EXPECT_TRUE(reading.catalogue.objects.empty());
    ASSERT_EQ(reading.failures.size(), 2u);
    EXPECT_EQ(reading.failures[0].messageNumber, 5);
    EXPECT_EQ(reading.failures[0].kind, MessageKind::Connection);
    EXPECT_EQ(reading.failures[0].text.find("secret"), std::string::npos);
    EXPECT_EQ(reading.failures[1].messageNumber, 19);
}

SIFKIT_FOR_EACH_SQLITE_PATH(SchemaCatalogueTest);

} // namespace
} // namespace sifkit::test
