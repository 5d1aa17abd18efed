// SPDX-License-Identifier: MIT
// The indexed look-ups of Sifcore against the plain scans of LinearLookups, on random result
// collections and again after their items and the collections themselves have changed.

#include "support/LinearLookups.h"

#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace sifkit::test {
namespace {

const std::vector<std::string> kTables = {"A", "B", ""};
const std::vector<std::string> kFields = {"id", "name", "x", "", "No primary key Defined"};
const std::vector<std::string> kValues = {"", "1", "2", "v", "Null"};
const std::vector<std::string> kKeys = {"id", "name", "No primary key Defined", ""};

class RandomResults {
public:
    explicit RandomResults(uint32_t seed) : random_(seed) {
        for (int i = 0; i < 8; ++i)
            spares_.push_back(item());
    }

    template <typename T> const T& pick(const std::vector<T>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random_)];
    }
    int32_t between(int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random_);
    }
    bool chance(int percent) { return between(1, 100) <= percent; }

    std::shared_ptr<clsResultSet> item() {
        auto item = std::make_shared<clsResultSet>();
        item->setDatabaseObjName(pick(kTables));
        item->setFieldName(pick(kFields));
        item->setRecordNumber(between(-1, 9));
        item->setDataValue(pick(kValues));
        item->setIsFieldDesc(chance(80));
        item->setIsDataValue(chance(70));
        item->setFieldCount(static_cast<int16_t>(between(0, 5)));
        item->setRecordCount(between(0, 30));
        item->setPrimaryKey(pick(kKeys));
        item->setChangeType(std::to_string(between(0, 6)));
        return item;
    }

    /// Mostly whole records (the shape a data run leaves: one item per field, next to each
    /// other), with odd items in between.
    ResultCollectionPtr collection() {
        auto results = std::make_shared<ResultCollection>();
        const int32_t records = between(0, 12);
        for (int32_t r = 0; r < records; ++r) {
            const std::string& table = pick(kTables);
            const std::string& key = pick(kKeys);
            const int32_t recordNumber = between(1, 14);
            const int32_t fields = between(1, 3);
            for (int32_t f = 0; f < fields; ++f) {
                auto data = std::make_shared<clsResultSet>();
                data->setDatabaseObjName(table);
                data->setFieldName(kFields[static_cast<std::size_t>(f)]);
                data->setRecordNumber(recordNumber);
                data->setDataValue(pick(kValues));
                data->setIsFieldDesc(true);
                data->setIsDataValue(true);
                data->setFieldCount(static_cast<int16_t>(fields));
                data->setRecordCount(records + 4);
                data->setPrimaryKey(key);
                data->setChangeType("5");
                results->add(data);
            }
            if (chance(30))
                results->add(item());
        }
        return results;
    }

    /// Changes one item through a setter, replaces it by assignment, or adds or removes one.
    void mutate(ResultCollection& results) {
        if (results.count() == 0 || chance(10)) {
            results.add(item());
            return;
        }
        const int32_t position = between(1, results.count());
        clsResultSet& target = *results.item(position);
        switch (between(0, 10)) {
        case 0:
            target.setDatabaseObjName(pick(kTables));
            break;
        case 1:
            target.setFieldName(pick(kFields));
            break;
        case 2:
            target.setRecordNumber(between(-1, 9));
            break;
        case 3:
            target.setDataValue(pick(kValues));
            break;
        case 4:
            target.setIsFieldDesc(!target.getIsFieldDesc());
            break;
        case 5:
            target.setIsDataValue(!target.getIsDataValue());
            break;
        case 6:
            target.setFieldCount(static_cast<int16_t>(between(0, 5)));
            target.setPrimaryKey(pick(kKeys));
            target.setRecordCount(between(0, 30));
            break;
        case 7:
            // From an item made up front: the assignment alone must tell the index.
            target = *pick(spares_);
            break;
        case 8:
            target.initializeValues();
            break;
        case 9:
            results.remove(position);
            break;
        default:
            target.setChangeType(std::to_string(between(0, 6)));
            break;
        }
    }

private:
    std::mt19937 random_;
    std::vector<std::shared_ptr<clsResultSet>> spares_;
};

