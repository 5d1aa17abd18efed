// SPDX-License-Identifier: MIT
#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace sifkit::test {
namespace {

std::shared_ptr<clsResultSet> tableItem(const std::string& table, const std::string& primaryKey = "id") {
    auto item = std::make_shared<clsResultSet>();
    item->setDatabaseObjName(table);
    item->setDataType("TABLE");
    item->setPrimaryKey(primaryKey);
    return item;
}

/// One data item: a field value of a record reported on one side only.
std::shared_ptr<clsResultSet> dataItem(const std::string& table, int32_t recordNumber,
                                       const std::string& field, const std::string& value, int16_t fieldCount,
                                       const std::string& primaryKey = "id") {
    auto item = std::make_shared<clsResultSet>();
    item->setDatabaseObjName(table);
    item->setRecordNumber(recordNumber);
    item->setFieldName(field);
    item->setDataValue(value);
    item->setIsFieldDesc(true);
    item->setIsDataValue(true);
    item->setFieldCount(fieldCount);
    item->setRecordCount(24);
    item->setChangeType("5");
    item->setPrimaryKey(primaryKey);
    return item;
}

/// Adds whole records of (field, value) pairs with the given record numbers.
void addRecords(
    ResultCollection& results, const std::string& table,
    const std::vector<std::pair<int32_t, std::vector<std::pair<std::string, std::string>>>>& records,
    const std::string& primaryKey = "id") {
    for (const auto& [recordNumber, fields] : records)
        for (const auto& [field, value] : fields)
            results.add(
                dataItem(table, recordNumber, field, value, static_cast<int16_t>(fields.size()), primaryKey));
}

class ResultLookupsTest : public testing::Test {
protected:
    void publish() {
        core.setMasterResultSets(master);
        core.setSourceResults(source);
    }

    Sifcore core;
    ResultCollectionPtr master = std::make_shared<ResultCollection>();
    ResultCollectionPtr source = std::make_shared<ResultCollection>();
};

TEST_F(ResultLookupsTest, ResultCountBeforeAnyRunIsZeroWithMessages72And73) {
    EXPECT_EQ(core.getResultCount(true), 0);
    EXPECT_EQ(core.getMasterDataManager()->getReturnMessage(),
              " # 72 Error occured while getting result count in component ||");
    EXPECT_EQ(core.getSourceDataManager()->getReturnMessage(),
              " # 73 Error occured while getting result count in component ||");
    EXPECT_EQ(core.getResultCount(false), 0);
    EXPECT_EQ(core.getSourceDataManager()->getReturnMessage(),
              " # 73 Error occured while getting result count in component || # 73 Error occured while "
              "getting result count in component ||");
}

TEST_F(ResultLookupsTest, AccessorsReadTheirFieldsWithTheForeignKeyNamingOfTheInterface) {
    auto item = tableItem("orders", "order_id");
    item->setFKeyName("fk_orders_people");
    item->setFKeyColumnName("person_id");
    item->setPKeyName("pk_people");
    item->setFKeyPrimaryTable("people");
    item->setFKeyPrimaryColName("id");
    item->setFieldDefinedSize("10");
    item->setFieldActualSize("4");
    item->setShow(true);
    item->setLength("12");
    item->setChangeType("3");
    master->add(item);
    publish();
    EXPECT_EQ(core.getResultSet(1, true), item);
    EXPECT_EQ(core.getResultDatabaseObjectName(1, true), "orders");
    EXPECT_EQ(core.getResultPrimaryKey(1, true), "order_id");
    EXPECT_EQ(core.getResultForeignKeyName(1, true), "fk_orders_people");
    EXPECT_EQ(core.getResultForeignKeyColumnName(1, true), "person_id");
    EXPECT_EQ(core.getResultForeignKeyPrimaryKeyName(1, true), "pk_people");
    EXPECT_EQ(core.getResultFKeyPrimaryTableName(1, true), "people");
    EXPECT_EQ(core.getResultDataType(1, true), "TABLE");
    EXPECT_EQ(core.getResultFieldDefinedSize(1, true), "10");
    EXPECT_EQ(core.getResultFieldActualSize(1, true), "4");
    EXPECT_TRUE(core.getResultIsFieldComparable(1, true));
    EXPECT_EQ(core.getResultFieldLength(1, true), 12);
    EXPECT_EQ(core.getResultChangeType(1, true), 3);
    EXPECT_EQ(core.getDatabaseObjectName(1), "");
}

TEST_F(ResultLookupsTest, ThreeRecordsOfFourFieldsCountThirteenAndEndAfterIt) {
    addRecords(*master, "people",
               {{1, {{"id", "1"}, {"name", "a"}, {"age", "3"}, {"note", "Null"}}},
                {2, {{"id", "2"}, {"name", "b"}, {"age", "4"}, {"note", "x"}}},
                {5, {{"id", "5"}, {"name", "c"}, {"age", "5"}, {"note", ""}}}});
    master->add(tableItem("other"));
    publish();
    EXPECT_EQ(core.getRecordCountInResultsForTable("people", true), 13);
    EXPECT_FALSE(core.lastRecord("people", 13, true));
    EXPECT_TRUE(core.lastRecord("people", 14, true));
    EXPECT_EQ(core.getTotalRecordsForTable(), 13);
    EXPECT_EQ(core.getCurrentTableName(), "people");
}

TEST_F(ResultLookupsTest, RecordCountForTableIsTheFirstItemsCountPlusOne) {
    addRecords(*master, "people", {{1, {{"id", "1"}}}});
    publish();
    EXPECT_EQ(core.getResultRecordCountForTable("people", true), 25);
    EXPECT_EQ(core.getLastRecordForTable("people", true), 25);
    EXPECT_EQ(core.getResultRecordCountForTable("missing", true), -1);
    EXPECT_EQ(core.getLastRecordForTable("missing", true), 0);
    EXPECT_EQ(core.getResultRecordCountForTable("people", false), -1);
}

TEST_F(ResultLookupsTest, StepsByTheTablesFieldCount) {
    addRecords(*master, "people", {{1, {{"id", "1"}, {"name", "a"}, {"age", "3"}, {"note", "n"}}}});
    publish();
    EXPECT_EQ(core.DecrementRecordCount("people", true, 3), 1);
    EXPECT_EQ(core.DecrementRecordCount("people", true, 9), 5);
    EXPECT_EQ(core.incrementRecordCount("people", true, 1), 5);
    EXPECT_EQ(core.incrementRecordCount("missing", true, 1), 0);
    EXPECT_EQ(core.DecrementRecordCount("missing", true, 9), 1);
}

TEST_F(ResultLookupsTest, FieldCountFallsBackToTheSideManagersCount) {
    core.getMasterDataManager()->setFieldCount(7);
    publish();
    EXPECT_EQ(core.getResultFieldCount(true, "people"), 0); // an empty collection
    master->add(tableItem("other"));
    EXPECT_EQ(core.getResultFieldCount(true, "people"), 7);
    addRecords(*master, "people", {{1, {{"id", "1"}, {"name", "a"}}}});
    EXPECT_EQ(core.getResultFieldCount(true, "people"), 2);
    EXPECT_EQ(core.getResultFieldCount(true, "other"), 0);
}

TEST_F(ResultLookupsTest, PairsRecordsThroughThePrimaryKeyBothWays) {
    addRecords(*master, "people",
               {{1, {{"id", "10"}, {"name", "a"}}}, {2, {{"id", "20"}, {"name", "b"}}}, {3, {{"id", "30"}}}});
    addRecords(*source, "people", {{1, {{"id", "30"}, {"name", "c"}}}, {5, {{"id", "10"}, {"name", "z"}}}});
    publish();
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("people", true, 1), 5);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("people", true, 2), 0);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("people", true, 3), 1);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("people", false, 1), 3);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("people", false, 5), 1);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("missing", true, 1), 0);
}

