#pragma once

#include <filesystem>

namespace dbsift {

/// Where the application finds its own files and keeps the user's: built once at start-up,
/// before any window loads, and handed to the windows.
struct AppPaths {
    std::filesystem::path applicationFolder; ///< help page, quick-start document, tree picture
    std::filesystem::path iniFilePath;       ///< QX_SearchHistory.INI in the configuration folder
    std::filesystem::path helpFilePath;      ///< the help page
    std::filesystem::path dataFolder;        ///< sample databases and rollback files

    /// The per-user folders: $XDG_CONFIG_HOME (default ~/.config) for the settings file and
    /// $XDG_DATA_HOME/dbsift (default ~/.local/share/dbsift) for data.
    static AppPaths forUser(const std::filesystem::path& applicationFolder);

    std::filesystem::path quickStartPath() const { return applicationFolder / "dbsift_quickstart.html"; }
    std::filesystem::path databasePicturePath() const { return applicationFolder / "DATABASE.png"; }
    std::filesystem::path rollbackFolder() const { return dataFolder / "rollback"; }
};

} // namespace dbsift
