// SPDX-License-Identifier: MIT
#include "AppTestEnvironment.h"

#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QProcess>
#include <QSettings>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace dbsift::test {

namespace {

QTemporaryDir& odbcFolder() {
    static QTemporaryDir folder;
    return folder;
}

void writeText(const QString& path, const std::string& text) {
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << text;
}

std::string runSqlite(const std::string& path, const std::string& input, const QStringList& extra = {}) {
    QProcess shell;
    shell.start(SIFKIT_TEST_SQLITE_SHELL, QStringList(extra) << QString::fromStdString(path));
    shell.write(QByteArray::fromStdString(input));
    shell.closeWriteChannel();
    if (!shell.waitForFinished(30000) || shell.exitCode() != 0)
        throw std::runtime_error("sqlite3 failed on " + path + ": " +
                                 shell.readAllStandardError().toStdString());
    return shell.readAllStandardOutput().toStdString();
}

} // namespace

void initialiseAppTestProcess() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString folder = odbcFolder().path();
    writeText(folder + "/odbcinst.ini", std::string("[SQLite3]\nDescription=SQLite 3 ODBC driver\nDriver=") +
                                            SIFKIT_TEST_SQLITE_DRIVER + "\n");
    writeText(folder + "/odbc.ini", "");
    writeText(folder + "/user-odbc.ini", "");
    qputenv("ODBCSYSINI", folder.toUtf8());
    qputenv("ODBCINI", (folder + "/user-odbc.ini").toUtf8());
}

void writeSqliteDataSources(const std::vector<std::pair<std::string, std::string>>& nameAndPath) {
    std::string text;
    for (const auto& [name, path] : nameAndPath)
        text += "[" + name + "]\nDriver=SQLite3\nDatabase=" + path + "\n\n";
    writeText(odbcFolder().path() + "/user-odbc.ini", text);
}

AppSandbox::AppSandbox() {
    const QString config = dir_.filePath("config");
    const QString data = dir_.filePath("data");
    QDir().mkpath(config);
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_DATA_HOME", data.toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings().clear();
    paths_ = AppPaths::forUser(DBSIFT_RESOURCE_FOLDER);
}

AppSandbox::~AppSandbox() {
    stop();
}

std::string AppSandbox::createDatabase(const std::string& name, const std::string& script) const {
    const std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
    runSqlite(path, script);
    return path;
}

std::string AppSandbox::fileConnection(const std::string& path) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path;
}

void AppSandbox::writeSettings(const std::string& text) const {
    writeText(QString::fromStdString(paths_.iniFilePath.string()), text);
}

std::string AppSandbox::settingsText() const {
    std::ifstream in(paths_.iniFilePath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

frmMainMDI& AppSandbox::start(bool keepHint, const StartingDatabases& named) {
    stop();
    if (!keepHint) {
        ProfileFile settings(paths_.iniFilePath);
        settings.writeString("frmMain", "DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", "False");
    }
    frame_ = std::make_unique<frmMainMDI>(paths_, prompter_);
    frame_->mainForm().setStartingDatabases(named);
    frame_->show();
    if (!QTest::qWaitForWindowExposed(frame_.get()))
        throw std::runtime_error("the frame window was never exposed");
    frame_->MDIForm_Load();
    frame_->setWindowState(Qt::WindowNoState);
    frame_->resize(1280, 800);
    QCoreApplication::processEvents();
    return *frame_;
}

frmMain& AppSandbox::form() {
    return frame_->mainForm();
}

void AppSandbox::stop() {
    if (frame_) {
        frame_->close();
        frame_.reset();
    }
}

void whenShown(const QString& objectName, std::function<void(QWidget&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, objectName, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == objectName && widget->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(*widget);
                return;
            }
        }
    });
    timer->start();
}

bool compareDataQuietly(frmMain& form, const std::string& table, const std::string& fields) {
    form.getApplicationVariables().setSelectedTableName(table);
    return form.runDataCompare(table, fields);
}

std::string sqliteQuery(const std::string& path, const std::string& sql) {
    return runSqlite(path, sql + ";\n");
}

} // namespace dbsift::test
