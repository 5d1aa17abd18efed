// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace sifkit::detail {

/// True when the trimmed path names an existing file; False for an empty or blank path and for
/// a folder.
bool fileExists(const std::string& path);

/// Deletes the file; True on success.
bool deleteFile(const std::string& path);

/// How deleteFileWithRetry deletes and waits between attempts; tests pass their own so that
/// they neither sleep nor need a file the system refuses to delete.
struct DeleteRetry {
    std::function<bool(const std::string&)> remove;      ///< deleteFile when empty
    std::function<void(std::chrono::milliseconds)> wait; ///< sleeps when empty
};

/// Deletes a file that may be held open elsewhere for a while: True at once when the file does
/// not exist or the first delete succeeds; otherwise waits a second before each of up to 20
/// further attempts, and one more second before giving up with False (about 21 seconds).
bool deleteFileWithRetry(const std::string& path, const DeleteRetry& how = {});

/// Deletes the file when it exists (fileExists, then deleteFileWithRetry).
void deleteFileIfExists(const std::string& path, const DeleteRetry& how = {});

} // namespace sifkit::detail
