// SPDX-License-Identifier: MIT
#include "shell/ProfileFile.h"

#include "shell/SettingsText.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dbsift {

namespace fs = std::filesystem;

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

/// The section named by a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionOf(std::string_view line) {
    const std::string_view text = trimmed(line);
    if (text.size() < 2 || text.front() != '[')
        return std::nullopt;
    const auto close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimmed(text.substr(1, close - 1));
}

/// Splits a "key=value" line; lines without "=" hold no value. The value is everything after the
/// "=", blanks included: blanks a writer meant to keep are part of the value.
std::optional<std::pair<std::string_view, std::string_view>> keyValueOf(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return std::pair{trimmed(line.substr(0, equals)), line.substr(equals + 1)};
}

bool holdsControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

std::string systemText(int error) {
    return std::generic_category().message(error);
}

} // namespace

ProfileText::ProfileText(std::string_view bytes) {
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
}

std::optional<std::string> ProfileText::value(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (auto name = sectionOf(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto pair = keyValueOf(line); pair && sameName(pair->first, key))
            return decodeProfileValue(pair->second);
    }
    return std::nullopt;
}

void ProfileText::set(std::string_view section, std::string_view key, std::string_view value) {
    if (section.empty() || trimmed(section) != section || holdsControl(section) ||
        section.find(']') != std::string_view::npos) {
        refusal_ = "the section name \"" + std::string(section) + "\" cannot be stored";
        return;
    }
    if (key.empty() || trimmed(key) != key || holdsControl(key) || key.find('=') != std::string_view::npos ||
        key.front() == '[') {
        refusal_ = "the key \"" + std::string(key) + "\" cannot be stored";
        return;
    }
    const std::string entry = std::string(key) + "=" + encodeProfileValue(value);
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> insertAt;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = sectionOf(lines_[i])) {
            if (sectionLine)
                break;
            if (sameName(*name, section)) {
                sectionLine = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (!sectionLine)
            continue;
        if (!trimmed(lines_[i]).empty())
            insertAt = i + 1;
        if (auto pair = keyValueOf(lines_[i]); pair && sameName(pair->first, key)) {
            lines_[i] = entry;
            return;
        }
    }
    if (sectionLine) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt), entry);
    } else {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(entry);
    }
}

std::string ProfileText::bytes() const {
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\r\n";
    return text;
}

std::string writeAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return systemText(errno);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

