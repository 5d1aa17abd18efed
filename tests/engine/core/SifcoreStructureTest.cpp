// SPDX-License-Identifier: MIT
#include "support/DataRun.h"
#include "support/TestEnvironment.h"

#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace sifkit::test {
namespace {

using Codes = std::map<std::pair<std::string, std::string>, std::string>;

/// (table, field) -> change code of every item of a collection; table items have field "".
Codes codesOf(const ResultCollectionPtr& items) {
    Codes codes;
    for (int32_t i = 1; i <= items->count(); ++i)
        codes[{items->item(i)->getDatabaseObjName(), items->item(i)->getFieldName()}] =
            items->item(i)->getChangeType();
    return codes;
}

std::shared_ptr<clsResultSet> find(const ResultCollectionPtr& items, const std::string& table,
                                   const std::string& field = "") {
    for (int32_t i = 1; i <= items->count(); ++i)
        if (items->item(i)->getDatabaseObjName() == table && items->item(i)->getFieldName() == field)
            return items->item(i);
    return nullptr;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

/// A structure fixture in the dialect of the database kind: PostgreSQL has no AUTOINCREMENT
/// and folds unquoted names to lower case; MariaDB spells it AUTO_INCREMENT and keys no TEXT.
std::string structureScript(const std::string& name, DatabaseKind kind) {
    std::string script = fixtureScript(name);
    auto replace = [&](const std::string& from, const std::string& to) {
        if (auto at = script.find(from); at != std::string::npos)
            script.replace(at, from.size(), to);
    };
    if (kind == DatabaseKind::Mariadb) {
        replace("AUTOINCREMENT", "AUTO_INCREMENT");
        replace("b TEXT, PRIMARY KEY (a, b)", "b VARCHAR(20), PRIMARY KEY (a, b)");
    }
    if (kind == DatabaseKind::Postgres) {
        replace("order_id INTEGER PRIMARY KEY AUTOINCREMENT", "order_id SERIAL PRIMARY KEY");
        replace("CREATE TABLE Mixed", "CREATE TABLE \"Mixed\"");
        replace("WHERE amount > 100", "WHERE amount::text > '100'"); // a text on the Modified side
    }
    return script;
}

// The two fixtures differ in: customers.note (Original only), customers.email (Modified
// only), customers.name (wider on the Modified side), orders.amount (INTEGER against TEXT),
// archive (Original only) and Mixed against mixed.
class SifcoreStructureTest : public EachDatabaseTest {
protected:
    void SetUp() override {
        EachDatabaseTest::SetUp();
        if (IsSkipped())
            return;
        run = std::make_unique<DataRun>(structureScript("structure_original.sql", GetParam()),
                                        structureScript("structure_modified.sql", GetParam()), GetParam());
        original = run->masterConnection;
        modified = run->sourceConnection;
    }
    bool compare(bool listObjectsOnly = false) {
        return core.beginFullDatabaseCompare(original, modified, listObjectsOnly);
    }
    ResultCollectionPtr masterItems() { return core.getMasterDatabaseResults(); }
    ResultCollectionPtr sourceItems() { return core.getSourceDatabaseResults(); }
    bool onSqlite() const { return isSqliteKind(GetParam()); }

    std::unique_ptr<DataRun> run;
    std::string original;
    std::string modified;
    TempDir dir;
    std::string missing = fileConnectionString(dir.file("missing.db"));
    Sifcore core;
};

/// What only SQLite files can show, on both paths to them: a file that holds no table, a view
/// left over a dropped table, many tables made quickly.
class SifcoreStructureFileTest : public testing::TestWithParam<DatabaseKind> {
protected:
    void SetUp() override {
        createSqliteDatabase(dir.file("original.db"), fixtureScript("structure_original.sql"));
    }
    ResultCollectionPtr masterItems() { return core.getMasterDatabaseResults(); }

    TempDir dir;
    std::string original = sqliteConnectionString(GetParam(), dir.file("original.db"));
    // The ODBC driver creates a missing file: a missing one is named in the file form.
    std::string missing = fileConnectionString(dir.file("missing.db"));
    Sifcore core;
};

TEST_P(SifcoreStructureTest, EveryItemGetsItsCodeAgainstTheOtherSide) {
    ASSERT_TRUE(compare());
    EXPECT_EQ(masterItems(), core.getMasterDataManager()->getResults());
    EXPECT_EQ(sourceItems(), core.getSourceDataManager()->getResults());
    const Codes master = codesOf(masterItems());
    const Codes source = codesOf(sourceItems());

    EXPECT_EQ(master.at({"archive", ""}), "1");
    EXPECT_EQ(master.at({"archive", "y"}), "1");
    EXPECT_FALSE(find(sourceItems(), "archive"));
    EXPECT_EQ(master.at({"Mixed", "v"}), "1");
    EXPECT_EQ(source.at({"mixed", ""}), "1");
    EXPECT_EQ(master.at({"customers", "note"}), "2");
    EXPECT_EQ(source.at({"customers", "email"}), "2");
    EXPECT_EQ(master.at({"orders", "amount"}), "3");
    EXPECT_EQ(source.at({"orders", "amount"}), "3");
    EXPECT_EQ(master.at({"customers", "name"}), "0");
    EXPECT_EQ(source.at({"customers", "name"}), "0");
    EXPECT_EQ(find(sourceItems(), "customers", "name")->getFieldDefinedSize(), "80");
    EXPECT_EQ(master.at({"customers", ""}), "0");
    EXPECT_FALSE(find(masterItems(), "big_orders")); // views only on request
    EXPECT_FALSE(find(masterItems(), "sqlite_sequence"));

    // The collection is flat: each table item is followed by its field items (tables in the
    // catalogue's order, which is the database's own).
    int32_t first = 1;
    while (first <= masterItems()->count() && masterItems()->item(first)->getDatabaseObjName() != "customers")
        ++first;
    std::vector<std::string> names;
    for (int32_t i = first; i < first + 5 && i <= masterItems()->count(); ++i)
        names.push_back(masterItems()->item(i)->getDatabaseObjName() + "." +
                        masterItems()->item(i)->getFieldName());
    EXPECT_EQ(names, (std::vector<std::string>{"customers.", "customers.id", "customers.name",
                                               "customers.phone", "customers.note"}));
    const auto name = find(masterItems(), "customers", "name");
    EXPECT_EQ(name->getDataType(), "String");
    EXPECT_EQ(name->getFieldDefinedSize(), "40");
    EXPECT_EQ(name->getFieldCount(), 4);
    EXPECT_TRUE(name->getShow());
    EXPECT_TRUE(name->getIsFieldDesc());
    EXPECT_EQ(name->getPrimaryKey(), "id");
    EXPECT_EQ(core.getMasterDataManager()->getReturnMessage(), "Successfully Completed");
}

TEST_P(SifcoreStructureTest, KeysComeFromTheDeclarations) {
    ASSERT_TRUE(compare());
    EXPECT_EQ(find(masterItems(), "pairs")->getPrimaryKey(), "a");
    EXPECT_EQ(find(masterItems(), "reviews")->getPrimaryKey(), "No primary key Defined");
    // orders.customer_id and, later in the catalogue, reviews.author_id reference customers:
    // the first counts. SQLite keeps no key names; PostgreSQL and MariaDB name them themselves.
    const auto customers = find(masterItems(), "customers");
    EXPECT_EQ(customers->getPrimaryKey(), "id");
    EXPECT_EQ(customers->getFKeyColumnName() + "|" + customers->getFKeyName() + "|" +
                  customers->getFKeyPrimaryColName() + "|" + customers->getFKeyPrimaryTable() + "|" +
                  customers->getPKeyName(),
              onSqlite() ? "customer_id|No Foreign(s) key Defined|id|customers|No Foreign(s) key Defined"
              : GetParam() == DatabaseKind::Mariadb
                  ? "customer_id|orders_ibfk_1|id|customers|PRIMARY"
                  : "customer_id|orders_customer_id_fkey|id|customers|customers_pkey");
    const auto orders = find(masterItems(), "orders");
    EXPECT_EQ(orders->getFKeyColumnName() + "|" + orders->getFKeyName() + "|" +
                  orders->getFKeyPrimaryColName() + "|" + orders->getFKeyPrimaryTable() + "|" +
                  orders->getPKeyName(),
              "No Foreign(s) key Defined|FKey name not defined|Key was not defined|Not Defined|");
}

TEST_P(SifcoreStructureTest, ListingOptionsShapeTheCollections) {
    ASSERT_TRUE(compare(true));
    EXPECT_EQ(masterItems()->count(), 6);
    for (int32_t i = 1; i <= masterItems()->count(); ++i)
        EXPECT_FALSE(masterItems()->item(i)->getIsFieldDesc());

    // Views are listed when the managers are asked to before the run.
    core.getMasterDataManager()->setShowViews(true);
    core.getSourceDataManager()->setShowViews(true);
    ASSERT_TRUE(compare());
    EXPECT_EQ(find(masterItems(), "big_orders")->getDataType(), "VIEW");
    EXPECT_EQ(find(masterItems(), "big_orders")->getChangeType(), "0");
    EXPECT_EQ(codesOf(sourceItems()).at({"big_orders", "amount"}), "3");

    // Differences only: an unchanged table stays represented by its differing fields.
    core.setshowDifferencesOnly(true);
    ASSERT_TRUE(compare());
    for (int32_t i = 1; i <= masterItems()->count(); ++i)
        EXPECT_NE(masterItems()->item(i)->getChangeType(), "0");
    EXPECT_FALSE(find(masterItems(), "customers"));
    EXPECT_TRUE(find(masterItems(), "customers", "note"));
    // note, both amounts (table and view), archive with 2 fields, Mixed with 1: the views stay listed.
    EXPECT_EQ(masterItems()->count(), 8);
}

TEST_P(SifcoreStructureFileTest, FailedRunsKeepThePreviousResultsAndReport) {
    ASSERT_TRUE(core.beginFullDatabaseCompare(original, original, false));
    const ResultCollectionPtr previous = masterItems();
    const int32_t previousCount = previous->count();
    // A database holding only a view is empty while views are not listed.
    createSqliteDatabase(dir.file("empty.db"), "CREATE VIEW one AS SELECT 1 AS n;");
    EXPECT_FALSE(core.beginFullDatabaseCompare(
        original, sqliteConnectionString(GetParam(), dir.file("empty.db")), false));
    EXPECT_EQ(masterItems(), previous);
    EXPECT_EQ(masterItems()->count(), previousCount);

    EXPECT_FALSE(core.beginFullDatabaseCompare(original, missing, false));
    EXPECT_EQ(masterItems(), previous);
    const std::string log = core.getErrorLogs(false);
    EXPECT_TRUE(contains(log, " #2 Error occurred when attempting to open connection")) << log;
    EXPECT_TRUE(contains(log, " #5 Error when attempting to open the database schema")) << log;
    EXPECT_TRUE(contains(log, "General Issues Successfully Completed #19 Error occurred while opeing the "
                              "structure for all of the tables Error occurred while attempting to open  ||"))
        << log;
}

TEST_P(SifcoreStructureFileTest, AnObjectThatCannotBeReadIsReportedAndTheOthersStayListed) {
    createSqliteDatabase(dir.file("broken.db"),
                         "CREATE TABLE gone (n INTEGER); CREATE TABLE kept (n INTEGER);"
                         "CREATE VIEW a_broken AS SELECT n FROM gone;"
                         "CREATE VIEW b_fine AS SELECT n FROM kept;"
                         "DROP TABLE gone;");
    core.getMasterDataManager()->setShowViews(true);
    core.getSourceDataManager()->setShowViews(true);
    ASSERT_TRUE(core.beginFullDatabaseCompare(sqliteConnectionString(GetParam(), dir.file("broken.db")),
                                              original, true));
    EXPECT_NE(find(masterItems(), "kept"), nullptr);
    EXPECT_NE(find(masterItems(), "b_fine"), nullptr);
    const std::string log = core.getErrorLogs(true);
    EXPECT_TRUE(contains(log, " #19 Error occurred while opeing the structure for all of the tables Error "
                              "occurred while attempting to open a_broken ||"))
        << log;
}

TEST_P(SifcoreStructureFileTest, ProgressIsReportedEveryFiftyItemsFromTheFiftyFirst) {
    std::string script;
    for (int t = 0; t < 120; ++t)
        script += "CREATE TABLE t" + std::to_string(t) + " (n INTEGER);\n";
    createSqliteDatabase(dir.file("many1.db"), script);
    createSqliteDatabase(dir.file("many2.db"), script);
    std::vector<std::tuple<int32_t, int32_t, std::string>> events;
    core.setUpdateCountHandler([&](int32_t& count, int32_t& maxCount, std::string& readFrom) {
        events.emplace_back(count, maxCount, readFrom);
    });
    ASSERT_TRUE(core.beginFullDatabaseCompare(sqliteConnectionString(GetParam(), dir.file("many1.db")),
                                              sqliteConnectionString(GetParam(), dir.file("many2.db")),
                                              true));
    const std::vector<std::tuple<int32_t, int32_t, std::string>> expected{{51, 120, "Reading Original"},
                                                                          {101, 120, "Reading Original"},
                                                                          {51, 120, "Reading Modified"},
                                                                          {101, 120, "Reading Modified"}};
    EXPECT_EQ(events, expected);
}

TEST_P(SifcoreStructureTest, ATableComparesOnItsOwn) {
    core.getMasterDataManager()->setReturnMessage("left over");
    ASSERT_TRUE(core.beginTablebaseCompare(original, modified, "orders", "VIEW"));
    const Codes master = codesOf(masterItems());
    EXPECT_EQ(master.size(), 5u);
    EXPECT_EQ(master.at({"orders", ""}), "0");
    EXPECT_EQ(master.at({"orders", "amount"}), "3");
    EXPECT_EQ(find(masterItems(), "orders")->getDataType(), "TABLE");
    EXPECT_EQ(core.getMasterDataManager()->getFieldCount(), 4);
    EXPECT_EQ(core.getMasterDataManager()->getReturnMessage(), "Successfully Completed");

    EXPECT_FALSE(core.beginTablebaseCompare(original, missing, "orders", ""));
    EXPECT_TRUE(contains(core.getSourceDataManager()->getReturnMessage(),
                         " #17 Error occurred while opeing the structure for orders ||"));
}

TEST_P(SifcoreStructureTest, GetTablesListsBothSidesWithoutComparingOrPublishing) {
    core.getMasterDataManager()->setShowViews(true);
    ASSERT_TRUE(core.getTables(original, modified));
    EXPECT_EQ(masterItems(), nullptr);
    const Codes master = codesOf(core.getMasterDataManager()->getResults());
    EXPECT_EQ(master.at({"archive", ""}), "0");
    EXPECT_EQ(master.at({"orders", "amount"}), "0");
    EXPECT_EQ(master.count({"big_orders", ""}), 1u);
    EXPECT_EQ(codesOf(core.getSourceDataManager()->getResults()).count({"big_orders", ""}), 0u);
    EXPECT_FALSE(core.getTables(original, missing));
}

TEST_P(SifcoreStructureTest, OpenConnectionsAndRecordSets) {
    Connection first;
    Connection second;
    first.open(original);
    second.open(modified);
    core.getMasterDataManager()->setReturnMessage("left over");
    EXPECT_FALSE(core.beginDatabaseCompareWithConnection(first, second));
    EXPECT_TRUE(core.getMasterDataManager()->getDatabaseConnection().sameAs(first));
    EXPECT_TRUE(core.getSourceDataManager()->getDatabaseConnection().sameAs(second));
    EXPECT_EQ(core.getMasterDataManager()->getReturnMessage(), "");

    Recordset left;
    Recordset right;
    left.open("select id, name, phone from [customers]", first);
    right.open("select id, name, phone from [customers]", second);
    EXPECT_FALSE(core.checkFieldLength(left, right, 1)); // VARCHAR(40) against VARCHAR(80)
    EXPECT_TRUE(core.checkFieldLength(left, right, 2));
    EXPECT_FALSE(core.checkFieldLength(left, right, 3));
}

SIFKIT_FOR_EACH_DATABASE(SifcoreStructureTest);

SIFKIT_FOR_EACH_SQLITE_PATH(SifcoreStructureFileTest);

} // namespace
} // namespace sifkit::test
