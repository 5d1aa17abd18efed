// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <sifkit/SyncPlan.h>
#include <sifkit/SyncRun.h>

#include <map>
#include <string>
#include <vector>

namespace sifkit::detail {

/// What an undo file keeps of one table: the changes as applied, and for each delete every
/// column of the rows it removed (columns the comparison left out included).
struct KeptTable {
    TableSync sync;
    std::vector<std::string> rowColumns; ///< the columns of the removed rows, in the table's order
    std::map<std::size_t, std::vector<platform::Row>> deletedRows; ///< by the delete's change index
};

/// An undo file's whole content.
struct KeptSync {
    SyncRecord record;
    std::vector<KeptTable> tables;

    /// The kept changes as a plan, in the order they were applied.
    SyncPlan plan() const;
};

/// Writes the file durably as a new file (throws sifkit::Error when it cannot be written or
/// exists already), and reads one back (throws when it is not an undo file).
void writeUndoFile(const std::string& path, const KeptSync& kept);
KeptSync readUndoFile(const std::string& path);

} // namespace sifkit::detail
