// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QString>

#include <filesystem>

class QApplication;

namespace dbsift {

struct AppPaths;

/// The application's id on the desktop: the name of its desktop entry, metainfo and icon.
extern const char* const kApplicationId;

/// The application's name, version and organisation, which the settings store and the command
/// line use; needs no display.
void configureApplicationNames();

/// The names and the desktop entry the windows belong to. The style and palette stay the
/// desktop's.
void configureApplication(QApplication& application);

/// Loads the translations of the texts for the user's language, the application's from
/// share/dbsift/translations and Qt's own (dialog buttons and the like), where there are any.
/// English needs none.
void installTranslations(const std::filesystem::path& resourceFolder);

/// The application's icon in every size the installation has (share/icons/hicolor), else the
/// desktop's icon theme's; made the icon of every window.
QIcon applicationIcon(const AppPaths& paths);
void installApplicationIcon(const AppPaths& paths);

} // namespace dbsift
