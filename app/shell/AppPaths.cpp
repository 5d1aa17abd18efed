#include "shell/AppPaths.h"

#include <cstdlib>

namespace dbsift {

namespace {

std::filesystem::path userFolder(const char* variable, const char* fallbackUnderHome) {
    if (const char* value = std::getenv(variable); value && *value)
        return value;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / fallbackUnderHome;
}

} // namespace

AppPaths AppPaths::forUser(const std::filesystem::path& applicationFolder) {
    AppPaths paths;
    paths.applicationFolder = applicationFolder;
    paths.iniFilePath = userFolder("XDG_CONFIG_HOME", ".config") / "QX_SearchHistory.INI";
    paths.helpFilePath = applicationFolder / "dbsift_help.html";
    paths.dataFolder = userFolder("XDG_DATA_HOME", ".local/share") / "dbsift";
    return paths;
}

} // namespace dbsift
