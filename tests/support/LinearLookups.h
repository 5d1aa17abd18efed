// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/ResultCollection.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>

namespace sifkit::test {

/// The result look-ups written as the plain scans that define them: every answer is the first
/// match of a walk over the collection from position 1 (or from the given start), and the
/// record-number services call one another inside their loops. Deliberately slow; it is the
/// reference the indexed look-ups of Sifcore are checked and measured against.
///
/// getMatchingRecordNumber searches record numbers 1 to the highest one reported for the table
/// on the searched side. A side without a collection scans as an empty one.
class LinearLookups {
public:
    LinearLookups(ResultCollectionPtr master, ResultCollectionPtr source, int32_t masterFieldCount = 0,
                  int32_t sourceFieldCount = 0)
        : master_(std::move(master)), source_(std::move(source)), masterFieldCount_(masterFieldCount),
          sourceFieldCount_(sourceFieldCount) {}

    int32_t count(bool isMaster) const {
        const auto& results = side(isMaster);
        return results ? results->count() : 0;
    }

    std::string getPrimaryKeyFromTableName(const std::string& tableName, bool isMaster) const {
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName)
                return at(i, isMaster).getPrimaryKey();
        return "";
    }

    int16_t getResultFieldCount(bool isMaster, const std::string& tableName) const {
        int16_t result = 0;
        for (int32_t i = 1; i <= count(isMaster); ++i) {
            if (at(i, isMaster).getDatabaseObjName() == tableName)
                return at(i, isMaster).getFieldCount();
            if (result == 0)
                result = narrow(isMaster ? masterFieldCount_ : sourceFieldCount_);
        }
        return result;
    }

