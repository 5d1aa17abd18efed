// SPDX-License-Identifier: MIT
#include "shell/AppPaths.h"

#include <QStandardPaths>

namespace dbsift {

namespace {

constexpr const char* kHelpPage = "dbsift_help.html";

std::filesystem::path standardFolder(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location).toStdString();
}

} // namespace

AppPaths AppPaths::forUser(const std::filesystem::path& resourceFolder) {
    AppPaths paths;
    paths.resourceFolder = resourceFolder;
    paths.iniFilePath = standardFolder(QStandardPaths::GenericConfigLocation) / "QX_SearchHistory.INI";
    paths.helpFilePath = resourceFolder / kHelpPage;
    paths.dataFolder = standardFolder(QStandardPaths::GenericDataLocation) / "dbsift";
    return paths;
}

std::filesystem::path AppPaths::findResourceFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path besideProgram =
        (programFolder / ".." / "share" / "dbsift").lexically_normal();
    std::error_code error;
    if (std::filesystem::exists(besideProgram / kHelpPage, error))
        return besideProgram;
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("dbsift/") + kHelpPage);
    if (!installed.isEmpty())
        return std::filesystem::path(installed.toStdString()).parent_path();
    return besideProgram;
}

} // namespace dbsift
