// SPDX-License-Identifier: MIT
#include "shell/FirstStart.h"

#include "Samples.h"
#include "shell/ProfileFile.h"
#include "shell/RecentConnections.h"

#include <sstream>

namespace dbsift {

std::string prepareFirstStart(const AppPaths& paths) {
    std::error_code error;
    if (std::filesystem::exists(paths.iniFilePath, error))
        return "";
    try {
        std::ostringstream ignored;
        samples::createSamples(paths.dataFolder, ignored);
    } catch (const std::exception& failure) {
        return failure.what();
    }
    chooseStartingDatabases(paths, (paths.dataFolder / "original.db").string(),
                            (paths.dataFolder / "modified.db").string());
    return "";
}

void chooseStartingDatabases(const AppPaths& paths, const std::string& originalFile,
                             const std::string& modifiedFile) {
    ProfileFile settings(paths.iniFilePath);
    const std::string prefix = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
    addRecentConnection(settings, prefix + originalFile, true);
    addRecentConnection(settings, prefix + modifiedFile, false);
    settings.writeString("frmMain", "lLastSelectedOrigConnIndex", "0");
    settings.writeString("frmMain", "lLastSelectedmodConnIndex", "0");
}

} // namespace dbsift
