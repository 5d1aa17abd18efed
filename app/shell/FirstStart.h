// SPDX-License-Identifier: MIT
#pragma once

#include "shell/AppPaths.h"

#include <string>

namespace dbsift {

/// At the very first start (no settings file yet): creates the two sample databases in the data
/// folder when they are missing and records them as the first Original and Modified recent
/// connections, remembered as the ones to preselect, so that a newcomer sees a comparison at
/// once. Returns what went wrong, or "" (also when this is not the first start).
std::string prepareFirstStart(const AppPaths& paths);

/// Records two database files as the first Original and Modified recent connections and as the
/// ones to preselect at the next start.
void chooseStartingDatabases(const AppPaths& paths, const std::string& originalFile,
                             const std::string& modifiedFile);

} // namespace dbsift
