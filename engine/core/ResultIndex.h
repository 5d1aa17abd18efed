#pragma once

#include <sifkit/ResultCollection.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace sifkit::detail {

/// Positions of a result collection by table, record number and field name, so that the
/// look-ups answer in constant or logarithmic time with the same first-match results as a scan
/// from position 1. Positions are 1-based; 0 means none.
class ResultIndex {
public:
    explicit ResultIndex(const std::vector<std::shared_ptr<clsResultSet>>& items);

    /// First position of an item of the table at or after `from`.
    int32_t firstOfTable(const std::string& table, int32_t from = 1) const;
    /// First position of an item of the table with that record number.
    int32_t firstWithRecord(const std::string& table, int32_t recordNumber) const;
    /// First position of an item of the table with that record number and field name.
    int32_t firstWithRecordAndField(const std::string& table, int32_t recordNumber,
                                    const std::string& field) const;
    /// First position at or after `from` of an item of the table with isFieldDesc and the field name.
    int32_t firstFieldDescription(const std::string& table, const std::string& field, int32_t from) const;
    /// The highest record number any item of the table carries; 0 without items.
    int32_t highestRecordNumber(const std::string& table) const;
    /// The lowest record number r in 1..highestRecordNumber(table) whose value of the field (as
    /// valueOfRecord gives it) equals value; 0 when none.
    int32_t firstRecordWithValue(const std::string& table, const std::string& field,
                                 const std::string& value) const;
    /// The value of the field in record r: the dataValue of the first field-description item at
    /// or after the first item of (table, r, field); "" when (table, r, field) has no item.
    std::string valueOfRecord(const std::string& table, const std::string& field, int32_t recordNumber) const;

    uint64_t version = 0;
    uint64_t epoch = 0;

private:
    struct FieldEntry {
        std::vector<int32_t> descriptionPositions; ///< items with isFieldDesc, ascending
        std::unordered_map<int32_t, int32_t> firstByRecord;
        /// value -> lowest record number, and the reported record numbers, built on first use
        mutable std::optional<std::unordered_map<std::string, int32_t>> lowestRecordByValue;
        mutable std::vector<int32_t> reportedRecords;
    };
    struct TableEntry {
        std::vector<int32_t> positions; ///< ascending
        std::unordered_map<int32_t, int32_t> firstByRecord;
        std::unordered_map<std::string, FieldEntry> fields;
        int32_t highestRecord = 0;
    };

    const TableEntry* table(const std::string& name) const;
    void buildValues(const std::string& tableName, const TableEntry& entry, const FieldEntry& field,
                     const std::string& fieldName) const;

    const std::vector<std::shared_ptr<clsResultSet>>& items_;
    std::unordered_map<std::string, TableEntry> tables_;
};

/// Reaches the index of a collection, building it when the collection or any item changed.
struct ResultIndexAccess {
    static const ResultIndex& of(const ResultCollection& collection);
};

} // namespace sifkit::detail
