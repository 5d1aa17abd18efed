// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataResult.h>
#include <sifkit/DataSummary.h>
#include <sifkit/Failure.h>
#include <sifkit/StructureResult.h>

#include <cstdint>
#include <string>
#include <vector>

namespace dbsift::cli {

using sifkit::Side;

inline const char* sideName(Side side) {
    return side == Side::Original ? "Original" : "Modified";
}

/// The two databases as the user named them (a path or dsn:NAME; never a connection string).
struct Compared {
    std::string original;
    std::string modified;
};

/// One line of a structure report: an object of one side, or one of its fields, with its change.
struct StructureLine {
    Side side = Side::Original;
    const sifkit::TableSchema* object = nullptr;
    const sifkit::ColumnSchema* column = nullptr; ///< null for the object itself
    sifkit::ChangeCode change = sifkit::ChangeCode::NoChange;
};

/// The engine's structure comparison as the user asked for it.
struct StructureReport {
    Compared compared;
    bool fields = false;
    bool views = false;
    bool differencesOnly = false;
    sifkit::StructureResult result;

    /// The entries shown, the Original's then the Modified's, in catalogue order; without the
    /// unchanged ones when only differences are asked for.
    std::vector<StructureLine> lines() const {
        std::vector<StructureLine> shown;
        for (Side side : {Side::Original, Side::Modified}) {
            const sifkit::SideStructure& structure = result.side(side);
            for (const sifkit::StructureEntry& entry : structure.entries)
                if (!differencesOnly || entry.change != sifkit::ChangeCode::NoChange)
                    shown.push_back(
                        {side, &structure.objectOf(entry), structure.columnOf(entry), entry.change});
        }
        return shown;
    }

    /// Entries whose change code is not "No Change".
    int32_t differences() const {
        int32_t count = 0;
        for (const StructureLine& line : lines())
            count += line.change != sifkit::ChangeCode::NoChange ? 1 : 0;
        return count;
    }
};

/// A record of each side with the same key whose values differ, and the columns that do.
struct ChangedRecord {
    const sifkit::DataRecord* original = nullptr;
    const sifkit::DataRecord* modified = nullptr;
    std::vector<std::string> columns;
};

/// The engine's data comparison of one table as the user asked for it.
struct DataReport {
    Compared compared;
    sifkit::DataResult result;
    std::vector<std::string> columns; ///< the compared columns, in order
    /// Columns of the table that were left out, each as "name (why)": no difference in them is
    /// seen, so the report never says "No differences" as if they had been compared.
    std::vector<std::string> notCompared;
    std::vector<std::string> primaryKey; ///< the Original table's primary key; empty without one
    bool keyGiven = false;               ///< records are paired by the key the user named

    /// Whether records pair with their counterparts: only through a key both sides share and
    /// compare.
    bool paired() const { return !result.keyColumns.empty(); }

    /// Each Original record followed by its counterpart, then the Modified records left over.
    std::vector<const sifkit::DataRecord*> records() const {
        std::vector<const sifkit::DataRecord*> ordered;
        std::vector<bool> shown(result.modified.size(), false);
        for (const sifkit::DataRecord& record : result.original) {
            ordered.push_back(&record);
            for (std::size_t i = 0; i < result.modified.size(); ++i)
                if (record.counterpart != 0 && result.modified[i].number == record.counterpart && !shown[i]) {
                    ordered.push_back(&result.modified[i]);
                    shown[i] = true;
                }
        }
        for (std::size_t i = 0; i < result.modified.size(); ++i)
            if (!shown[i])
                ordered.push_back(&result.modified[i]);
        return ordered;
    }

    /// The record's key values, in key order; empty when records are not paired.
    std::vector<sifkit::Value> keyOf(const sifkit::DataRecord& record) const {
        std::vector<sifkit::Value> key;
        for (const std::string& name : result.keyColumns)
            for (std::size_t i = 0; i < columns.size() && i < record.values.size(); ++i)
                if (columns[i] == name)
                    key.push_back(record.values[i]);
        return key;
    }

    /// A record's value of a compared column; Null when its side's query has none of the name.
    const sifkit::Value& valueOf(const sifkit::DataRecord& record, const std::string& column) const {
        static const sifkit::Value null;
        const int32_t position = result.columnPosition(record.side, column);
        return position >= 0 && static_cast<std::size_t>(position) < record.values.size()
                   ? record.values[static_cast<std::size_t>(position)]
                   : null;
    }

    /// The Original's records that have a counterpart, each once, with the columns that differ.
    std::vector<ChangedRecord> changes() const {
        std::vector<ChangedRecord> changed;
        for (const sifkit::DataRecord& record : result.original)
            if (const sifkit::DataRecord* counterpart = result.counterpartOf(record))
                changed.push_back({&record, counterpart, result.changedColumns(record, *counterpart)});
        return changed;
    }

    int32_t differences() const {
        return static_cast<int32_t>(result.original.size() + result.modified.size());
    }
};

/// The data comparison of every table of both databases.
struct DatabaseDataReport {
    Compared compared;
    bool views = false;
    sifkit::ValueOptions options; ///< when values counted as equal
    sifkit::DataSummary summary;

    int32_t differences() const { return summary.differences(); }
};

/// The options that relax value equality, in words ("letter case ignored, ..."); "" when
/// values are compared exactly.
std::string describeOptions(const sifkit::ValueOptions& options);

/// A failure in the words users need: the cause as the database or the data access layer gave
/// it, or the engine's own message.
std::string describeFailure(const sifkit::Failure& failure);

} // namespace dbsift::cli
