// SPDX-License-Identifier: MIT
// Record-number services: stepping through the records reported for a table and pairing a
// reported record with its counterpart on the other side through the primary key.
//
// Every answer is the first match of a scan from position 1 (or from the given start), taken
// from the collection's index instead of a scan.

#include "LookupIndex.h"

#include <sifkit/Sifcore.h>

#include <algorithm>

namespace sifkit {

int32_t Sifcore::getResultRecordNumber(const std::string& tableName, bool isMaster, int32_t currIndex) {
    const ResultCollectionPtr& collection = published(isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(collection);
    int32_t position = index ? index->firstOfTable(tableName, std::max(currIndex, 1)) : 0;
    return position ? collection->item(position)->getRecordNumber() : 0;
}

int32_t Sifcore::getIndexForRecordNumber(const std::string& tableName, int32_t recordNumber, bool isMaster) {
    const detail::ResultIndex* index = detail::lookupIndex(published(isMaster));
    return index ? index->firstWithRecord(tableName, recordNumber) : 0;
}

std::shared_ptr<clsResultSet> Sifcore::getResultSetFromRecordNumber(const std::string& tableName,
                                                                    int32_t recordNumber, bool isMaster) {
    const ResultCollectionPtr& collection = published(isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(collection);
    int32_t position = index ? index->firstWithRecord(tableName, recordNumber) : 0;
    return position ? collection->item(position) : std::make_shared<clsResultSet>();
}

std::string Sifcore::getResultFieldValueFromFieldName(const std::string& tableName, bool isMaster,
                                                      const std::string& fieldName, int32_t currIndex) {
    const ResultCollectionPtr& collection = published(isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(collection);
    int32_t position = index ? index->firstFieldDescription(tableName, fieldName, std::max(currIndex, 1)) : 0;
    return position ? collection->item(position)->getDataValue() : std::string();
}

std::string Sifcore::getFieldValueFromRecordNumber(const std::string& tableName, const std::string& fieldName,
                                                   int32_t recordNumber, bool isMaster) {
    const detail::ResultIndex* index = detail::lookupIndex(published(isMaster));
    int32_t position = index ? index->firstWithRecordAndField(tableName, recordNumber, fieldName) : 0;
    if (position == 0)
        return {};
    return getResultFieldValueFromFieldName(tableName, isMaster, fieldName, position);
}

std::string Sifcore::getFieldChangeTypeFromRecordNumber(const std::string& tableName,
                                                        const std::string& fieldName, int32_t recordNumber,
                                                        bool isMaster) {
    if (recordNumber <= 0)
        return {};
    const ResultCollectionPtr& collection = published(isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(collection);
    int32_t position = index ? index->firstWithRecordAndField(tableName, recordNumber, fieldName) : 0;
    return position ? collection->item(position)->getChangeType() : std::string();
}

int32_t Sifcore::incrementRecordCount(const std::string& tableName, bool isMaster, int32_t currentCount) {
    const ResultCollectionPtr& collection = published(isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(collection);
    int32_t position = index ? index->firstOfTable(tableName) : 0;
    if (position == 0)
        return 0;
    return currentCount + collection->item(position)->getFieldCount();
}

int32_t Sifcore::DecrementRecordCount(const std::string& tableName, bool isMaster, int32_t currentCount) {
    const ResultCollectionPtr& collection = published(isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(collection);
    int32_t position = index ? index->firstOfTable(tableName) : 0;
    int32_t previous = position ? currentCount - collection->item(position)->getFieldCount() : 0;
    return previous > 0 ? previous : 1;
}

int32_t Sifcore::highestRecordNumber(const std::string& tableName, bool isMaster) {
    const detail::ResultIndex* index = detail::lookupIndex(published(isMaster));
    return index ? index->highestRecordNumber(tableName) : 0;
}

// Searches record numbers 1 to the highest one reported for the table on the searched side, so
// every reported record of that side is a candidate whatever has been counted before. A record
// number without an item of the field reads as "" and so matches an empty value.
int32_t Sifcore::getMatchingRecordNumber(bool isMaster, const std::string& tableName,
                                         const std::string& primaryKeyName,
                                         const std::string& primaryKeyValue) {
    if (highestRecordNumber(tableName, isMaster) < 1)
        return 0;
    return detail::lookupIndex(published(isMaster))
        ->firstRecordWithValue(tableName, primaryKeyName, primaryKeyValue);
}

// The primary key text serves as one field name, so tables keyed by a single reported field pair
// up. Only listed records are candidates: a record whose key is the empty text pairs with the
// other side's record of that key, never with a record that is not listed.
int32_t Sifcore::lookupRelatedRecordFromRecordNumber(const std::string& tableName, bool isMaster,
                                                     int32_t recordNumber) {
    std::string key = getPrimaryKeyFromTableName(tableName, isMaster);
    if (key.empty())
        return 0;
    std::string value = getFieldValueFromRecordNumber(tableName, key, recordNumber, isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(published(!isMaster));
    return index ? index->firstListedRecordWithValue(tableName, key, value) : 0;
}

} // namespace sifkit
