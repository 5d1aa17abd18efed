// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataAccess.h>
#include <sifkit/SyncPlan.h>
#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit {

/// How scripts and undo files name the two databases: as users see them. Passwords in them are
/// masked all the same.
struct SyncNames {
    std::string original;
    std::string modified;
};

/// What an applied sync changed in one table.
struct SyncedTable {
    std::string table;
    int32_t inserted = 0;
    int32_t updated = 0;
    int32_t deleted = 0;

    bool operator==(const SyncedTable&) const = default;
};

/// What an undo file says of the sync it can take back.
struct SIFKIT_EXPORT SyncRecord {
    std::string id;       ///< new for every apply
    std::string written;  ///< when, in UTC ("2026-12-11T12:00:00Z")
    std::string database; ///< the changed database's connection string, without its password
    SyncDirection direction = SyncDirection::ToModified;
    SyncNames names;
    std::vector<SyncedTable> tables;

    /// One line: "3 inserted, 1 updated, 2 deleted in contacts, orders (Modified: NAME)".
    std::string description() const;
};

/// The plan as an SQL script for the target's database (SQLite, PostgreSQL, MariaDB or MySQL):
/// a header of comments naming both databases, the direction and the counts, then one
/// transaction whose statements make the changes in foreign-key order, names quoted for that
/// database and every value a literal it reads back exactly. Rows are found by their key (by
/// every value where the table has none). Fails (sifkit::Error) for an Access file, which is
/// opened read-only, and for another product.
SIFKIT_EXPORT std::string syncScript(const SyncPlan& plan, const Connection& target, const SyncNames& names);

/// Carries the plan out in the target database in one transaction. Every row it updates or
/// deletes must still hold what the comparison read; where one does not, or the database
/// refuses a change, nothing is written and the failure names the row. Before the transaction
/// commits, the undo file (a new file; an existing one is never replaced) holds every row it
/// changes or deletes and every row it inserts, and it is on disk: afterwards the file is
/// complete, or absent when nothing was written. Fails (sifkit::Error) with the target as it
/// was; an Access file is refused before anything is written.
SIFKIT_EXPORT SyncRecord applySync(const SyncPlan& plan, const Connection& target, const SyncNames& names,
                                   const std::string& undoFile);

/// A name for a new undo file in the folder: "sync-", the time in UTC and a random part, so
/// that two applies (also of two programs at once) never share one.
SIFKIT_EXPORT std::string newUndoFileName(const std::string& folder);

/// What an undo file holds; fails when it cannot be read or is not an undo file.
SIFKIT_EXPORT SyncRecord readSyncUndo(const std::string& undoFile);

/// Takes an applied sync back, in one transaction: the inserted rows are deleted, the updated
/// and deleted rows get back what they held. Rows already as they were before the apply (an
/// apply that never committed, an undo run twice) are left alone; a row changed since the apply
/// stops the undo with nothing written, and the failure names it. Fails too when the file was
/// written for another database than the target's.
SIFKIT_EXPORT SyncRecord undoSync(const Connection& target, const std::string& undoFile);

} // namespace sifkit
