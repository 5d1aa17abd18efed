// SPDX-License-Identifier: MIT
// Where the program finds its own files, as built and as installed, and how it presents itself
// to the desktop: its desktop entry's name and its icon in every size the installation has.
#include "shell/Application.h"
#include "AppTestMain.h"
#include "shell/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QStyle>
#include <QTemporaryDir>

using namespace dbsift;

namespace {

/// Sets an environment variable for its own lifetime.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QString& value) : name_(name), before_(qgetenv(name)) {
        qputenv(name, value.toUtf8());
    }
    ~ScopedVariable() { qputenv(name_, before_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    QByteArray before_;
};

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void theDesktopsStyleIsKept() {
        // Whatever style the desktop gives the program, setting the program up keeps it.
        QApplication::setStyle(QStringLiteral("Windows"));
        const QString desktops = QApplication::style()->name();
        configureApplication(*qApp);
        QCOMPARE(QApplication::style()->name(), desktops);
        QApplication::setStyle(QStringLiteral("Fusion"));
    }

    void theBuildTreeIsLaidOutAsAnInstallation() {
        // The program is built in app/, its files in share/dbsift beside it.
        const std::filesystem::path resources = DBSIFT_RESOURCE_FOLDER;
        QCOMPARE(
            QString::fromStdString(AppPaths::findResourceFolder(resources / ".." / ".." / "app").string()),
            QString::fromStdString(resources.lexically_normal().string()));
        const AppPaths paths = AppPaths::forUser(resources);
        for (const auto& file : {paths.helpFilePath, paths.quickStartPath(), paths.databasePicturePath()})
            QVERIFY2(std::filesystem::exists(file), file.c_str());
    }

    void anInstalledTreeIsFoundBesideTheProgramFirstThenInTheDesktopsDataFolders() {
        QTemporaryDir root;
        touch(root.filePath("usr/share/dbsift/dbsift_help.html"));
        QDir().mkpath(root.filePath("usr/bin"));
        QCOMPARE(QString::fromStdString(
                     AppPaths::findResourceFolder(root.filePath("usr/bin").toStdString()).string()),
                 root.filePath("usr/share/dbsift"));

        // A program copied elsewhere finds the files of the data folders ($XDG_DATA_DIRS).
        QTemporaryDir elsewhere;
        const QByteArray before = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", root.filePath("usr/share").toUtf8());
        const std::filesystem::path found =
            AppPaths::findResourceFolder(elsewhere.filePath("bin").toStdString());
        qputenv("XDG_DATA_DIRS", before);
        QCOMPARE(QString::fromStdString(found.string()), root.filePath("usr/share/dbsift"));
        // Found nowhere: beside the program, where the help page's absence is told when it is asked for.
        QCOMPARE(QString::fromStdString(
                     AppPaths::findResourceFolder(elsewhere.filePath("bin").toStdString()).string()),
                 elsewhere.filePath("share/dbsift"));
    }

    void theWindowsBelongToTheDesktopEntryAndCarryItsIconInEverySize() {
        QCOMPARE(QGuiApplication::desktopFileName(), QString("org.dbsift.dbsift"));
        const QIcon icon = applicationIcon(AppPaths::forUser(DBSIFT_RESOURCE_FOLDER));
        QList<int> sizes;
        for (const QSize& size : icon.availableSizes())
            sizes << size.width();
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, (QList<int>{16, 22, 24, 32, 48, 64, 128, 256}));
    }
};

DBSIFT_APP_TEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