/// Every look-up of both sides for every combination of the small name, number and value pools.
void expectSameAnswers(Sifcore& core, const LinearLookups& scan) {
    std::vector<std::string> tables = kTables;
    tables.push_back("Z");
    std::vector<std::string> fields = kFields;
    fields.push_back("nowhere");
    std::vector<std::string> values = kValues;
    values.push_back("absent");
    for (bool isMaster : {true, false}) {
        SCOPED_TRACE(isMaster ? "master" : "source");
        const int32_t count = scan.count(isMaster);
        ASSERT_EQ(core.getResultCount(isMaster), count);
        for (int32_t i = 1; i <= count + 1; ++i) {
            auto item = core.getResultSet(i, isMaster);
            ASSERT_EQ(item != nullptr, i <= count);
            if (!item)
                continue;
            const auto published =
                isMaster ? core.getMasterDatabaseResults() : core.getSourceDatabaseResults();
            EXPECT_EQ(item, published->item(i));
            EXPECT_EQ(core.getResultDatabaseObjectName(i, isMaster), item->getDatabaseObjName());
            EXPECT_EQ(core.getResultFieldName(i, isMaster), item->getFieldName());
            EXPECT_EQ(core.getResultFieldValue(i, isMaster), item->getDataValue());
            EXPECT_EQ(core.getResultIsDataValue(i, isMaster), item->getIsDataValue());
            EXPECT_EQ(core.getResultIsFieldDesc(i, isMaster), item->getIsFieldDesc());
            EXPECT_EQ(std::to_string(core.getResultChangeType(i, isMaster)), item->getChangeType());
        }
        for (const auto& table : tables) {
            SCOPED_TRACE("table '" + table + "'");
            EXPECT_EQ(core.getPrimaryKeyFromTableName(table, isMaster),
                      scan.getPrimaryKeyFromTableName(table, isMaster));
            EXPECT_EQ(core.getResultFieldCount(isMaster, table), scan.getResultFieldCount(isMaster, table));
            EXPECT_EQ(core.getResultRecordCountForTable(table, isMaster),
                      scan.getResultRecordCountForTable(table, isMaster));
            EXPECT_EQ(core.getLastRecordForTable(table, isMaster),
                      scan.getLastRecordForTable(table, isMaster));
            core.setTotalRecordsForTable(0); // counted afresh, not served from the cache
            EXPECT_EQ(core.getRecordCountInResultsForTable(table, isMaster),
                      scan.countDataItems(table, isMaster));
            for (int32_t start = -1; start <= count + 2; ++start) {
                EXPECT_EQ(core.getResultRecordNumber(table, isMaster, start),
                          scan.getResultRecordNumber(table, isMaster, start));
                EXPECT_EQ(core.incrementRecordCount(table, isMaster, start),
                          scan.incrementRecordCount(table, isMaster, start));
                EXPECT_EQ(core.DecrementRecordCount(table, isMaster, start),
                          scan.DecrementRecordCount(table, isMaster, start));
                for (const auto& field : fields)
                    EXPECT_EQ(core.getResultFieldValueFromFieldName(table, isMaster, field, start),
                              scan.getResultFieldValueFromFieldName(table, isMaster, field, start));
            }
            for (int32_t record = -1; record <= 15; ++record) {
                SCOPED_TRACE("record " + std::to_string(record));
                EXPECT_EQ(core.getIndexForRecordNumber(table, record, isMaster),
                          scan.getIndexForRecordNumber(table, record, isMaster));
                auto expected = scan.getResultSetFromRecordNumber(table, record, isMaster);
                auto found = core.getResultSetFromRecordNumber(table, record, isMaster);
                if (expected)
                    EXPECT_EQ(found, expected);
                else
                    EXPECT_EQ(found->toString(), clsResultSet().toString());
                EXPECT_EQ(core.lookupRelatedRecordFromRecordNumber(table, isMaster, record),
                          scan.lookupRelatedRecordFromRecordNumber(table, isMaster, record));
                for (const auto& field : fields) {
                    EXPECT_EQ(core.getFieldValueFromRecordNumber(table, field, record, isMaster),
                              scan.getFieldValueFromRecordNumber(table, field, record, isMaster));
                    EXPECT_EQ(core.getFieldChangeTypeFromRecordNumber(table, field, record, isMaster),
                              scan.getFieldChangeTypeFromRecordNumber(table, field, record, isMaster));
                }
            }
            for (const auto& field : fields)
                for (const auto& value : values)
                    EXPECT_EQ(core.getMatchingRecordNumber(isMaster, table, field, value),
                              scan.getMatchingRecordNumber(isMaster, table, field, value))
                        << "field '" << field << "' value '" << value << "'";
        }
    }
}

TEST(ResultLookupsRandomTest, IndexedLookUpsAgreeWithPlainScans) {
    for (uint32_t seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomResults random(seed);
        auto master = random.collection();
        auto source = random.collection();
        // An item shared by both sides: a change to it must reach both indexes.
        if (master->count() > 0 && random.chance(50))
            source->add(master->item(random.between(1, master->count())));
        Sifcore core;
        core.setMasterResultSets(master);
        core.setSourceResults(source);
        const int32_t masterFields = random.between(0, 6);
        const int32_t sourceFields = random.between(0, 6);
        core.getMasterDataManager()->setFieldCount(masterFields);
        core.getSourceDataManager()->setFieldCount(sourceFields);
        LinearLookups scan(master, source, masterFields, sourceFields);

        expectSameAnswers(core, scan);
        if (HasFailure())
            return;
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE("after change round " + std::to_string(round));
            const int changes = random.between(1, 4);
            for (int c = 0; c < changes; ++c)
                random.mutate(random.chance(50) ? *master : *source);
            expectSameAnswers(core, scan);
            if (HasFailure())
                return;
        }
    }
}

} // namespace
} // namespace sifkit::test
