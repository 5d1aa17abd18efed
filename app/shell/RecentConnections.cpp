// SPDX-License-Identifier: MIT
#include "shell/RecentConnections.h"

#include <sifkit/Credentials.h>

#include <algorithm>
#include <cctype>

namespace dbsift {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string entry(const ProfileFile& profile, const std::string& section, int index) {
    return profile.readString(section, section + std::to_string(index), "", kRecentBuffer);
}

} // namespace

std::vector<std::string> readIniSection(const ProfileFile& profile, const std::string& section) {
    std::vector<std::string> entries;
    for (int n = 0; n < INT16_MAX; ++n) {
        std::string text = entry(profile, section, n);
        if (text.empty())
            break;
        entries.push_back(std::move(text));
    }
    return entries;
}

int findFreeIniIndex(const ProfileFile& profile, const std::string& section) {
    int n = 0;
    while (n < INT16_MAX && !entry(profile, section, n).empty())
        ++n;
    return n;
}

bool iniSectionContains(const ProfileFile& profile, const std::string& text, const std::string& section) {
    const std::string wanted = lowered(text);
    for (const std::string& stored : readIniSection(profile, section))
        if (lowered(stored).find(wanted) != std::string::npos)
            return true;
    return false;
}

void addRecentConnection(ProfileFile& profile, const std::string& text, bool isOriginal) {
    const std::string section = isOriginal ? kOriginalConnectionsSection : kModifiedConnectionsSection;
    const std::string stored = sifkit::withoutPassword(text);
    if (stored.empty() || iniSectionContains(profile, stored, section))
        return;
    const int n = findFreeIniIndex(profile, section);
    if (n < INT16_MAX)
        profile.writeString(section, section + std::to_string(n), stored);
}

} // namespace dbsift
