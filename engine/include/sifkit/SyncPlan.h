// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataResult.h>
#include <sifkit/Schema.h>
#include <sifkit/Value.h>
#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sifkit {

/// Which database a sync changes: the Modified, made like the Original (the default), or the
/// Original, made like the Modified.
enum class SyncDirection { ToModified, ToOriginal };

/// The database a sync in that direction changes, and the one it takes the records from.
inline Side syncTarget(SyncDirection direction) {
    return direction == SyncDirection::ToModified ? Side::Modified : Side::Original;
}
inline Side syncSource(SyncDirection direction) {
    return direction == SyncDirection::ToModified ? Side::Original : Side::Modified;
}

enum class SyncKind { Insert, Update, Delete };

/// One change a sync makes to a row of the target. Values are in the order of the table's
/// columns (TableSync::columns).
struct SyncChange {
    SyncKind kind = SyncKind::Insert;
    /// The record the change comes from: the source's for an insert, the target's otherwise.
    int32_t recordNumber = 0;
    /// The target row as the comparison read it (update, delete); empty for an insert.
    std::vector<Value> before;
    /// What the target row holds afterwards (insert, update); empty for a delete.
    std::vector<Value> after;
    /// Of an update, the columns it writes (those whose values differ); the others keep theirs.
    std::vector<bool> written = {};
    /// How many identical rows the change stands for: a table without a key can hold a record
    /// several times, and such rows are told apart by nothing but their number.
    int32_t copies = 1;

    bool operator==(const SyncChange&) const = default;
};

/// The changes of one table.
struct SIFKIT_EXPORT TableSync {
    std::string table;
    /// The target's compared columns that the source's query has too, in the target's order.
    std::vector<ColumnSchema> columns;
    /// The columns that find a row (the comparison's pairing key); empty: a row is found by the
    /// values of every column.
    std::vector<std::string> keyColumns;
    /// Inserts, updates and deletes, in the records' order.
    std::vector<SyncChange> changes;
    /// Differences the plan cannot carry out, each with the reason (a record both sides hold,
    /// a different number of times, in a table without a key: its copies cannot be told apart).
    std::vector<std::string> leftOut;

    /// How many rows changes of that kind insert, update or delete.
    int32_t count(SyncKind kind) const;
    /// The key of a change's row as "name = value" pairs joined by ", ", or its values where
    /// the table has no key: how messages name the row.
    std::string describeRow(const SyncChange& change) const;
};

/// What a sync changes in the target database, table by table.
struct SIFKIT_EXPORT SyncPlan {
    SyncDirection direction = SyncDirection::ToModified;
    std::vector<TableSync> tables;

    int32_t count(SyncKind kind) const;
    bool empty() const {
        return count(SyncKind::Insert) + count(SyncKind::Update) + count(SyncKind::Delete) == 0;
    }
};

/// Which reported records a plan takes: a side and a record number of that side. A changed
/// record is taken when either of its two records is.
using SyncChoice = std::function<bool(Side side, int32_t recordNumber)>;

/// The changes that make the target of the direction hold what the source holds, over the
/// compared columns of the comparison: the source's records the target lacks are inserted, the
/// changed ones are updated (the columns that differ), the target's records the source lacks
/// are deleted. Without a choice every reported record is taken. The comparison must have
/// ended with differences or none (not failed, not cancelled).
SIFKIT_EXPORT TableSync planTableSync(const DataResult& comparison, SyncDirection direction,
                                      const SyncChoice& choice = {});

/// A plan of one table.
SIFKIT_EXPORT SyncPlan planSync(const DataResult& comparison, SyncDirection direction,
                                const SyncChoice& choice = {});
/// A plan of several tables, every reported record of each taken; tables without changes are
/// left out. Where it is applied or written as a script, tables referenced by foreign keys of
/// others get their inserts first and their deletes last.
SIFKIT_EXPORT SyncPlan planSync(const std::vector<DataResult>& comparisons, SyncDirection direction);

} // namespace sifkit
