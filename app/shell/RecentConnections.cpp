// SPDX-License-Identifier: MIT
#include "shell/RecentConnections.h"

#include "shell/SettingsText.h"

#include <sifkit/Credentials.h>

#include <algorithm>
#include <cctype>

namespace dbsift {

namespace {

std::vector<std::string> entriesOf(const ProfileText& text, const std::string& section) {
    std::vector<std::string> entries;
    for (int n = 0; n < INT16_MAX; ++n) {
        std::string entry = text.value(section, section + std::to_string(n)).value_or("");
        if (entry.empty())
            break;
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool anyContains(const std::vector<std::string>& entries, const std::string& text) {
    const std::string wanted = lowered(text);
    return std::any_of(entries.begin(), entries.end(), [&](const std::string& stored) {
        return lowered(stored).find(wanted) != std::string::npos;
    });
}

} // namespace

std::vector<std::string> readIniSection(const ProfileFile& profile, const std::string& section) {
    return entriesOf(profile.contents(), section);
}

int findFreeIniIndex(const ProfileFile& profile, const std::string& section) {
    return static_cast<int>(readIniSection(profile, section).size());
}

bool iniSectionContains(const ProfileFile& profile, const std::string& text, const std::string& section) {
    return anyContains(readIniSection(profile, section), text);
}

ProfileWrite addRecentConnection(ProfileFile& profile, const std::string& text, bool isOriginal) {
    const std::string section = isOriginal ? kOriginalConnectionsSection : kModifiedConnectionsSection;
    const std::string stored = sifkit::withoutPassword(text);
    if (stored.empty())
        return {};
    return profile.update([&](ProfileText& settings) {
        const std::vector<std::string> entries = entriesOf(settings, section);
        if (anyContains(entries, stored) || entries.size() >= INT16_MAX)
            return false;
        settings.set(section, section + std::to_string(entries.size()), stored);
        return true;
    });
}

} // namespace dbsift
