#pragma once

#include <sifkit/DataAccess.h>

#include <string>

namespace sifkit::detail {

/// What the process keeps of the last update for a rollback: the rollback file's name and a
/// copy of the rows before they were changed. Shared by every side manager and engine control.
struct RollbackStore {
    std::string fileName;
    Recordset recordset; ///< created empty on first use
    /// The content the last update wrote under fileName, so a rollback can tell its own file
    /// from an older one left under the same name.
    std::string fileDigest;

    static RollbackStore& instance();
};

} // namespace sifkit::detail