// The search covers every record number reported for the searched side: it does not depend on
// the cached total of data items, nor on which side that total was counted for.
TEST_F(ResultLookupsTest, MatchingSearchesEveryReportedRecordOfTheSearchedSide) {
    addRecords(*master, "people", {{1, {{"id", "10"}}}});
    addRecords(*source, "people", {{7, {{"id", "70"}}}, {40, {{"id", "10"}}}});
    publish();
    ASSERT_EQ(core.getTotalRecordsForTable(), -1);
    EXPECT_EQ(core.getMatchingRecordNumber(false, "people", "id", "10"), 40);
    EXPECT_EQ(core.getMatchingRecordNumber(false, "people", "id", "70"), 7);
    EXPECT_EQ(core.getMatchingRecordNumber(false, "people", "id", "11"), 0);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("people", true, 1), 40);
    core.getRecordCountInResultsForTable("people", true); // a total of 2 changes nothing
    EXPECT_EQ(core.getMatchingRecordNumber(false, "people", "id", "10"), 40);
}

// A key that is the empty text pairs with the other side's record of that key, not with the
// first record number that is not listed.
TEST_F(ResultLookupsTest, AnEmptyKeyPairsWithTheRecordOfThatKey) {
    addRecords(*master, "codes", {{2, {{"id", ""}}}, {3, {{"id", "b"}}}});
    addRecords(*source, "codes", {{5, {{"id", ""}}}});
    publish();
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("codes", true, 2), 5);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("codes", false, 5), 2);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("codes", true, 3), 0);
}

// The key text names no reported field: the value read is "" on both sides. A look-up by value
// still finds record 1 (no item carries the field there), but no record is paired with one that
// is not listed.
TEST_F(ResultLookupsTest, ATableWithoutPrimaryKeyPairsWithNoRecord) {
    const std::string noKey = "No primary key Defined";
    addRecords(*master, "notes", {{3, {{"text", "a"}}}}, noKey);
    addRecords(*source, "notes", {{2, {{"text", "b"}}}, {4, {{"text", "c"}}}}, noKey);
    publish();
    EXPECT_EQ(core.getFieldValueFromRecordNumber("notes", noKey, 3, true), "");
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("notes", true, 3), 0);
    EXPECT_EQ(core.getMatchingRecordNumber(false, "notes", "text", ""), 1);
    EXPECT_EQ(core.getMatchingRecordNumber(false, "notes", "text", "c"), 4);
}

