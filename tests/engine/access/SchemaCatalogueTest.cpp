#include "support/TestEnvironment.h"

#include "access/SchemaCatalogue.h"

#include <sifkit/clsDBManager.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

// Keys that reference a table in every way SQLite allows: twice from one table, without a
// column, under a name in other letter case, and not at all.
const char* const keysScript = R"(
CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT);
CREATE TABLE orders (oid INTEGER PRIMARY KEY, person_id INTEGER REFERENCES people(id));
CREATE TABLE invoices (buyer INTEGER REFERENCES people(id), seller INTEGER REFERENCES orders(oid));
CREATE TABLE implicit (x INTEGER REFERENCES invoices);
CREATE TABLE shouting (y INTEGER REFERENCES SHOUTED(id));
CREATE TABLE Shouted (id INTEGER PRIMARY KEY);
CREATE TABLE lonely (z INTEGER);
)";

std::string keyTexts(const clsResultSet& item) {
    return item.getFKeyColumnName() + "|" + item.getFKeyName() + "|" + item.getFKeyPrimaryColName() + "|" +
           item.getFKeyPrimaryTable() + "|" + item.getPKeyName();
}

TEST(SchemaCatalogueTest, DeclaredKeysOnlySpareQuestionsTheyCannotChangeTheAnswerOf) {
    TempDir dir;
    const std::string path = dir.file("keys.db");
    createSqliteDatabase(path, keysScript);
    clsDBManager manager;
    manager.setConnectionString(fileConnectionString(path));
    manager.openDatabaseConnection();
    const std::vector<std::string> tables{"people",   "orders",  "invoices", "implicit",
                                          "shouting", "Shouted", "lonely"};
    const auto targets = detail::ForeignKeyTargets::collect(manager.getDatabaseConnection(), tables);
    ASSERT_TRUE(targets);
    EXPECT_FALSE(targets->mayBeReferenced("lonely"));
    EXPECT_TRUE(targets->mayBeReferenced("shouted"));
    for (const std::string& table : tables) {
        manager.setTableName(table);
        clsResultSet exact;
        clsResultSet spared;
        detail::fillForeignKeyInfo(exact, manager);
        detail::fillForeignKeyInfo(spared, manager, &*targets);
        EXPECT_EQ(keyTexts(spared), keyTexts(exact)) << table;
    }
    manager.setTableName("people");
    clsResultSet people;
    detail::fillForeignKeyInfo(people, manager, &*targets);
    EXPECT_EQ(keyTexts(people), "person_id|No Foreign(s) key Defined|id|people|No Foreign(s) key Defined");
    manager.setTableName("invoices");
    clsResultSet invoices;
    detail::fillForeignKeyInfo(invoices, manager, &*targets);
    EXPECT_EQ(keyTexts(invoices), "x|No Foreign(s) key Defined|No Foreign(s) key Defined|invoices|"
                                  "No Foreign(s) key Defined");
}

TEST(SchemaCatalogueTest, KeysCannotBeCollectedOverAClosedConnection) {
    EXPECT_FALSE(detail::ForeignKeyTargets::collect(Connection(), {"people"}));
}

} // namespace
} // namespace sifkit::test
