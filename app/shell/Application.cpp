// SPDX-License-Identifier: MIT
#include "shell/Application.h"

#include "shell/AppPaths.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dbsift {

const char* const kApplicationId = DBSIFT_APP_ID;

void configureApplicationNames() {
    QCoreApplication::setApplicationName("Dbsift");
    QCoreApplication::setOrganizationName("Dbsift");
    QCoreApplication::setApplicationVersion(DBSIFT_VERSION);
}

void configureApplication(QApplication& /*application*/) {
    configureApplicationNames();
    QApplication::setApplicationDisplayName("Dbsift");
    QGuiApplication::setDesktopFileName(kApplicationId);
    // The desktop's own style and palette: the windows take their colours from the palette.
}

void installTranslations(const std::filesystem::path& resourceFolder) {
    const QLocale locale;
    const QString folder = QString::fromStdString((resourceFolder / "translations").string());
    const std::pair<QString, QString> catalogues[] = {
        {QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {QStringLiteral("dbsift"), folder},
    };
    for (const auto& [name, place] : catalogues) {
        // Owned by the application object, so that it lives as long as the texts it translates.
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, QStringLiteral("_"), place))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

QIcon applicationIcon(const AppPaths& paths) {
    QIcon icon;
    const QDir theme(QString::fromStdString(paths.iconThemeFolder().string()));
    const QString file = QStringLiteral("apps/%1.png").arg(kApplicationId);
    for (const QString& size : theme.entryList({QStringLiteral("*x*")}, QDir::Dirs))
        if (theme.exists(size + '/' + file))
            icon.addFile(theme.filePath(size + '/' + file));
    return icon.isNull() ? QIcon::fromTheme(kApplicationId) : icon;
}

void installApplicationIcon(const AppPaths& paths) {
    QApplication::setWindowIcon(applicationIcon(paths));
}

} // namespace dbsift
