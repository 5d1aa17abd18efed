// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataAccess.h>

#include <string>

namespace sifkit::detail {

/// What the process keeps of the last update for a rollback: the rollback file's name and a
/// copy of the rows before they were changed. Shared by every side manager and engine control.
struct RollbackStore {
    std::string fileName;
    /// The id of the rollback file an undo entry names (set by the host before a roll back), or
    /// of the file the last update wrote; "" when no id is known.
    std::string fileId;
    Recordset recordset; ///< created empty on first use

    /// The file the last update wrote and a fingerprint of its content, so
    /// that a rollback can tell that file from anything else left under the same name.
    std::string writtenFileName;
    std::string fileFingerprint;

    static RollbackStore& instance();
};

} // namespace sifkit::detail
