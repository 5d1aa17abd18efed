// SPDX-License-Identifier: MIT
#include "shell/ProfileFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <vector>

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

std::vector<std::string> readLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
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

/// Splits a "key=value" line; lines without "=" hold no value.
std::optional<std::pair<std::string_view, std::string_view>> keyValueOf(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return std::pair{trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

} // namespace

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize) const {
    std::string value = defaultValue;
    bool inSection = false;
    for (const std::string& line : readLines(path_)) {
        if (auto name = sectionOf(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto pair = keyValueOf(line); pair && sameName(pair->first, key)) {
            value = std::string(pair->second);
            break;
        }
    }
    if (const auto nul = value.find('\0'); nul != std::string::npos)
        value.resize(nul);
    if (bufferSize > 0 && value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

bool ProfileFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    return writeStrings(section, {{key, value}});
}

namespace {

/// Puts key=value into section of lines: in place when the key is there, else after the
/// section's last value line, else in a new section at the end.
void setValue(std::vector<std::string>& lines, const std::string& section, const std::string& key,
              const std::string& value) {
    const std::string entry = key + "=" + value;
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> insertAt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = sectionOf(lines[i])) {
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
        if (!trimmed(lines[i]).empty())
            insertAt = i + 1;
        if (auto pair = keyValueOf(lines[i]); pair && sameName(pair->first, key)) {
            lines[i] = entry;
            return;
        }
    }
    if (sectionLine) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*insertAt), entry);
    } else {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }
}

} // namespace

bool ProfileFile::writeStrings(const std::string& section,
                               const std::vector<std::pair<std::string, std::string>>& entries) {
    // A line break would end the value early and turn the rest into lines of their own.
    for (const auto& [key, value] : entries)
        if (key.find_first_of("\r\n") != std::string::npos ||
            value.find_first_of("\r\n") != std::string::npos)
            return false;
    std::vector<std::string> lines = readLines(path_);
    for (const auto& [key, value] : entries)
        setValue(lines, section, key, value);

    std::error_code error;
    if (!path_.parent_path().empty())
        fs::create_directories(path_.parent_path(), error);
    const fs::path partial =
        path_.parent_path() / ("." + path_.filename().string() + ".tmp-" + std::to_string(getpid()));
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines)
            out << line << "\r\n";
        out.flush();
        if (!out) {
            out.close();
            fs::remove(partial, error);
            return false;
        }
    }
    fs::rename(partial, path_, error);
    if (error) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        return false;
    }
    return true;
}

} // namespace dbsift
