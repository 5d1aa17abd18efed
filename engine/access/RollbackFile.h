#pragma once

#include <sifkit/clsDBManager.h>

#include <string>

namespace sifkit::detail {

/// Throws when the statement selected more than one row: a write must change exactly the one
/// row the user chose, or nothing.
void requireSingleRow(const Recordset& rows, const std::string& statement);

/// Keeps the rows about to be overwritten for a rollback: a copy in memory and the side's main
/// record set as the rollback file. Throws when the file cannot be written (an older file of
/// that name that could not be deleted, a full disk): the caller must then not overwrite.
void writeRollbackFile(clsDBManager& side, const Recordset& rows, bool isMaster, const std::string& fileName);

/// Throws unless the rollback file just opened belongs to the side's table and, when this
/// process wrote a file under that name, is still the file it wrote.
void requireRollbackFileOf(const clsDBManager& side, const Recordset& saved);

} // namespace sifkit::detail
