// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <ostream>
#include <stdexcept>

namespace dbsift::samples {

/// Why a sample database could not be made; the text names the file and the cause.
class SampleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Creates folder/original.db and folder/modified.db from the sample scripts where they are
/// missing (the folder too); existing files are left alone. Tells `out` what it did. Throws
/// SampleError when a file cannot be created; no half-written database is left behind.
void createSamples(const std::filesystem::path& folder, std::ostream& out);

} // namespace dbsift::samples
