// SPDX-License-Identifier: MIT
#include "ResultIndex.h"

#include <algorithm>

namespace sifkit::detail {

namespace {

int32_t firstAtOrAfter(const std::vector<int32_t>& positions, int32_t from) {
    auto it = std::lower_bound(positions.begin(), positions.end(), from);
    return it == positions.end() ? 0 : *it;
}

int32_t firstOf(const std::unordered_map<int32_t, int32_t>& firstByRecord, int32_t recordNumber) {
    auto it = firstByRecord.find(recordNumber);
    return it == firstByRecord.end() ? 0 : it->second;
}

} // namespace

ResultIndex::ResultIndex(const std::vector<std::shared_ptr<clsResultSet>>& items, uint64_t collectionVersion,
                         uint64_t itemsEpoch)
    : items_(items), collectionVersion_(collectionVersion), itemsEpoch_(itemsEpoch) {
    // Items of one table usually lie together: remember the last table to skip most hashing.
    TableEntry* entry = nullptr;
    const std::string* entryName = nullptr;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const clsResultSet& item = *items[i];
        const auto position = static_cast<int32_t>(i + 1);
        if (!entryName || *entryName != item.getDatabaseObjName()) {
            auto it = tables_.try_emplace(item.getDatabaseObjName()).first;
            entry = &it->second;
            entryName = &it->first;
        }
        const int32_t recordNumber = item.getRecordNumber();
        entry->positions.push_back(position);
        entry->firstByRecord.try_emplace(recordNumber, position);
        entry->highestRecord = std::max(entry->highestRecord, recordNumber);
        if (item.getIsDataValue())
            ++entry->dataItems;
        FieldEntry& fieldEntry = entry->fields[item.getFieldName()];
        fieldEntry.firstByRecord.try_emplace(recordNumber, position);
        if (item.getIsFieldDesc())
            fieldEntry.descriptionPositions.push_back(position);
    }
}

const ResultIndex::TableEntry* ResultIndex::table(const std::string& name) const {
    auto it = tables_.find(name);
    return it == tables_.end() ? nullptr : &it->second;
}

const ResultIndex::FieldEntry* ResultIndex::field(const TableEntry& entry, const std::string& name) {
    auto it = entry.fields.find(name);
    return it == entry.fields.end() ? nullptr : &it->second;
}

int32_t ResultIndex::firstOfTable(const std::string& name, int32_t from) const {
    const TableEntry* entry = table(name);
    return entry ? firstAtOrAfter(entry->positions, from) : 0;
}

int32_t ResultIndex::firstWithRecord(const std::string& name, int32_t recordNumber) const {
    const TableEntry* entry = table(name);
    return entry ? firstOf(entry->firstByRecord, recordNumber) : 0;
}

int32_t ResultIndex::firstWithRecordAndField(const std::string& name, int32_t recordNumber,
                                             const std::string& fieldName) const {
    const TableEntry* entry = table(name);
    const FieldEntry* fieldEntry = entry ? field(*entry, fieldName) : nullptr;
    return fieldEntry ? firstOf(fieldEntry->firstByRecord, recordNumber) : 0;
}

int32_t ResultIndex::firstFieldDescription(const std::string& name, const std::string& fieldName,
                                           int32_t from) const {
    const TableEntry* entry = table(name);
    const FieldEntry* fieldEntry = entry ? field(*entry, fieldName) : nullptr;
    return fieldEntry ? firstAtOrAfter(fieldEntry->descriptionPositions, from) : 0;
}

int32_t ResultIndex::dataItemCount(const std::string& name) const {
    const TableEntry* entry = table(name);
    return entry ? entry->dataItems : 0;
}

int32_t ResultIndex::highestRecordNumber(const std::string& name) const {
    const TableEntry* entry = table(name);
    return entry ? entry->highestRecord : 0;
}

std::string ResultIndex::valueAt(const FieldEntry& fieldEntry, int32_t recordNumber) const {
    // The first item of the record for this field need not be a field description; the value is
    // then the next description of the field, whichever record that belongs to.
    int32_t start = firstOf(fieldEntry.firstByRecord, recordNumber);
    if (start == 0)
        return {};
    int32_t position = firstAtOrAfter(fieldEntry.descriptionPositions, start);
    return position == 0 ? std::string() : items_[static_cast<std::size_t>(position - 1)]->getDataValue();
}

std::string ResultIndex::valueOfRecord(const std::string& name, const std::string& fieldName,
                                       int32_t recordNumber) const {
    const TableEntry* entry = table(name);
    const FieldEntry* fieldEntry = entry ? field(*entry, fieldName) : nullptr;
    return fieldEntry ? valueAt(*fieldEntry, recordNumber) : std::string();
}

const ResultIndex::ValueLookup& ResultIndex::values(const FieldEntry& fieldEntry) const {
    if (fieldEntry.values)
        return *fieldEntry.values;
    ValueLookup lookup;
    std::vector<int32_t> carried;
    carried.reserve(fieldEntry.firstByRecord.size());
    for (const auto& [recordNumber, position] : fieldEntry.firstByRecord) {
        (void)position;
        // Only record numbers 1 and up are ever searched; a lower one must not shadow them.
        if (recordNumber < 1)
            continue;
        carried.push_back(recordNumber);
        auto [it, inserted] =
            lookup.lowestRecordByValue.try_emplace(valueAt(fieldEntry, recordNumber), recordNumber);
        if (!inserted && recordNumber < it->second)
            it->second = recordNumber;
    }
    std::sort(carried.begin(), carried.end());
    for (int32_t recordNumber : carried) {
        if (recordNumber != lookup.lowestRecordWithoutItem)
            break;
        ++lookup.lowestRecordWithoutItem;
    }
    fieldEntry.values = std::move(lookup);
    return *fieldEntry.values;
}

int32_t ResultIndex::firstRecordWithValue(const std::string& name, const std::string& fieldName,
                                          const std::string& value) const {
    const TableEntry* entry = table(name);
    if (!entry || entry->highestRecord < 1)
        return 0;
    const FieldEntry* fieldEntry = field(*entry, fieldName);
    int32_t best = 0;
    int32_t lowestWithoutItem = 1;
    if (fieldEntry) {
        const ValueLookup& lookup = values(*fieldEntry);
        if (auto it = lookup.lowestRecordByValue.find(value); it != lookup.lowestRecordByValue.end())
            best = it->second;
        lowestWithoutItem = lookup.lowestRecordWithoutItem;
    }
    if (value.empty() && lowestWithoutItem <= entry->highestRecord && (best == 0 || lowestWithoutItem < best))
        best = lowestWithoutItem;
    return best;
}

int32_t ResultIndex::firstListedRecordWithValue(const std::string& name, const std::string& fieldName,
                                                const std::string& value) const {
    const TableEntry* entry = table(name);
    const FieldEntry* fieldEntry = entry ? field(*entry, fieldName) : nullptr;
    if (!fieldEntry)
        return 0;
    const ValueLookup& lookup = values(*fieldEntry);
    auto it = lookup.lowestRecordByValue.find(value);
    return it == lookup.lowestRecordByValue.end() ? 0 : it->second;
}

const ResultIndex& ResultIndexAccess::of(const ResultCollection& collection) {
    const uint64_t epoch = clsResultSet::lookupFieldsEpoch();
    auto& index = collection.index_;
    if (!index || !index->describes(collection.version_, epoch))
        index = std::make_unique<ResultIndex>(collection.items_, collection.version_, epoch);
    return *index;
}

} // namespace sifkit::detail
