// SPDX-License-Identifier: MIT
// Positional accessors and table-wide values of the published result collections.

#include "LookupIndex.h"

#include <sifkit/Sifcore.h>

#include <algorithm>
#include <limits>

namespace sifkit {

namespace {

int16_t narrowFieldCount(int32_t count) {
    return static_cast<int16_t>(
        std::clamp<int32_t>(count, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

} // namespace

int32_t Sifcore::getResultCount(bool isMaster) {
    const ResultCollectionPtr& collection = published(isMaster);
    if (!collection) {
        appendControlFailure(72, 73);
        return 0;
    }
    return collection->count();
}

// Only the upper bound is checked: an index below 1 is left to the collection, which throws
// (subscript out of range).
bool Sifcore::indexIsValid(int32_t index, bool isMaster) {
    const ResultCollectionPtr& collection = published(isMaster);
    if (!collection) {
        appendControlFailure(70, 71);
        return false;
    }
    return index <= collection->count();
}

std::shared_ptr<clsResultSet> Sifcore::itemAt(int32_t index, bool isMaster) {
    return published(isMaster)->item(index);
}

template <typename Getter> std::string Sifcore::itemText(int32_t index, bool isMaster, Getter getter) {
    if (!indexIsValid(index, isMaster))
        return indexErrorText_;
    return getter(*itemAt(index, isMaster));
}

template <typename Getter> bool Sifcore::itemFlag(int32_t index, bool isMaster, Getter getter) {
    if (!indexIsValid(index, isMaster))
        return false;
    return getter(*itemAt(index, isMaster));
}

std::shared_ptr<clsResultSet> Sifcore::getResultSet(int32_t index, bool isMaster) {
    const ResultCollectionPtr& collection = published(isMaster);
    if (!collection || index < 1 || index > collection->count())
        return nullptr;
    return collection->item(index);
}

std::string Sifcore::getDatabaseObjectName(int32_t index) {
    (void)getResultSet(index, true);
    return {};
}

std::string Sifcore::getResultDatabaseObjectName(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getDatabaseObjName(); });
}

std::string Sifcore::getResultPrimaryKey(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getPrimaryKey(); });
}

std::string Sifcore::getResultForeignKeyName(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getFKeyName(); });
}

std::string Sifcore::getResultForeignKeyColumnName(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getFKeyColumnName(); });
}

std::string Sifcore::getResultForeignKeyPrimaryKeyName(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getPKeyName(); });
}

std::string Sifcore::getResultFKeyPrimaryTableName(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getFKeyPrimaryTable(); });
}

std::string Sifcore::getResultDataType(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getDataType(); });
}

std::string Sifcore::getResultFieldName(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getFieldName(); });
}

std::string Sifcore::getResultFieldDefinedSize(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getFieldDefinedSize(); });
}

std::string Sifcore::getResultFieldActualSize(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getFieldActualSize(); });
}

std::string Sifcore::getResultFieldValue(int32_t index, bool isMaster) {
    return itemText(index, isMaster, [](const clsResultSet& item) { return item.getDataValue(); });
}

bool Sifcore::getResultIsDataValue(int32_t index, bool isMaster) {
    return itemFlag(index, isMaster, [](const clsResultSet& item) { return item.getIsDataValue(); });
}

bool Sifcore::getResultIsFieldDesc(int32_t index, bool isMaster) {
    return itemFlag(index, isMaster, [](const clsResultSet& item) { return item.getIsFieldDesc(); });
}

bool Sifcore::getResultIsFieldComparable(int32_t index, bool isMaster) {
    return itemFlag(index, isMaster, [](const clsResultSet& item) { return item.getShow(); });
}

// Past the end the error text would have to be read as a number, which cannot succeed.
int16_t Sifcore::getResultChangeType(int32_t index, bool isMaster) {
    if (!indexIsValid(index, isMaster))
        throw ConversionError(indexErrorText_);
    return itemAt(index, isMaster)->changeCode();
}

int16_t Sifcore::getResultFieldLength(int32_t index, bool isMaster) {
    if (!indexIsValid(index, isMaster))
        throw ConversionError(indexErrorText_);
    return static_cast<int16_t>(std::stoi(itemAt(index, isMaster)->getLength()));
}

std::string Sifcore::getPrimaryKeyFromTableName(const std::string& tableName, bool isMaster) {
    const ResultCollectionPtr& collection = published(isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(collection);
    int32_t position = index ? index->firstOfTable(tableName) : 0;
    return position ? collection->item(position)->getPrimaryKey() : std::string();
}

// A table without items answers with the side manager's column count of the last data pass,
// as long as the collection holds any item at all.
int16_t Sifcore::getResultFieldCount(bool isMaster, const std::string& tableName) {
    const ResultCollectionPtr& collection = published(isMaster);
    if (!collection || collection->count() == 0)
        return 0;
    if (int32_t position = detail::lookupIndex(collection)->firstOfTable(tableName))
        return collection->item(position)->getFieldCount();
    return narrowFieldCount((isMaster ? master() : source()).getFieldCount());
}

int32_t Sifcore::getResultRecordCountForTable(const std::string& tableName, bool isMaster) {
    const ResultCollectionPtr& collection = published(isMaster);
    const detail::ResultIndex* index = detail::lookupIndex(collection);
    int32_t position = index ? index->firstOfTable(tableName) : 0;
    if (position == 0)
        return -1;
    return static_cast<int32_t>(static_cast<uint32_t>(collection->item(position)->getRecordCount()) + 1u);
}

int32_t Sifcore::getLastRecordForTable(const std::string& tableName, bool isMaster) {
    const detail::ResultIndex* index = detail::lookupIndex(published(isMaster));
    if (!index || index->firstOfTable(tableName) == 0)
        return 0;
    return getResultRecordCountForTable(tableName, isMaster);
}

// The totals are cached by table name only (see the header); both must be positive for the cache
// to serve, so the first count of each side is always computed. The count is taken before the
// progress events, so a handler that changes items does not disturb it.
int32_t Sifcore::getRecordCountInResultsForTable(const std::string& tableName, bool isMaster) {
    if (tableName != currentTableName_ || totalRecordsForTable_ < 1 || totalRecordsForSourceTable_ < 1) {
        currentTableName_ = tableName;
        const ResultCollectionPtr& collection = published(isMaster);
        const int32_t itemCount = collection ? collection->count() : 0;
        const detail::ResultIndex* index = detail::lookupIndex(collection);
        const int32_t total = 1 + (index ? index->dataItemCount(tableName) : 0);
        for (int32_t position = 50; position <= itemCount; position += 50)
            setCurrentProgressCount(position, itemCount, "Compiling Differences");
        setCurrentProgressCount(itemCount, itemCount, "Done");
        (isMaster ? totalRecordsForTable_ : totalRecordsForSourceTable_) = total;
    }
    return isMaster ? totalRecordsForTable_ : totalRecordsForSourceTable_;
}

bool Sifcore::lastRecord(const std::string& tableName, int32_t currentIndex, bool isMaster) {
    return currentIndex > getRecordCountInResultsForTable(tableName, isMaster);
}

} // namespace sifkit
