#include "ResultIndex.h"

#include <algorithm>

namespace sifkit::detail {

namespace {

int32_t firstAtOrAfter(const std::vector<int32_t>& positions, int32_t from) {
    auto it = std::lower_bound(positions.begin(), positions.end(), from);
    return it == positions.end() ? 0 : *it;
}

} // namespace

ResultIndex::ResultIndex(const std::vector<std::shared_ptr<clsResultSet>>& items) : items_(items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& item = *items[i];
        auto position = static_cast<int32_t>(i + 1);
        TableEntry& entry = tables_[item.getDatabaseObjName()];
        entry.positions.push_back(position);
        entry.firstByRecord.try_emplace(item.getRecordNumber(), position);
        entry.highestRecord = std::max(entry.highestRecord, item.getRecordNumber());
        FieldEntry& field = entry.fields[item.getFieldName()];
        field.firstByRecord.try_emplace(item.getRecordNumber(), position);
        if (item.getIsFieldDesc())
            field.descriptionPositions.push_back(position);
    }
}

const ResultIndex::TableEntry* ResultIndex::table(const std::string& name) const {
    auto it = tables_.find(name);
    return it == tables_.end() ? nullptr : &it->second;
}

int32_t ResultIndex::firstOfTable(const std::string& name, int32_t from) const {
    const TableEntry* entry = table(name);
    return entry ? firstAtOrAfter(entry->positions, from) : 0;
}

int32_t ResultIndex::firstWithRecord(const std::string& name, int32_t recordNumber) const {
    const TableEntry* entry = table(name);
    if (!entry)
        return 0;
    auto it = entry->firstByRecord.find(recordNumber);
    return it == entry->firstByRecord.end() ? 0 : it->second;
}

int32_t ResultIndex::firstWithRecordAndField(const std::string& name, int32_t recordNumber,
                                             const std::string& fieldName) const {
    const TableEntry* entry = table(name);
    if (!entry)
        return 0;
    auto field = entry->fields.find(fieldName);
    if (field == entry->fields.end())
        return 0;
    auto it = field->second.firstByRecord.find(recordNumber);
    return it == field->second.firstByRecord.end() ? 0 : it->second;
}

int32_t ResultIndex::firstFieldDescription(const std::string& name, const std::string& fieldName,
                                           int32_t from) const {
    const TableEntry* entry = table(name);
    if (!entry)
        return 0;
    auto field = entry->fields.find(fieldName);
    return field == entry->fields.end() ? 0 : firstAtOrAfter(field->second.descriptionPositions, from);
}

int32_t ResultIndex::highestRecordNumber(const std::string& name) const {
    const TableEntry* entry = table(name);
    return entry ? entry->highestRecord : 0;
}

std::string ResultIndex::valueOfRecord(const std::string& name, const std::string& fieldName,
                                       int32_t recordNumber) const {
    int32_t start = firstWithRecordAndField(name, recordNumber, fieldName);
    if (start == 0)
        return {};
    int32_t position = firstFieldDescription(name, fieldName, start);
    return position == 0 ? std::string() : items_[position - 1]->getDataValue();
}

void ResultIndex::buildValues(const std::string& tableName, const TableEntry&, const FieldEntry& field,
                              const std::string& fieldName) const {
    field.lowestRecordByValue.emplace();
    for (const auto& [recordNumber, position] : field.firstByRecord) {
        (void)position;
        field.reportedRecords.push_back(recordNumber);
        std::string value = valueOfRecord(tableName, fieldName, recordNumber);
        auto [it, inserted] = field.lowestRecordByValue->try_emplace(std::move(value), recordNumber);
        if (!inserted && recordNumber < it->second)
            it->second = recordNumber;
    }
    std::sort(field.reportedRecords.begin(), field.reportedRecords.end());
}

int32_t ResultIndex::firstRecordWithValue(const std::string& name, const std::string& fieldName,
                                          const std::string& value) const {
    const TableEntry* entry = table(name);
    if (!entry || entry->highestRecord < 1)
        return 0;
    int32_t best = 0;
    auto field = entry->fields.find(fieldName);
    if (field != entry->fields.end()) {
        if (!field->second.lowestRecordByValue)
            buildValues(name, *entry, field->second, fieldName);
        auto it = field->second.lowestRecordByValue->find(value);
        if (it != field->second.lowestRecordByValue->end() && it->second >= 1)
            best = it->second;
    }
    if (value.empty()) {
        // A record number that carries no item of this field reads as "": the lowest one counts.
        int32_t candidate = 1;
        if (field != entry->fields.end()) {
            for (int32_t reported : field->second.reportedRecords) {
                if (reported < candidate)
                    continue;
                if (reported > candidate)
                    break;
                ++candidate;
            }
        }
        if (candidate <= entry->highestRecord && (best == 0 || candidate < best))
            best = candidate;
    }
    return best;
}

const ResultIndex& ResultIndexAccess::of(const ResultCollection& collection) {
    uint64_t epoch = clsResultSet::lookupFieldsEpoch();
    auto& index = collection.index_;
    if (!index || index->version != collection.version_ || index->epoch != epoch) {
        index = std::make_unique<ResultIndex>(collection.items_);
        index->version = collection.version_;
        index->epoch = epoch;
    }
    return *index;
}

} // namespace sifkit::detail
