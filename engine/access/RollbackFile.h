// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataAccess.h>

#include <string>

namespace sifkit::detail {

/// Throws when the statement selected more than one row: a write must change exactly the one
/// row the user chose, or nothing.
void requireSingleRow(const Recordset& rows, const std::string& statement);

/// The rollback file of an update in the making. The rows about to be overwritten are written at once under a
/// temporary name beside fileName, with the locator that finds the changed record afterwards; commit() moves
/// it over fileName and makes it the process's rollback (file name and in-memory copy of rows). Without
/// commit() the temporary file is removed and an earlier file of that name, and the process's rollback, stay
/// as they were. The constructor throws when the file cannot be written: the caller must then not overwrite.
class StagedRollbackFile {
public:
    StagedRollbackFile(const Recordset& rows, const std::string& fileName, const FileNotes& notes);
    ~StagedRollbackFile();
    StagedRollbackFile(const StagedRollbackFile&) = delete;
    StagedRollbackFile& operator=(const StagedRollbackFile&) = delete;
    /// Call once the update has committed; throws when the file cannot be moved into place.
    void commit();

private:
    Recordset copy_;
    std::string id_;
    std::string fileName_;
    std::string staged_;
    bool committed_ = false;
};

/// Keeps rows for a rollback at once: a StagedRollbackFile committed straight away.
void writeRollbackFile(const Recordset& rows, const std::string& fileName, const FileNotes& notes = {});

/// The names of the notes a rollback file carries: its own id (a new one for every file, which
/// the undo entry names too) and the database it was written for (its connection string
/// without the password).
inline constexpr const char* rollbackIdNote = "rollback-id";
inline constexpr const char* rollbackDatabaseNote = "database";

/// A new rollback file id: 128 random bits in hexadecimal.
std::string newRollbackId();

/// Throws unless the rollback file just opened belongs to the table and the database (its
/// connection string, compared without passwords; files that do not name one are taken as
/// theirs), carries the id the undo entry names (when an id is known) and, when this process
/// wrote a file under that name, is still the file it wrote.
void requireRollbackFileOf(const std::string& table, const std::string& connectionString,
                           const Recordset& saved);

} // namespace sifkit::detail
