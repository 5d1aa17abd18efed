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
    for (int32_t i = 1; i <= items->count(); ++i) {
        const auto& item = items->item(i);
        codes[{item->getDatabaseObjName(), item->getFieldName()}] = item->getChangeType();
    }
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

class SifcoreStructureTest : public testing::Test {
protected:
    void SetUp() override {
        createSqliteDatabase(originalPath, fixtureScript("structure_original.sql"));
        createSqliteDatabase(modifiedPath, fixtureScript("structure_modified.sql"));
    }
    bool compare(bool listObjectsOnly = false) {
        return core.beginFullDatabaseCompare(original, modified, listObjectsOnly);
    }
    ResultCollectionPtr masterItems() { return core.getMasterDatabaseResults(); }
    ResultCollectionPtr sourceItems() { return core.getSourceDatabaseResults(); }

    TempDir dir;
    std::string originalPath = dir.file("original.db");
    std::string modifiedPath = dir.file("modified.db");
    std::string original = fileConnectionString(originalPath);
    std::string modified = fileConnectionString(modifiedPath);
    Sifcore core;
};

TEST_F(SifcoreStructureTest, EveryItemGetsItsCodeAgainstTheOtherSide) {
    ASSERT_TRUE(compare());
    EXPECT_EQ(masterItems(), core.getMasterDataManager()->getResults());
    EXPECT_EQ(sourceItems(), core.getSourceDataManager()->getResults());
    const Codes master = codesOf(masterItems());
    const Codes source = codesOf(sourceItems());

    // A table on one side only: "1" for it and its fields there, nothing on the other side.
    EXPECT_EQ(master.at({"archive", ""}), "1");
    EXPECT_EQ(master.at({"archive", "x"}), "1");
    EXPECT_EQ(master.at({"archive", "y"}), "1");
    EXPECT_FALSE(find(sourceItems(), "archive"));
    // Names differing only in case are different tables.
    EXPECT_EQ(master.at({"Mixed", ""}), "1");
    EXPECT_EQ(master.at({"Mixed", "v"}), "1");
    EXPECT_EQ(source.at({"mixed", ""}), "1");
    // A field on one side only.
    EXPECT_EQ(master.at({"customers", "note"}), "2");
    EXPECT_EQ(source.at({"customers", "email"}), "2");
    // INTEGER against TEXT.
    EXPECT_EQ(master.at({"orders", "amount"}), "3");
    EXPECT_EQ(source.at({"orders", "amount"}), "3");
    // Sizes are carried, not compared.
    EXPECT_EQ(master.at({"customers", "name"}), "0");
    EXPECT_EQ(source.at({"customers", "name"}), "0");
    EXPECT_EQ(find(masterItems(), "customers", "name")->getFieldDefinedSize(), "40");
    EXPECT_EQ(find(sourceItems(), "customers", "name")->getFieldDefinedSize(), "80");
    EXPECT_EQ(master.at({"customers", ""}), "0");
    EXPECT_EQ(master.at({"pairs", "b"}), "0");
    // Views are not listed by default, SQLite's own tables never.
    EXPECT_FALSE(find(masterItems(), "big_orders"));
    EXPECT_FALSE(find(masterItems(), "sqlite_sequence"));
    EXPECT_EQ(core.getMasterDataManager()->getReturnMessage(), "Successfully Completed");
}

TEST_F(SifcoreStructureTest, ItemsFollowTheCatalogueEachTableFollowedByItsFields) {
    ASSERT_TRUE(compare());
    std::vector<std::string> names;
    for (int32_t i = 1; i <= 5; ++i) {
        const auto& item = masterItems()->item(i);
        names.push_back(item->getDatabaseObjName() + "." + item->getFieldName());
        EXPECT_EQ(item->getIsFieldDesc(), i > 1);
        EXPECT_FALSE(item->getIsDataValue());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"customers.", "customers.id", "customers.name",
                                               "customers.phone", "customers.note"}));
    const auto name = find(masterItems(), "customers", "name");
    EXPECT_EQ(name->getDataType(), "String");
    EXPECT_EQ(name->getFieldCount(), 4);
    EXPECT_TRUE(name->getShow());
    EXPECT_EQ(name->getPrimaryKey(), "id");
    EXPECT_EQ(find(masterItems(), "customers")->getDataType(), "TABLE");
}

