// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataResult.h>
#include <sifkit/Schema.h>
#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sifkit {

/// What the data comparison of one table found, in counts; or why it was not compared.
struct TableCounts {
    std::string table;
    std::string whyNotCompared;          ///< "" when it was compared
    std::vector<std::string> columns;    ///< the compared columns, in the Original's order
    std::vector<std::string> keyColumns; ///< what records were paired by; empty: not paired
    int32_t originalRecords = 0;
    int32_t modifiedRecords = 0;
    /// Reported records without a record of their key on the other side; for records without a
    /// key, the copies left over when equal records pair one to one.
    int32_t onlyInOriginal = 0;
    int32_t onlyInModified = 0;
    int32_t changed = 0;   ///< pairs of records of one key whose values differ
    int32_t identical = 0; ///< Original records with an equal record (without a key: copy) in the Modified

    bool compared() const { return whyNotCompared.empty(); }
    /// Differing records (a changed pair once); a table that was not compared counts as one.
    int32_t differences() const { return compared() ? onlyInOriginal + onlyInModified + changed : 1; }
};

/// The data comparison of every table of two databases.
struct DataSummary {
    /// The Original's tables in catalogue order, then those of the Modified only.
    std::vector<TableCounts> tables;
    bool cancelled = false; ///< the user stopped it: the tables after the last one are missing
    /// The catalogues could not be listed: nothing was compared, the control's failures tell why.
    bool failed = false;

    int32_t differences() const {
        int32_t count = 0;
        for (const TableCounts& table : tables)
            count += table.differences();
        return count;
    }
};

/// What a comparison of every table compares.
struct EveryTableSettings {
    bool views = false;                     ///< views are compared as tables too
    std::vector<std::string> ignoreColumns; ///< never compared
    /// Pairs records in place of the primary key, in the tables that compare all of its columns.
    std::vector<std::string> key;
    ValueOptions options; ///< when values count as equal
    /// Keys of single tables, in place of key for them; an empty one pairs by the table's own.
    std::map<std::string, std::vector<std::string>> tableKeys = {};
};

/// The counts of a data comparison's result.
SIFKIT_EXPORT TableCounts countsOf(const DataResult& result);

/// Why a column cannot be compared with the other side's column of the same name (null: the
/// other side has none); "" when it can. Binary columns are compared byte for byte where both
/// sides hold binary.
SIFKIT_EXPORT std::string whyNotComparable(const ColumnSchema& column, const ColumnSchema* other);

/// Every column of the Original's table that the Modified's has too and both can compare, in
/// the Original's order, without the ignored ones.
SIFKIT_EXPORT std::vector<std::string> comparableColumns(const TableSchema& original,
                                                         const TableSchema& modified,
                                                         const std::vector<std::string>& ignored);

} // namespace sifkit
