// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sifkit::test {

/// A temporary folder removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

/// One data source for odbc.ini: [name] with Driver= and further attributes.
struct DataSource {
    std::string name;
    std::string driver;
    std::vector<std::pair<std::string, std::string>> attributes;
};

/// The ODBC configuration the tests run under: a temporary odbcinst.ini that registers the
/// SQLite 3, MDB Tools (and, when installed, PostgreSQL and MariaDB) drivers, an empty system odbc.ini and a
/// user odbc.ini, selected through ODBCSYSINI and ODBCINI before the first ODBC call.
class OdbcConfig {
public:
    /// Installs the configuration for the whole test process (once).
    static OdbcConfig& instance();

    /// Rewrites the user odbc.ini with these data sources, in this order.
    void setUserDataSources(const std::vector<DataSource>& sources);
    /// Adds one data source at the end of the user odbc.ini.
    void addUserDataSource(const DataSource& source);
    /// Takes a data source of that name out of the user odbc.ini.
    void removeUserDataSource(const std::string& name);

    const std::filesystem::path& folder() const { return dir_.path(); }

private:
    OdbcConfig();
    TempDir dir_;
    std::vector<DataSource> userSources_;
};

/// The path of the SQLite ODBC driver library, as found at build time.
const char* sqliteDriverPath();

/// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path: how users name a database file.
std::string fileConnectionString(const std::string& path);

/// Creates an SQLite database file by running an SQL script through the sqlite3 shell.
void createSqliteDatabase(const std::string& path, const std::string& script);

/// The sqlite3 shell's output of a query on a database file (rows on lines, fields split by
/// "|", Null shown as "NULL"). Reads the file as another program sees it.
std::string sqliteQuery(const std::string& path, const std::string& sql);

/// Runs a shell command and returns what it printed (standard output and error); throws with
/// that text when the command fails.
std::string runCommand(const std::string& command);

/// The text quoted for the shell.
std::string shellQuoted(const std::string& text);

/// The text of a fixture script kept in tests/fixtures.
std::string fixtureScript(const std::string& name);

} // namespace sifkit::test
