// SPDX-License-Identifier: MIT
#pragma once

#include "ScriptedPrompter.h"
#include "shell/AppPaths.h"
#include "shell/CommandLine.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>

namespace dbsift {
class frmMainMDI;
class frmMain;
} // namespace dbsift

namespace dbsift::test {

/// Process-wide set-up of an application test: the offscreen platform, a fixed style and font,
/// and an ODBC configuration of its own (odbcinst.ini registering the SQLite driver as
/// "SQLite3", a user odbc.ini the tests may fill) selected before the first ODBC call.
void initialiseAppTestProcess();

/// Writes the user odbc.ini of the test process: one [name] section per data source with
/// Driver=SQLite3 and Database=path.
void writeSqliteDataSources(const std::vector<std::pair<std::string, std::string>>& nameAndPath);

/// A fresh user for one test: empty configuration and data folders (XDG_CONFIG_HOME,
/// XDG_DATA_HOME, QSettings), the paths the application derives from them, and a scripted
/// prompter. Database files made with createDatabase live in the same temporary folder.
class AppSandbox {
public:
    AppSandbox();
    ~AppSandbox();

    const AppPaths& paths() const { return paths_; }
    ScriptedPrompter& prompter() { return prompter_; }
    QString folder() const { return dir_.path(); }

    /// Creates an SQLite database file from an SQL script (through the sqlite3 shell); returns
    /// its path.
    std::string createDatabase(const std::string& name, const std::string& script) const;
    /// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path.
    static std::string fileConnection(const std::string& path);
    /// Writes a settings file with exactly this text.
    void writeSettings(const std::string& text) const;
    /// The settings file as text ("" when missing).
    std::string settingsText() const;

    /// A frame with its comparison window, created and (unless told otherwise) loaded as at
    /// start-up, shown offscreen at 1280x800, with the databases named on a command line if any.
    /// The hint of the data-compare mode is turned off first unless keepHint.
    frmMainMDI& start(bool keepHint = false, const StartingDatabases& named = {});
    frmMainMDI* frame() { return frame_.get(); }
    frmMain& form();
    /// Closes and destroys the frame (its settings are saved as at the end of a session).
    void stop();

private:
    QTemporaryDir dir_;
    AppPaths paths_;
    ScriptedPrompter prompter_;
    std::unique_ptr<frmMainMDI> frame_;
};

/// Acts on the top-level window named objectName as soon as it is shown (a modal dialog opened
/// by what the test does next), once; polls every few milliseconds until then.
void whenShown(const QString& objectName, std::function<void(QWidget&)> act);

/// Runs a data comparison of a table over a field list ("[a],[b]") as the data view does, and
/// makes it the selected table, without showing anything.
bool compareDataQuietly(frmMain& form, const std::string& table, const std::string& fields);

/// The sqlite3 shell's output of a query on a database file.
std::string sqliteQuery(const std::string& path, const std::string& sql);

} // namespace dbsift::test