TEST_F(SifcoreStructureTest, KeysComeFromTheDeclarations) {
    ASSERT_TRUE(compare());
    EXPECT_EQ(find(masterItems(), "customers")->getPrimaryKey(), "id");
    EXPECT_EQ(find(masterItems(), "pairs")->getPrimaryKey(), "a");
    EXPECT_EQ(find(masterItems(), "reviews")->getPrimaryKey(), "No primary key Defined");

    // customers is referenced by orders.customer_id and, later in the catalogue, by
    // reviews.author_id: the first reference counts. SQLite keeps no key names.
    const auto customers = find(masterItems(), "customers");
    EXPECT_EQ(customers->getFKeyColumnName(), "customer_id");
    EXPECT_EQ(customers->getFKeyPrimaryTable(), "customers");
    EXPECT_EQ(customers->getFKeyPrimaryColName(), "id");
    EXPECT_EQ(customers->getFKeyName(), "No Foreign(s) key Defined");
    EXPECT_EQ(customers->getPKeyName(), "No Foreign(s) key Defined");

    const auto orders = find(masterItems(), "orders");
    EXPECT_EQ(orders->getFKeyColumnName(), "No Foreign(s) key Defined");
    EXPECT_EQ(orders->getFKeyPrimaryTable(), "Not Defined");
    EXPECT_EQ(orders->getFKeyName(), "FKey name not defined");
    EXPECT_EQ(orders->getFKeyPrimaryColName(), "Key was not defined");
    EXPECT_EQ(orders->getPKeyName(), "");
}

TEST_F(SifcoreStructureTest, ListingObjectsOnlyGivesTableItemsOnly) {
    ASSERT_TRUE(compare(true));
    for (const auto& items : {masterItems(), sourceItems()})
        for (int32_t i = 1; i <= items->count(); ++i) {
            EXPECT_EQ(items->item(i)->getFieldName(), "");
            EXPECT_FALSE(items->item(i)->getIsFieldDesc());
        }
    EXPECT_EQ(masterItems()->count(), 6);
    EXPECT_EQ(codesOf(masterItems()).at({"archive", ""}), "1");
}

TEST_F(SifcoreStructureTest, ViewsAreListedWhenTheManagersAreAskedToBeforeTheRun) {
    core.getMasterDataManager()->setShowViews(true);
    core.getSourceDataManager()->setShowViews(true);
    ASSERT_TRUE(compare());
    const auto view = find(masterItems(), "big_orders");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->getDataType(), "VIEW");
    EXPECT_EQ(view->getChangeType(), "0");
    EXPECT_EQ(codesOf(sourceItems()).at({"big_orders", "amount"}), "3");
    EXPECT_TRUE(core.getMasterDataManager()->getShowViews());
}

TEST_F(SifcoreStructureTest, DifferencesOnlyDropsUnchangedItems) {
    core.setshowDifferencesOnly(true);
    ASSERT_TRUE(compare());
    for (const auto& items : {masterItems(), sourceItems()})
        for (int32_t i = 1; i <= items->count(); ++i)
            EXPECT_NE(items->item(i)->getChangeType(), "0");
    // customers is unchanged as a table, so only its differing field represents it.
    EXPECT_FALSE(find(masterItems(), "customers"));
    EXPECT_TRUE(find(masterItems(), "customers", "note"));
    EXPECT_FALSE(find(masterItems(), "pairs", "a"));
    EXPECT_EQ(masterItems()->count(), 7); // note, amount, archive + 2 fields, Mixed + 1 field
}

TEST_F(SifcoreStructureTest, AnEmptyDatabaseFailsTheRunAndKeepsThePreviousResults) {
    ASSERT_TRUE(compare());
    const ResultCollectionPtr previous = masterItems();
    const int32_t previousCount = previous->count();
    const std::string emptyPath = dir.file("empty.db");
    // Only a view: nothing is kept while views are not listed.
    createSqliteDatabase(emptyPath, "CREATE VIEW one AS SELECT 1 AS n;");
    EXPECT_FALSE(core.beginFullDatabaseCompare(original, fileConnectionString(emptyPath), false));
    EXPECT_EQ(masterItems(), previous);
    EXPECT_EQ(masterItems()->count(), previousCount);
    EXPECT_FALSE(core.beginFullDatabaseCompare(fileConnectionString(emptyPath), modified, true));
    EXPECT_EQ(masterItems(), previous);
}

TEST_F(SifcoreStructureTest, ASideThatCannotBeOpenedFailsWithItsMessages) {
    EXPECT_FALSE(
        core.beginFullDatabaseCompare(original, fileConnectionString(dir.file("missing.db")), false));
    EXPECT_EQ(masterItems(), nullptr);
    const std::string log = core.getErrorLogs(false);
    EXPECT_TRUE(contains(log, " #2 Error occurred when attempting to open connection")) << log;
    EXPECT_TRUE(contains(log, " #5 Error when attempting to open the database schema")) << log;
    EXPECT_TRUE(contains(log, "General Issues Successfully Completed #19 Error occurred while opeing the "
                              "structure for all of the tables Error occurred while attempting to open  ||"))
        << log;
}

