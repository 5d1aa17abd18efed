// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dbsift {

/// What a write of the settings file came to: it reached the file (true), or why not ("No space
/// left on device", "the key \"a=b\" cannot be stored"), in words for a message. A write that
/// fails leaves the file as it was.
struct ProfileWrite {
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

/// The lines of a settings file held in memory, with the format's look-ups and replacements.
/// Values are encoded on their lines (encodeProfileValue), so every text reads back exactly.
class ProfileText {
public:
    /// Splits the bytes of a file into lines (CR LF or LF).
    explicit ProfileText(std::string_view bytes);

    /// The value of key in section, exactly as it was written; nothing when either is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    /// Puts key=value into section: in place when the key is there, else after the section's last
    /// value line, else in a new section at the end. A section or key name that cannot stand on
    /// its line (empty, holding a control byte, "]" in a section, "=" or a leading "[" in a key)
    /// changes nothing and is remembered in refusal().
    void set(std::string_view section, std::string_view key, std::string_view value);

    /// Why a set was refused; empty when none was.
    const std::string& refusal() const { return refusal_; }

    /// The file's bytes, each line ended by CR LF.
    std::string bytes() const;

private:
    std::vector<std::string> lines_;
    std::string refusal_;
};

/// A settings file in the classic private-profile format: "[Section]" lines open sections,
/// "key=value" lines hold values. Section and key look-ups ignore letter case. A missing file,
/// section or key reads as the caller's default. Writing a key creates the file and the section
/// when missing and replaces an existing value in place.
///
/// Every write reads, changes and replaces the file while holding an advisory lock (flock) on a
/// lock file beside it, so writers in other processes never lose each other's keys; the new text
/// goes to a staging file in the same folder that is synced and renamed over the real one, so a
/// crash never leaves a half-written file. A settings path that is a symbolic link is written
/// through the link (the link stays), and the file keeps its permissions.
class ProfileFile {
public:
    explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    /// The file as it is now (empty when it is missing or cannot be read), for several look-ups
    /// in one reading.
    ProfileText contents() const;

    /// The value of key in section exactly as it was written (any length, blanks, line breaks and
    /// NULs included), or defaultValue when either is missing.
    std::string readText(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;

    /// The value of key in section, or defaultValue when either is missing, as a read through a
    /// fixed buffer of bufferSize characters gives it: cut at its first NUL and to bufferSize - 1
    /// characters. For the settings that are short by nature; texts that must come back whole
    /// (connection strings, paths, statements) are read with readText.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) const;

    /// Stores value under key in section.
    ProfileWrite writeString(const std::string& section, const std::string& key, const std::string& value);

    /// Stores several keys of one section in one write of the file, in the given order, so that
    /// either all of them or none reach the disk.
    ProfileWrite writeStrings(const std::string& section,
                              const std::vector<std::pair<std::string, std::string>>& entries);

    /// Reads the file, lets edit change it and writes the result, all under the lock, so that a
    /// choice edit makes from what it reads (a free slot, a free index) cannot be overtaken by
    /// another writer. edit returns false to leave the file untouched (the result is then true).
    ProfileWrite update(const std::function<bool(ProfileText&)>& edit);

private:
    std::filesystem::path path_;
};

/// Buffer sizes of the fixed-buffer reads (readString): the short settings of section "frmMain"
/// read through 500 characters; 128 is the buffer of the classic recent-connection readers.
inline constexpr std::size_t kSettingsBuffer = 500;
inline constexpr std::size_t kRecentBuffer = 128;

/// Writes all of bytes to the open file fd, going on after short and interrupted writes; empty
/// when it did, else the system's reason ("No space left on device").
std::string writeAllBytes(int fd, std::string_view bytes);

} // namespace dbsift
