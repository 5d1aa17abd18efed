// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

namespace dbsift {

/// Where the application finds its own files and keeps the user's: built once at start-up,
/// before any window loads, and handed to the windows.
struct AppPaths {
    std::filesystem::path resourceFolder; ///< share/dbsift: help page, quick-start document, pictures
    std::filesystem::path iniFilePath;    ///< QX_SearchHistory.INI in the configuration folder
    std::filesystem::path helpFilePath;   ///< the help page
    std::filesystem::path dataFolder;     ///< sample databases and rollback files

    /// The per-user folders, as QStandardPaths names them: the configuration folder
    /// ($XDG_CONFIG_HOME, default ~/.config) for the settings file and dbsift in the data folder
    /// ($XDG_DATA_HOME, default ~/.local/share) for data.
    static AppPaths forUser(const std::filesystem::path& resourceFolder);

    /// The program's own files (share/dbsift): beside the program's folder as installed
    /// (bin/../share/dbsift) or built (app/../share/dbsift), else in the desktop's data folders
    /// ($XDG_DATA_DIRS, default /usr/local/share and /usr/share). The first place that holds the
    /// help page wins; with none, the place beside the program.
    static std::filesystem::path findResourceFolder(const std::filesystem::path& programFolder);

    std::filesystem::path quickStartPath() const { return resourceFolder / "dbsift_quickstart.html"; }
    std::filesystem::path databasePicturePath() const { return resourceFolder / "DATABASE.png"; }
    /// The hicolor icon theme of the same installation: share/icons/hicolor.
    std::filesystem::path iconThemeFolder() const {
        return resourceFolder.parent_path() / "icons" / "hicolor";
    }
    std::filesystem::path rollbackFolder() const { return dataFolder / "rollback"; }
};

} // namespace dbsift