namespace {

/// The file a settings path names: the path itself, or where its chain of symbolic links ends
/// (which need not exist yet).
fs::path resolvedFile(const fs::path& path) {
    fs::path file = path;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(file, error); ++hops) {
        const fs::path target = fs::read_symlink(file, error);
        if (error)
            break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

/// Exclusive hold of a settings file for one read-modify-rename: flock on "<file>.lock" beside it.
/// The lock file is removed on release, while still held, so none stays behind; a writer that
/// locked a lock file someone removed meanwhile sees that the path no longer names the file it
/// locked and starts again on the new one.
class SettingsLock {
public:
    explicit SettingsLock(const fs::path& file) : path_(file.string() + ".lock") {
        for (;;) {
            fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fd_ < 0) {
                error_ = systemText(errno);
                return;
            }
            int locked;
            do
                locked = ::flock(fd_, LOCK_EX);
            while (locked != 0 && errno == EINTR);
            if (locked != 0) {
                // A file system without locks: writing unlocked is better than not at all.
                if (errno == ENOLCK || errno == EOPNOTSUPP)
                    return;
                error_ = systemText(errno);
                ::close(fd_);
                fd_ = -1;
                return;
            }
            struct stat held {
            }, named{};
            if (::fstat(fd_, &held) == 0 && ::stat(path_.c_str(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino)
                return;
            ::close(fd_);
        }
    }
    ~SettingsLock() {
        if (fd_ >= 0) {
            ::unlink(path_.c_str());
            ::close(fd_);
        }
    }
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    /// Why the lock could not be taken; empty when it is held.
    const std::string& error() const { return error_; }

private:
    std::string path_;
    int fd_ = -1;
    std::string error_;
};

/// The staging files of the writer for file: "." + name + ".tmp-" + a unique part.
std::string stagingPrefix(const fs::path& file) {
    return "." + file.filename().string() + ".tmp-";
}

/// Removes staging files that a writer killed mid-write left behind. Called under the lock, when
/// no other writer of this file can be between creating and renaming its own.
void removeLeftoverStaging(const fs::path& file) {
    const std::string prefix = stagingPrefix(file);
    std::error_code error;
    for (fs::directory_iterator it(file.parent_path().empty() ? "." : file.parent_path(), error), end;
         !error && it != end; it.increment(error))
        if (it->path().filename().string().starts_with(prefix))
            fs::remove(it->path(), error);
}

/// The current bytes of file into bytes; false with the reason when it exists but cannot be read
/// (so that a write never replaces a file it could not see).
bool readWhole(const fs::path& file, std::string& bytes, std::string& error) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        error = systemText(errno);
        return false;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = systemText(errno);
            ::close(fd);
            return false;
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return true;
}

/// Writes bytes to a new staging file beside file, with the permissions and owner of the file
/// when it exists, syncs it and renames it over file. Empty on success, else the reason; the
/// staging file is gone either way.
std::string replaceFile(const fs::path& file, const struct stat* existing, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = file.parent_path();
    fs::path staging;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        staging =
            folder / (stagingPrefix(file) + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        // A new file gets the usual permissions (0666 less the umask); a replaced one its own.
        fd = ::open(staging.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existing ? 0600 : 0666);
        if (fd < 0 && (errno != EEXIST || attempt > 100))
            return systemText(errno);
    }
    std::string error;
    if (existing) {
        if (::fchmod(fd, existing->st_mode & 07777) != 0)
            error = systemText(errno);
        else if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid())
            // Only a privileged writer can give the file back to its owner; others keep it as theirs.
            (void)!::fchown(fd, existing->st_uid, existing->st_gid);
    }
    if (error.empty())
        error = writeAllBytes(fd, bytes);
    if (error.empty() && ::fsync(fd) != 0)
        error = systemText(errno);
    if (::close(fd) != 0 && error.empty())
        error = systemText(errno);
    if (error.empty() && ::rename(staging.c_str(), file.c_str()) != 0)
        error = systemText(errno);
    if (!error.empty())
        ::unlink(staging.c_str());
    return error;
}

} // namespace

ProfileText ProfileFile::contents() const {
    std::string bytes, error;
    if (!readWhole(path_, bytes, error))
        bytes.clear();
    return ProfileText(bytes);
}

std::string ProfileFile::readText(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
    return contents().value(section, key).value_or(defaultValue);
}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize) const {
    std::string value = readText(section, key, defaultValue);
    if (const auto nul = value.find('\0'); nul != std::string::npos)
        value.resize(nul);
    if (bufferSize > 0 && value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

ProfileWrite ProfileFile::writeString(const std::string& section, const std::string& key,
                                      const std::string& value) {
    return writeStrings(section, {{key, value}});
}

ProfileWrite ProfileFile::writeStrings(const std::string& section,
                                       const std::vector<std::pair<std::string, std::string>>& entries) {
    return update([&](ProfileText& text) {
        for (const auto& [key, value] : entries)
            text.set(section, key, value);
        return true;
    });
}

ProfileWrite ProfileFile::update(const std::function<bool(ProfileText&)>& edit) {
    const fs::path file = resolvedFile(path_);
    std::error_code ignored;
    if (!file.parent_path().empty())
        fs::create_directories(file.parent_path(), ignored);
    const SettingsLock lock(file);
    if (!lock.error().empty())
        return {lock.error()};
    removeLeftoverStaging(file);

    struct stat existing {};
    const bool exists = ::stat(file.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return {"it is not a regular file"};
    std::string bytes, error;
    if (!readWhole(file, bytes, error))
        return {error};
    ProfileText text(bytes);
    if (!edit(text))
        return {};
    if (!text.refusal().empty())
        return {text.refusal()};
    return {replaceFile(file, exists ? &existing : nullptr, text.bytes())};
}

} // namespace dbsift
