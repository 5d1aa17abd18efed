// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace dbsift {

/// A settings file in the classic private-profile format: "[Section]" lines open sections,
/// "key=value" lines hold values. Section and key look-ups ignore letter case. A missing file,
/// section or key reads as the caller's default. Writing a key creates the file and the section
/// when missing and replaces an existing value in place; every write goes to a temporary file in
/// the same folder that is then renamed over the real one, so a crash never leaves a half-written
/// settings file.
class ProfileFile {
public:
    explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    /// The value of key in section, or defaultValue when either is missing. Like a read through a
    /// fixed buffer of bufferSize characters: the result is cut to bufferSize - 1 characters and
    /// at its first NUL.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) const;

    /// Stores value under key in section. False when the file cannot be written or the key or
    /// value holds a line break (the old file is then left as it was).
    bool writeString(const std::string& section, const std::string& key, const std::string& value);

    /// Stores several keys of one section in one write of the file, in the given order, so that
    /// either all of them or none reach the disk.
    bool writeStrings(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& entries);

private:
    std::filesystem::path path_;
};

/// Buffer sizes of the readers: section "frmMain" and the rollback slots read through 500
/// characters, the recent-connection lists through 128.
inline constexpr std::size_t kSettingsBuffer = 500;
inline constexpr std::size_t kRecentBuffer = 128;

} // namespace dbsift
