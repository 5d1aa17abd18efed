// SPDX-License-Identifier: MIT
#include "TestEnvironment.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace sifkit::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "sifkit-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

namespace {

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

/// Runs a shell command with text on its standard input; returns its standard output.
std::string runWithInput(const std::string& command, const std::string& input, const fs::path& inputFile) {
    writeFile(inputFile, input);
    try {
        std::string output = runCommand(command + " < " + shellQuoted(inputFile.string()));
        fs::remove(inputFile);
        return output;
    } catch (...) {
        fs::remove(inputFile);
        throw;
    }
}

} // namespace

std::string runCommand(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    if (pclose(pipe) != 0)
        throw std::runtime_error(command + " failed: " + output);
    return output;
}

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

OdbcConfig::OdbcConfig() {
    std::string drivers =
        std::string("[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=") + sqliteDriverPath() + "\n";
#ifdef SIFKIT_TEST_PGSQL_DRIVER
    drivers +=
        std::string("\n[PostgreSQL Unicode]\nDescription=PostgreSQL ODBC driver (Unicode version)\nDriver=") +
        SIFKIT_TEST_PGSQL_DRIVER + "\n";
#endif
    // Access data sources are read by the layer itself: the driver library is never loaded.
    drivers += "\n[MDBTools]\nDescription=MDB Tools ODBC driver\nDriver=libmdbodbc.so\n";
#ifdef SIFKIT_TEST_MARIADB_DRIVER
    drivers += std::string("\n[MariaDB Unicode]\nDescription=MariaDB Connector/ODBC\nDriver=") +
               SIFKIT_TEST_MARIADB_DRIVER + "\n";
#endif
    writeFile(dir_.path() / "odbcinst.ini", drivers);
    writeFile(dir_.path() / "odbc.ini", "");
    writeFile(dir_.path() / "user-odbc.ini", "");
    setenv("ODBCSYSINI", dir_.path().c_str(), 1);
    setenv("ODBCINI", (dir_.path() / "user-odbc.ini").c_str(), 1);
}

OdbcConfig& OdbcConfig::instance() {
    static OdbcConfig config;
    return config;
}

void OdbcConfig::addUserDataSource(const DataSource& source) {
    auto sources = userSources_;
    sources.push_back(source);
    setUserDataSources(sources);
}

void OdbcConfig::removeUserDataSource(const std::string& name) {
    auto sources = userSources_;
    std::erase_if(sources, [&](const DataSource& source) { return source.name == name; });
    setUserDataSources(sources);
}

void OdbcConfig::setUserDataSources(const std::vector<DataSource>& sources) {
    userSources_ = sources;
    std::string text;
    for (const auto& source : sources) {
        text += "[" + source.name + "]\nDriver=" + source.driver + "\n";
        for (const auto& [key, value] : source.attributes)
            text += key + "=" + value + "\n";
        text += "\n";
    }
    writeFile(dir_.path() / "user-odbc.ini", text);
}

const char* sqliteDriverPath() {
    return SIFKIT_TEST_SQLITE_DRIVER;
}

std::string fileConnectionString(const std::string& path) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path;
}

void createSqliteDatabase(const std::string& path, const std::string& script) {
    runWithInput(std::string(SIFKIT_TEST_SQLITE_SHELL) + " -batch -bail " + shellQuoted(path), script,
                 path + ".sql");
}

std::string sqliteQuery(const std::string& path, const std::string& sql) {
    return runWithInput(std::string(SIFKIT_TEST_SQLITE_SHELL) + " -batch -noheader -nullvalue NULL " +
                            shellQuoted(path),
                        sql + ";\n", path + ".query.sql");
}

std::string fixtureScript(const std::string& name) {
    std::ifstream in(fs::path(SIFKIT_TEST_FIXTURES) / name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace sifkit::test
