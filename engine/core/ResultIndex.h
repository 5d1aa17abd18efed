// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/ResultCollection.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace sifkit::detail {

/// Positions of a result collection by table, record number and field name. Every query gives
/// exactly what a scan of the collection from position 1 (or from the given start) would find
/// first, so the look-ups of Sifcore keep their first-match results at hash-table cost.
///
/// Positions are 1-based; 0 means none. The index reads the items it was built from: it is valid
/// only while neither the collection nor any item's indexed field has changed, which
/// ResultIndexAccess::of checks before handing it out.
class ResultIndex {
public:
    /// Indexes the items; the two stamps say which state of the collection and of the items it
    /// describes.
    ResultIndex(const std::vector<std::shared_ptr<clsResultSet>>& items, uint64_t collectionVersion,
                uint64_t itemsEpoch);
    bool describes(uint64_t collectionVersion, uint64_t itemsEpoch) const {
        return collectionVersion_ == collectionVersion && itemsEpoch_ == itemsEpoch;
    }

    /// First position at or after `from` of an item of the table.
    int32_t firstOfTable(const std::string& table, int32_t from = 1) const;
    /// First position of an item of the table with that record number.
    int32_t firstWithRecord(const std::string& table, int32_t recordNumber) const;
    /// First position of an item of the table with that record number and field name (whatever
    /// its flags).
    int32_t firstWithRecordAndField(const std::string& table, int32_t recordNumber,
                                    const std::string& field) const;
    /// First position at or after `from` of an item of the table with isFieldDesc and the field name.
    int32_t firstFieldDescription(const std::string& table, const std::string& field, int32_t from) const;
    /// Number of items of the table with isDataValue.
    int32_t dataItemCount(const std::string& table) const;
    /// The highest record number an item of the table carries; 0 when none is positive.
    int32_t highestRecordNumber(const std::string& table) const;
    /// The value of a field in a record as the look-ups read it: the dataValue of the first
    /// field-description item of (table, field) at or after the first item of (table, record,
    /// field). "" when the record has no item of that field.
    std::string valueOfRecord(const std::string& table, const std::string& field, int32_t recordNumber) const;
    /// The lowest record number r in 1..highestRecordNumber(table) with valueOfRecord(table, field,
    /// r) == value; 0 when there is none. A record number that no item of the field carries reads
    /// as "", so it matches an empty value.
    int32_t firstRecordWithValue(const std::string& table, const std::string& field,
                                 const std::string& value) const;
    /// The same among the records listed with an item of the field only: a record not listed
    /// is never taken for one whose value is the empty text.
    int32_t firstListedRecordWithValue(const std::string& table, const std::string& field,
                                       const std::string& value) const;

private:
    /// Per (table, field): which record reads which value, built on the first pairing query.
    struct ValueLookup {
        std::unordered_map<std::string, int32_t> lowestRecordByValue; ///< records 1..highest only
        int32_t lowestRecordWithoutItem = 1; ///< lowest r >= 1 that no item of the field carries
    };
    struct FieldEntry {
        std::vector<int32_t> descriptionPositions; ///< items with isFieldDesc, ascending
        std::unordered_map<int32_t, int32_t> firstByRecord;
        mutable std::optional<ValueLookup> values;
    };
    struct TableEntry {
        std::vector<int32_t> positions; ///< ascending
        std::unordered_map<int32_t, int32_t> firstByRecord;
        std::unordered_map<std::string, FieldEntry> fields;
        int32_t highestRecord = 0;
        int32_t dataItems = 0;
    };

    const TableEntry* table(const std::string& name) const;
    static const FieldEntry* field(const TableEntry& entry, const std::string& name);
    std::string valueAt(const FieldEntry& field, int32_t recordNumber) const;
    const ValueLookup& values(const FieldEntry& field) const;

    const std::vector<std::shared_ptr<clsResultSet>>& items_;
    uint64_t collectionVersion_;
    uint64_t itemsEpoch_;
    std::unordered_map<std::string, TableEntry> tables_;
};

/// Hands out the index of a collection, rebuilding it when the collection gained or lost an item
/// or when any item's table, record number, field name, flags or value changed since it was
/// built (clsResultSet::lookupFieldsEpoch, which setters, initializeValues and assignment of
/// an item advance). A reference it returns stays valid until the next
/// call for the same collection.
struct ResultIndexAccess {
    static const ResultIndex& of(const ResultCollection& collection);
};

} // namespace sifkit::detail
