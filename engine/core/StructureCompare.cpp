// SPDX-License-Identifier: MIT
#include "StructureCompare.h"

namespace sifkit::detail {

namespace {

// A routine that starts records "Successfully Completed" as its side's general message. A
// failure reported earlier in the same run stays instead: the comparison must not hide that
// the catalogue walk or the structure load before it went wrong.
void recordStart(clsDBManager& side) {
    if (side.getReturnMessage().find(" ||") == std::string::npos)
        side.setReturnMessage("Successfully Completed");
}

void appendGeneral(clsDBManager& side, const std::string& text) {
    side.setReturnMessage(side.getReturnMessage() + text);
}

} // namespace

StructureIndex::StructureIndex(const ResultCollection& items) {
    const int32_t count = items.count();
    for (int32_t position = 1; position <= count; ++position) {
        const clsResultSet& item = *items.item(position);
        Table& table = tables_[item.getDatabaseObjName()];
        if (table.first == 0)
            table.first = position;
        table.fields.try_emplace(item.getFieldName(), position);
    }
}

int32_t StructureIndex::firstOfTable(const std::string& table) const {
    auto it = tables_.find(table);
    return it == tables_.end() ? 0 : it->second.first;
}

int32_t StructureIndex::firstOfField(const std::string& table, const std::string& field) const {
    auto it = tables_.find(table);
    if (it == tables_.end())
        return 0;
    auto found = it->second.fields.find(field);
    return found == it->second.fields.end() ? 0 : found->second;
}

void compareFieldDataType(clsDBManager& thisSide, const clsDBManager& otherSide, int32_t mainIndex,
                          int32_t secondaryIndex) {
    clsResultSet& item = *thisSide.getResults()->item(mainIndex);
    const bool same = item.getDataType() == otherSide.getResults()->item(secondaryIndex)->getDataType();
    item.setChangeType(same ? "0" : "3");
}

void CompareFieldStructure(clsDBManager& thisSide, const clsDBManager& otherSide, const StructureIndex& other,
                           int32_t mainIndex) {
    recordStart(thisSide);
    int32_t match = 0;
    try {
        clsResultSet& item = *thisSide.getResults()->item(mainIndex);
        match = other.firstOfField(item.getDatabaseObjName(), item.getFieldName());
        if (match == 0) {
            item.setChangeType("2");
            return;
        }
        item.setChangeType("0");
        // A table item matches the other side's table item and stays "0" whatever the kinds.
        if (!item.getFieldName().empty())
            compareFieldDataType(thisSide, otherSide, mainIndex, match);
    } catch (...) {
        appendGeneral(thisSide, " #9 Error in CompareFieldStructure current mainIndex " +
                                    std::to_string(mainIndex) + " Secondary index " + std::to_string(match) +
                                    " ||");
    }
}

void compareTableLists(clsDBManager& thisSide, const clsDBManager& otherSide, Sifcore& engine,
                       const std::string& label) {
    recordStart(thisSide);
    int32_t i = 0;
    int32_t j = 0;
    try {
        const ResultCollectionPtr mine = thisSide.getResults();
        const StructureIndex other(*otherSide.getResults());
        const bool otherHasItems = otherSide.getResults()->count() > 0;
        const int32_t count = mine->count();
        int32_t sinceEvent = 0;
        for (i = 1; i <= count; ++i) {
            clsResultSet& item = *mine->item(i);
            if (otherHasItems) {
                j = other.firstOfTable(item.getDatabaseObjName());
                if (j == 0) {
                    item.setChangeType("1");
                } else {
                    item.setChangeType("0");
                    CompareFieldStructure(thisSide, otherSide, other, i);
                }
            }
            // The first event comes at item 51, then at every 50th item.
            if (sinceEvent == 50) {
                engine.setCurrentProgressCount(i, count, label);
                sinceEvent = 0;
            }
            ++sinceEvent;
        }
    } catch (...) {
        appendGeneral(thisSide, " #10 Error occured while comparing result structure. Main index = " +
                                    std::to_string(i) + " Secondary index = " + std::to_string(j) + " ||");
    }
}

void removeUnchangedItems(clsDBManager& side) {
    ResultCollection& items = *side.getResults();
    ResultCollection kept;
    const int32_t count = items.count();
    for (int32_t position = 1; position <= count; ++position)
        if (items.item(position)->getChangeType() != "0")
            kept.add(items.item(position));
    // One assignment instead of a removal per item: removals from the front of a long
    // collection would make this quadratic.
    items = kept;
}

} // namespace sifkit::detail
