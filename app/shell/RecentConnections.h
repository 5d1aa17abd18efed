// SPDX-License-Identifier: MIT
#pragma once

#include "shell/ProfileFile.h"

#include <string>
#include <vector>

namespace dbsift {

inline constexpr const char* kOriginalConnectionsSection = "ORIGINAL_CONNECTIONS";
inline constexpr const char* kModifiedConnectionsSection = "MODIFIED_CONNECTIONS";

/// The entries of a recent-connection section: keys section + "0", section + "1", ... up to the
/// first key that is missing or empty, each exactly as it was written.
std::vector<std::string> readIniSection(const ProfileFile& profile, const std::string& section);

/// The first index whose key in section reads empty.
int findFreeIniIndex(const ProfileFile& profile, const std::string& section);

/// True when an entry of section (up to the first empty one) contains text, letter case ignored.
bool iniSectionContains(const ProfileFile& profile, const std::string& text, const std::string& section);

/// Records a connection string for a side unless an entry contains it already. The string is
/// stored without its password part (sifkit::withoutPassword); an empty string is not recorded. The
/// look-up and the write happen under one hold of the settings lock, so two instances never
/// write their entries under the same index.
ProfileWrite addRecentConnection(ProfileFile& profile, const std::string& text, bool isOriginal);

} // namespace dbsift