TEST_F(SifcoreStructureTest, ProgressIsReportedEveryFiftyItemsFromTheFiftyFirst) {
    std::string script;
    for (int t = 0; t < 120; ++t)
        script += "CREATE TABLE t" + std::to_string(t) + " (n INTEGER);\n";
    createSqliteDatabase(dir.file("many1.db"), script);
    createSqliteDatabase(dir.file("many2.db"), script);
    std::vector<std::tuple<int32_t, int32_t, std::string>> events;
    core.setUpdateCountHandler([&](int32_t& count, int32_t& maxCount, std::string& readFrom) {
        events.emplace_back(count, maxCount, readFrom);
    });
    ASSERT_TRUE(core.beginFullDatabaseCompare(fileConnectionString(dir.file("many1.db")),
                                              fileConnectionString(dir.file("many2.db")), true));
    const std::vector<std::tuple<int32_t, int32_t, std::string>> expected{{51, 120, "Reading Original"},
                                                                          {101, 120, "Reading Original"},
                                                                          {51, 120, "Reading Modified"},
                                                                          {101, 120, "Reading Modified"}};
    EXPECT_EQ(events, expected);
}

TEST_F(SifcoreStructureTest, ATableComparesOnItsOwnAndPublishes) {
    core.getMasterDataManager()->setReturnMessage("left over");
    ASSERT_TRUE(core.beginTablebaseCompare(original, modified, "orders", "VIEW"));
    const Codes master = codesOf(masterItems());
    EXPECT_EQ(master.size(), 5u);
    EXPECT_EQ(master.at({"orders", ""}), "0");
    EXPECT_EQ(master.at({"orders", "amount"}), "3");
    EXPECT_EQ(find(masterItems(), "orders")->getDataType(), "TABLE");
    EXPECT_EQ(core.getMasterDataManager()->getFieldCount(), 4);
    EXPECT_EQ(core.getMasterDataManager()->getReturnMessage(), "Successfully Completed");
    EXPECT_EQ(codesOf(sourceItems()).at({"orders", "amount"}), "3");
}

TEST_F(SifcoreStructureTest, ATableRunOnAMissingDatabaseReportsTheLoad) {
    EXPECT_FALSE(
        core.beginTablebaseCompare(original, fileConnectionString(dir.file("missing.db")), "orders", ""));
    EXPECT_EQ(masterItems(), nullptr);
    EXPECT_TRUE(contains(core.getSourceDataManager()->getReturnMessage(),
                         " #17 Error occurred while opeing the structure for orders ||"));
}

TEST_F(SifcoreStructureTest, GetTablesListsBothSidesWithoutComparingOrPublishing) {
    core.getMasterDataManager()->setShowViews(true);
    ASSERT_TRUE(core.getTables(original, modified));
    EXPECT_EQ(masterItems(), nullptr);
    const Codes master = codesOf(core.getMasterDataManager()->getResults());
    EXPECT_EQ(master.at({"archive", ""}), "0");
    EXPECT_EQ(master.at({"orders", "amount"}), "0");
    EXPECT_EQ(master.count({"big_orders", ""}), 1u);
    EXPECT_EQ(codesOf(core.getSourceDataManager()->getResults()).count({"big_orders", ""}), 0u);
    EXPECT_FALSE(core.getTables(original, fileConnectionString(dir.file("missing.db"))));
}

TEST_F(SifcoreStructureTest, OpenConnectionsAreHandedToTheManagersWithoutARun) {
    Connection first;
    Connection second;
    first.open(original);
    second.open(modified);
    core.getMasterDataManager()->setReturnMessage("left over");
    EXPECT_FALSE(core.beginDatabaseCompareWithConnection(first, second));
    EXPECT_TRUE(core.getMasterDataManager()->getDatabaseConnection().sameAs(first));
    EXPECT_TRUE(core.getSourceDataManager()->getDatabaseConnection().sameAs(second));
    EXPECT_EQ(core.getMasterDataManager()->getReturnMessage(), "");
    EXPECT_EQ(core.getMasterDatabaseResults(), nullptr);
}

TEST_F(SifcoreStructureTest, FieldLengthsCompareByDefinedSize) {
    Connection first;
    Connection second;
    first.open(original);
    second.open(modified);
    Recordset left;
    Recordset right;
    left.open("select id, name, phone from [customers]", first);
    right.open("select id, name, phone from [customers]", second);
    EXPECT_FALSE(core.checkFieldLength(left, right, 1));
    EXPECT_TRUE(core.checkFieldLength(left, right, 2));
    EXPECT_FALSE(core.checkFieldLength(left, right, 3));
}

} // namespace
} // namespace sifkit::test