    int32_t getResultRecordCountForTable(const std::string& tableName, bool isMaster) const {
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName && i <= count(isMaster))
                return static_cast<int32_t>(static_cast<uint32_t>(at(i, isMaster).getRecordCount()) + 1u);
        return -1;
    }

    int32_t getLastRecordForTable(const std::string& tableName, bool isMaster) const {
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName)
                return getResultRecordCountForTable(tableName, isMaster);
        return 0;
    }

    /// getRecordCountInResultsForTable without its cache.
    int32_t countDataItems(const std::string& tableName, bool isMaster) const {
        int32_t n = 1;
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName && at(i, isMaster).getIsDataValue())
                ++n;
        return n;
    }

    int32_t getResultRecordNumber(const std::string& tableName, bool isMaster, int32_t currIndex) const {
        for (int32_t i = std::max(currIndex, 1); i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName)
                return at(i, isMaster).getRecordNumber();
        return 0;
    }

    int32_t getIndexForRecordNumber(const std::string& tableName, int32_t recordNumber, bool isMaster) const {
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName &&
                getResultRecordNumber(tableName, isMaster, i) == recordNumber && i <= count(isMaster))
                return i;
        return 0;
    }

    /// The item found, or null where Sifcore gives a new default item.
    std::shared_ptr<clsResultSet> getResultSetFromRecordNumber(const std::string& tableName,
                                                               int32_t recordNumber, bool isMaster) const {
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName &&
                getResultRecordNumber(tableName, isMaster, i) == recordNumber)
                return side(isMaster)->item(i);
        return nullptr;
    }

    std::string getResultFieldValueFromFieldName(const std::string& tableName, bool isMaster,
                                                 const std::string& fieldName, int32_t currIndex) const {
        for (int32_t i = std::max(currIndex, 1); i <= count(isMaster); ++i) {
            const clsResultSet& item = at(i, isMaster);
            if (item.getDatabaseObjName() == tableName && item.getIsFieldDesc() &&
                item.getFieldName() == fieldName)
                return item.getDataValue();
        }
        return "";
    }

    std::string getFieldValueFromRecordNumber(const std::string& tableName, const std::string& fieldName,
                                              int32_t recordNumber, bool isMaster) const {
        for (int32_t i = 1; i <= count(isMaster); ++i) {
            if (at(i, isMaster).getDatabaseObjName() == tableName &&
                getResultRecordNumber(tableName, isMaster, i) == recordNumber &&
                at(i, isMaster).getFieldName() == fieldName)
                return getResultFieldValueFromFieldName(tableName, isMaster, fieldName, i);
        }
        return "";
    }

    std::string getFieldChangeTypeFromRecordNumber(const std::string& tableName, const std::string& fieldName,
                                                   int32_t recordNumber, bool isMaster) const {
        if (recordNumber <= 0)
            return "";
        for (int32_t i = 1; i <= count(isMaster); ++i) {
            if (at(i, isMaster).getDatabaseObjName() == tableName &&
                getResultRecordNumber(tableName, isMaster, i) == recordNumber &&
                at(i, isMaster).getFieldName() == fieldName)
                return at(i, isMaster).getChangeType();
        }
        return "";
    }

    int32_t incrementRecordCount(const std::string& tableName, bool isMaster, int32_t currentCount) const {
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName)
                return currentCount + getResultFieldCount(isMaster, tableName);
        return 0;
    }

    int32_t DecrementRecordCount(const std::string& tableName, bool isMaster, int32_t currentCount) const {
        int32_t result = 0;
        for (int32_t i = 1; i <= count(isMaster); ++i) {
            if (at(i, isMaster).getDatabaseObjName() == tableName) {
                result = currentCount - getResultFieldCount(isMaster, tableName);
                break;
            }
        }
        return result > 0 ? result : 1;
    }

    int32_t highestRecordNumber(const std::string& tableName, bool isMaster) const {
        int32_t highest = 0;
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName)
                highest = std::max(highest, at(i, isMaster).getRecordNumber());
        return highest;
    }

    int32_t getMatchingRecordNumber(bool isMaster, const std::string& tableName,
                                    const std::string& primaryKeyName,
                                    const std::string& primaryKeyValue) const {
        const int32_t last = highestRecordNumber(tableName, isMaster);
        for (int32_t r = 1; r <= last; ++r)
            if (getFieldValueFromRecordNumber(tableName, primaryKeyName, r, isMaster) == primaryKeyValue)
                return r;
        return 0;
    }

    int32_t lookupRelatedRecordFromRecordNumber(const std::string& tableName, bool isMaster,
                                                int32_t recordNumber) const {
        std::string key = getPrimaryKeyFromTableName(tableName, isMaster);
        if (key.empty())
            return 0;
        std::string value = getFieldValueFromRecordNumber(tableName, key, recordNumber, isMaster);
        // Only records listed with an item of the key are candidates.
        const int32_t last = highestRecordNumber(tableName, !isMaster);
        for (int32_t r = 1; r <= last; ++r)
            if (hasItem(tableName, key, r, !isMaster) &&
                getFieldValueFromRecordNumber(tableName, key, r, !isMaster) == value)
                return r;
        return 0;
    }

private:
    bool hasItem(const std::string& tableName, const std::string& fieldName, int32_t recordNumber,
                 bool isMaster) const {
        for (int32_t i = 1; i <= count(isMaster); ++i)
            if (at(i, isMaster).getDatabaseObjName() == tableName &&
                at(i, isMaster).getFieldName() == fieldName &&
                getResultRecordNumber(tableName, isMaster, i) == recordNumber)
                return true;
        return false;
    }
    const ResultCollectionPtr& side(bool isMaster) const { return isMaster ? master_ : source_; }
    const clsResultSet& at(int32_t position, bool isMaster) const { return *side(isMaster)->item(position); }
    static int16_t narrow(int32_t value) {
        return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                        std::numeric_limits<int16_t>::max()));
    }

    ResultCollectionPtr master_;
    ResultCollectionPtr source_;
    int32_t masterFieldCount_;
    int32_t sourceFieldCount_;
};

} // namespace sifkit::test
