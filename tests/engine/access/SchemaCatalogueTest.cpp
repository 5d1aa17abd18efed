// SPDX-License-Identifier: MIT
#include "support/DataRun.h"
#include "support/TestEnvironment.h"

#include "access/SchemaCatalogue.h"

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
        manager.setConnectionString(sqliteConnectionString(GetParam(), path));
        manager.openDatabaseConnection();
    }
    std::string keysOf(const std::string& table, const detail::DeclaredForeignKeys* declared) {
        manager.setTableName(table);
        clsResultSet item;
        detail::fillForeignKeyInfo(item, manager, declared);
        return keyTexts(item);
    }
    TempDir dir;
    std::string path = dir.file("keys.db");
    clsDBManager manager;
    std::vector<std::string> tables{"people",    "orders",   "invoices", "implicit", "pairs",
                                    "pair_refs", "shouting", "Shouted",  "lonely"};
};

TEST_P(SchemaCatalogueTest, DeclaredKeysGiveTheAnswersOfTheCatalogue) {
    const auto declared = detail::DeclaredForeignKeys::collect(manager.getDatabaseConnection(), tables);
    ASSERT_TRUE(declared);
    for (const std::string& table : tables)
        EXPECT_EQ(keysOf(table, &*declared), keysOf(table, nullptr)) << table;

    // Settled without the catalogue: no key, or a single key row naming the table exactly.
    clsResultSet item;
    EXPECT_TRUE(declared->fill(item, "lonely"));
    EXPECT_TRUE(declared->fill(item, "orders"));
    EXPECT_TRUE(declared->fill(item, "invoices"));
    // Left to the catalogue: several rows, or a name spelled otherwise.
    EXPECT_FALSE(declared->fill(item, "people"));
    EXPECT_FALSE(declared->fill(item, "pairs"));
    EXPECT_FALSE(declared->fill(item, "Shouted"));
    EXPECT_EQ(keysOf("invoices", nullptr), "x|No Foreign(s) key Defined|No Foreign(s) key Defined|invoices|"
                                           "No Foreign(s) key Defined");
}

TEST_P(SchemaCatalogueTest, KeysCannotBeCollectedOverAClosedConnection) {
    EXPECT_FALSE(detail::DeclaredForeignKeys::collect(Connection(), {"people"}));
}

SIFKIT_FOR_EACH_SQLITE_PATH(SchemaCatalogueTest);

} // namespace
} // namespace sifkit::test