TEST_F(ResultLookupsTest, LookUpsSeeItemsChangedAfterTheyWereFirstAsked) {
    addRecords(*master, "people", {{1, {{"id", "10"}}}, {2, {{"id", "20"}}}});
    const auto replacement = dataItem("staff", 3, "id", "30", 1); // made before anything is indexed
    publish();
    ASSERT_EQ(core.getMatchingRecordNumber(true, "people", "id", "20"), 2);
    master->item(2)->setDataValue("21");
    EXPECT_EQ(core.getMatchingRecordNumber(true, "people", "id", "20"), 0);
    master->item(1)->setRecordNumber(9);
    EXPECT_EQ(core.getIndexForRecordNumber("people", 9, true), 1);
    master->item(1)->setDatabaseObjName("staff");
    EXPECT_EQ(core.getPrimaryKeyFromTableName("staff", true), "id");
    ASSERT_EQ(core.getMatchingRecordNumber(true, "staff", "id", "30"), 0);
    *master->item(2) = *replacement;
    EXPECT_EQ(core.getMatchingRecordNumber(true, "staff", "id", "30"), 3);
    master->remove(1);
    EXPECT_EQ(core.getIndexForRecordNumber("staff", 3, true), 1);
    master->add(dataItem("people", 4, "id", "40", 1));
    EXPECT_EQ(core.getIndexForRecordNumber("people", 4, true), 2);
}

TEST_F(ResultLookupsTest, CountingRaisesProgressEvery50ItemsAndOnceWhenDone) {
    for (int32_t r = 1; r <= 120; ++r)
        master->add(dataItem("people", r, "id", std::to_string(r), 1));
    publish();
    std::vector<std::tuple<int32_t, int32_t, std::string>> events;
    core.setUpdateCountHandler([&](int32_t& count, int32_t& maxCount, std::string& readFrom) {
        events.emplace_back(count, maxCount, readFrom);
    });
    EXPECT_EQ(core.getRecordCountInResultsForTable("people", true), 121);
    const std::vector<std::tuple<int32_t, int32_t, std::string>> expected = {
        {50, 120, "Compiling Differences"}, {100, 120, "Compiling Differences"}, {120, 120, "Done"}};
    EXPECT_EQ(events, expected);
}

TEST_F(ResultLookupsTest, CountsAreCachedByTableNameWhileBothTotalsArePositive) {
    addRecords(*master, "people", {{1, {{"id", "1"}, {"name", "a"}}}});
    addRecords(*source, "people", {{1, {{"id", "1"}}}});
    addRecords(*master, "staff", {{1, {{"id", "1"}}}});
    publish();
    int events = 0;
    core.setUpdateCountHandler([&](int32_t&, int32_t&, std::string&) { ++events; });

    EXPECT_EQ(core.getRecordCountInResultsForTable("people", true), 3);
    EXPECT_EQ(core.getRecordCountInResultsForTable("people", false), 2);
    EXPECT_EQ(events, 2);
    // Served from the cache, even after the collection changed.
    master->add(dataItem("people", 2, "id", "2", 2));
    EXPECT_EQ(core.getRecordCountInResultsForTable("people", true), 3);
    EXPECT_EQ(events, 2);
    // Another table, or a total reset by the host, counts again.
    EXPECT_EQ(core.getRecordCountInResultsForTable("staff", true), 2);
    EXPECT_EQ(core.getTotalRecordsForSourceTable(), 2); // the other side keeps its stale total
    EXPECT_EQ(core.getRecordCountInResultsForTable("people", true), 4);
    EXPECT_EQ(events, 4);
    core.setTotalRecordsForSourceTable(0);
    EXPECT_EQ(core.getRecordCountInResultsForTable("people", true), 4);
    EXPECT_EQ(events, 5);
}

TEST_F(ResultLookupsTest, LookUpsOnASideWithoutCollectionFindNothing) {
    EXPECT_EQ(core.getPrimaryKeyFromTableName("people", true), "");
    EXPECT_EQ(core.getResultFieldCount(true, "people"), 0);
    EXPECT_EQ(core.getResultRecordCountForTable("people", true), -1);
    EXPECT_EQ(core.getIndexForRecordNumber("people", 1, true), 0);
    EXPECT_EQ(core.getFieldValueFromRecordNumber("people", "id", 1, true), "");
    EXPECT_EQ(core.getMatchingRecordNumber(true, "people", "id", ""), 0);
    EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber("people", true, 1), 0);
    EXPECT_EQ(core.getRecordCountInResultsForTable("people", true), 1);
}

} // namespace
} // namespace sifkit::test
