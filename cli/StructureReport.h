// SPDX-License-Identifier: MIT
#pragma once

#include "DatabaseTarget.h"
#include "Report.h"

#include <sifkit/Sifcore.h>

namespace dbsift::cli {

struct StructureSettings {
    bool fields = false;
    bool views = false;
    bool differencesOnly = false;
    bool typesByFamily = false; ///< field types of one family count as the same
};

/// Throws CliError naming the side and the cause of the control's first failure: its
/// connections' first, then the rest (the statements' only with sqlToo).
void throwOnFailure(const sifkit::Sifcore& core, bool sqlToo);

/// Runs the engine's structure comparison of the two databases and reads its findings. Throws
/// CliError when a database cannot be opened or its catalogue cannot be read.
StructureReport compareStructure(sifkit::Sifcore& core, const DatabaseTarget& original,
                                 const DatabaseTarget& modified, const StructureSettings& settings);

} // namespace dbsift::cli
