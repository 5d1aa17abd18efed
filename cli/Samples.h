// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <ostream>

namespace dbsift::cli {

/// Creates folder/original.db and folder/modified.db from the sample scripts where they are
/// missing (the folder too); existing files are left alone. Tells out what it did. Throws
/// CliError when a file cannot be created; no half-written database is left behind.
void createSamples(const std::filesystem::path& folder, std::ostream& out);

} // namespace dbsift::cli
