// SPDX-License-Identifier: MIT
#include "legacy/ResultItems.h"
#include "model/StructureRules.h"

#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace sifkit::test {
namespace {

struct Item {
    std::string table;
    std::string field;
    std::string type;
    int code = 0;
};

// The pairwise scan that defines the change codes, kept literally (cubic) to check the indexed
// comparison against: for each item, the first item of the other side with the same table
// sets "0" and rescans both sides from there, every item of this side from the current one on
// against every item of the other side from that match on.
void scanFieldStructure(std::vector<Item>& mine, const std::vector<Item>& other, std::size_t main,
                        std::size_t secondary) {
    for (std::size_t k = main; k < mine.size(); ++k) {
        std::size_t l = secondary;
        for (; l < other.size(); ++l) {
            if (other[l].table != mine[k].table)
                continue;
            if (other[l].field == mine[k].field)
                break;
            mine[k].code = 2;
        }
        if (l < other.size()) {
            mine[k].code = 0;
            if (!mine[k].field.empty())
                mine[k].code = mine[k].type == other[l].type ? 0 : 3;
        }
    }
}

std::vector<int32_t> scanTableLists(std::vector<Item>& mine, const std::vector<Item>& other) {
    std::vector<int32_t> events;
    int counter = 0;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        for (std::size_t j = 0; j < other.size(); ++j) {
            if (other[j].table == mine[i].table) {
                mine[i].code = 0;
                scanFieldStructure(mine, other, i, j);
                break;
            }
            mine[i].code = 1;
        }
        if (counter == 50) {
            events.push_back(static_cast<int32_t>(i + 1));
            counter = 0;
        }
        ++counter;
    }
    return events;
}

std::vector<detail::StructureKey> keys(const std::vector<Item>& items) {
    std::vector<detail::StructureKey> result;
    for (const Item& item : items)
        result.push_back({item.table, item.field, item.type});
    return result;
}

std::vector<int> codes(const std::vector<Item>& items) {
    std::vector<int> result;
    for (const Item& item : items)
        result.push_back(item.code);
    return result;
}

/// The codes the rule gives mine against other, starting from the items' own codes, and the
/// positions of the progress events.
std::vector<int> assigned(const std::vector<Item>& mine, const std::vector<Item>& other,
                          std::vector<int32_t>* events = nullptr) {
    std::vector<ChangeCode> changes;
    for (const Item& item : mine)
        changes.push_back(static_cast<ChangeCode>(item.code));
    detail::assignChangeCodes(keys(mine), keys(other), changes, [&](int32_t position, int32_t count) {
        EXPECT_EQ(count, static_cast<int32_t>(mine.size()));
        if (events)
            events->push_back(position);
    });
    std::vector<int> result;
    for (ChangeCode change : changes)
        result.push_back(static_cast<int>(change));
    return result;
}

// Collections drawn from few names, so that they repeat: tables that differ in case only, a
// table listed twice, field items whose table item is missing, fields of the same name in
// several tables, and sides without any items (whose counterparts keep their codes).
std::vector<Item> randomItems(std::mt19937& random, int maxCount) {
    static const char* const tables[] = {"A", "a", "B", "C"};
    static const char* const fields[] = {"", "", "x", "X", "y", "z"};
    static const char* const types[] = {"String", "Long_String", "4_byte_signed_integer"};
    std::vector<Item> items(std::uniform_int_distribution<int>(0, maxCount)(random));
    for (Item& item : items) {
        item.table = tables[random() % 4];
        item.field = fields[random() % 6];
        item.type = types[random() % 3];
        item.code = static_cast<int>(random() % 4);
    }
    return items;
}

TEST(StructureCompareTest, TheIndexedComparisonGivesTheCodesOfThePairwiseScan) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        const int maxCount = round % 100 == 0 ? 160 : 14;
        std::vector<Item> mine = randomItems(random, maxCount);
        std::vector<Item> other = randomItems(random, maxCount);
        std::vector<int32_t> events;
        const std::vector<int> mineCodes = assigned(mine, other, &events);
        const std::vector<int> otherCodes = assigned(other, mine);

        std::vector<Item> expectedMine = mine;
        std::vector<Item> expectedOther = other;
        const std::vector<int32_t> expectedEvents = scanTableLists(expectedMine, other);
        scanTableLists(expectedOther, mine);
        ASSERT_EQ(mineCodes, codes(expectedMine)) << "round " << round;
        ASSERT_EQ(otherCodes, codes(expectedOther)) << "round " << round;
        ASSERT_EQ(events, expectedEvents) << "round " << round;
    }
}

TEST(StructureCompareTest, DuplicateTablesAndOrphanFieldsFollowTheFirstMatch) {
    // The other side lists T twice; the first x decides, a field of the second listing still
    // matches, and a table item matches only a table item.
    const std::vector<Item> mine{
        {"T", "", "TABLE"}, {"T", "x", "String"}, {"T", "w", "String"}, {"V", "", "VIEW"}};
    const std::vector<Item> other{{"T", "", "TABLE"},   {"T", "x", "Long_String"}, {"T", "", "TABLE"},
                                  {"T", "x", "String"}, {"T", "w", "String"},      {"V", "f", "String"}};
    EXPECT_EQ(assigned(mine, other), (std::vector<int>{0, 3, 0, 2}));
}

TEST(StructureCompareTest, RemovingUnchangedItemsKeepsTheOthersInOrderInTheSameCollection) {
    auto items = std::make_shared<ResultCollection>();
    for (const Item& source : std::vector<Item>{{"T", "", "TABLE", 0},
                                                {"T", "a", "String", 2},
                                                {"T", "b", "String", 0},
                                                {"T", "c", "String", 0},
                                                {"U", "", "TABLE", 1},
                                                {"U", "d", "String", 3}}) {
        auto item = std::make_shared<clsResultSet>();
        item->setDatabaseObjName(source.table);
        item->setFieldName(source.field);
        item->setChangeType(std::to_string(source.code));
        items->add(std::move(item));
    }
    const ResultCollection* before = items.get();
    detail::removeUnchangedItems(*items);
    EXPECT_EQ(items.get(), before);
    ASSERT_EQ(items->count(), 3);
    EXPECT_EQ(items->item(1)->getChangeType(), "2");
    EXPECT_EQ(items->item(2)->getChangeType(), "1");
    EXPECT_EQ(items->item(3)->getChangeType(), "3");
    EXPECT_EQ(items->item(1)->getFieldName(), "a");
}

} // namespace
} // namespace sifkit::test
