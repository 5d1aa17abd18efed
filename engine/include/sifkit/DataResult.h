// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/CompareOptions.h>
#include <sifkit/Schema.h>
#include <sifkit/Value.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit {

/// How a data comparison ended: records without an equal record on the other side were found,
/// none were, it failed (then its cause is among the control's failures and its records must
/// not be taken as the answer), or the user cancelled it.
enum class DataOutcome { NoDifferences, Differences, Failed, Cancelled };

/// A record of one side that has no record equal in every compared field on the other side.
struct DataRecord {
    Side side = Side::Original;
    int32_t number = 0;        ///< 1-based position in its side's query
    std::vector<Value> values; ///< one per column of its side's query, in order
    /// The record number of the other side's reported record with the same primary key (all
    /// key columns compared and equal); 0 when there is none.
    int32_t counterpart = 0;

    bool operator==(const DataRecord&) const = default;
};

/// A record of a table compared as a multiset that the two sides hold a different number of
/// times: one of its copies, and how many each side holds.
struct RecordCopies {
    DataRecord record; ///< the first copy: the Original's where it holds one, else the Modified's
    int32_t originalCopies = 0;
    int32_t modifiedCopies = 0;

    /// Whether both sides hold the record: a difference the per-side records leave out, which
    /// list only records without an equal one on the other side.
    bool heldByBoth() const { return originalCopies > 0 && modifiedCopies > 0; }
    bool operator==(const RecordCopies&) const = default;
};

/// The last data comparison of an engine control.
struct SIFKIT_EXPORT DataResult {
    DataOutcome outcome = DataOutcome::NoDifferences;
    std::string table;
    std::vector<ColumnSchema> originalColumns; ///< the columns of the Original side's query
    std::vector<ColumnSchema> modifiedColumns; ///< the columns of the Modified side's query
    /// The columns records are paired by: the key the control was given (Sifcore::setPairingKey),
    /// or else the primary key when both sides have the same one, or else, where neither side
    /// has one, a unique key both have whose columns are declared not null; empty when a side
    /// does not compare all of it (records then have no counterparts).
    std::vector<std::string> keyColumns;
    /// The compared columns that a side's database would call equal where they differ in letter
    /// case or trailing blanks (its collation or type ignores them); they are compared exactly.
    std::vector<std::string> exactDespiteCollation;
    int32_t originalRecordCount = 0; ///< records of the Original side's query
    int32_t modifiedRecordCount = 0;
    /// Records without a key are compared as multisets too: when equal records of the two sides
    /// pair one to one, how many of each side's are left without a copy on the other side (a
    /// duplicate the other side has once counts). -1 when not counted: the records have a key,
    /// or the run answered the sides record by record (a driver that rounds reals), when records
    /// without a key count as sets.
    int32_t originalUnpairedCopies = -1;
    int32_t modifiedUnpairedCopies = -1;
    /// Where the unpaired copies were counted: each distinct record the sides hold a different
    /// number of times, those the Original holds first (in its record order), then the others.
    std::vector<RecordCopies> copies;
    /// How many of the copies both sides hold (RecordCopies::heldByBoth).
    int32_t sharedCopies() const;
    /// Whether the records were compared as multisets: no key paired them, and the unpaired
    /// copies were counted.
    bool comparedAsMultiset() const {
        return keyColumns.empty() && originalUnpairedCopies >= 0 && modifiedUnpairedCopies >= 0;
    }
    /// When values counted as equal: records equal under these options are not reported, and
    /// changedColumns leaves out the columns they call equal.
    ValueOptions options;
    /// The row filters each side's records were read under ("" for every record).
    std::string originalFilter;
    std::string modifiedFilter;
    std::vector<DataRecord> original; ///< in record order
    std::vector<DataRecord> modified;

    const std::vector<DataRecord>& records(Side which) const {
        return which == Side::Original ? original : modified;
    }
    const std::vector<ColumnSchema>& columns(Side which) const {
        return which == Side::Original ? originalColumns : modifiedColumns;
    }
    /// The position of a named column in a side's query; -1 when that side has none of the name.
    int32_t columnPosition(Side which, const std::string& name) const;
    /// The reported record of a side with that record number; null when it is not reported.
    const DataRecord* find(Side which, int32_t number) const;
    /// The reported record of the other side that has the record's key; null without one.
    const DataRecord* counterpartOf(const DataRecord& record) const;
    /// The columns of the Original's query, in order, whose values differ between an Original
    /// record and a Modified one: numbers by value, every other value exactly, as the options
    /// relax it. Columns the Modified's query lacks are left out.
    std::vector<std::string> changedColumns(const DataRecord& originalRecord,
                                            const DataRecord& modifiedRecord) const;
};

} // namespace sifkit
