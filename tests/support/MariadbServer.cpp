// SPDX-License-Identifier: MIT
#include "MariadbServer.h"

#include <filesystem>
#include <fstream>

namespace sifkit::test {

namespace fs = std::filesystem;

namespace {
std::string failureReason;

/// The tests' SQL is written for PostgreSQL and SQLite too: names in double quotes, texts
/// joined with ||.
const std::string portableMode =
    "SET SESSION sql_mode = CONCAT(@@sql_mode, ',ANSI_QUOTES,PIPES_AS_CONCAT');\n";
} // namespace

MariadbServer* MariadbServer::instance() {
    static std::unique_ptr<MariadbServer> server = []() -> std::unique_ptr<MariadbServer> {
        OdbcConfig::instance();
        auto running = RunningServer<MariadbInstance>::find("mariadb", failureReason);
        return running ? std::unique_ptr<MariadbServer>(new MariadbServer(std::move(*running))) : nullptr;
    }();
    return server.get();
}

const std::string& MariadbServer::why() {
    return failureReason;
}

MariadbServer::~MariadbServer() {
    try {
        if (server_.ownFolder) {
            mariadb().stop();
            return;
        }
        for (const std::string& database : databases())
            runCommand(mariadb().client("") + " -e " + shellQuoted("DROP DATABASE IF EXISTS " + database));
    } catch (...) {
    }
}

std::string MariadbServer::createDatabase(const std::string& script) {
    const std::string name = newDatabaseName();
    runCommand(mariadb().client("") + " -e " + shellQuoted("CREATE DATABASE " + name));
    const fs::path file = OdbcConfig::instance().folder() / (name + ".sql");
    std::ofstream(file) << portableMode << script;
    runCommand(mariadb().client(name) + " < " + shellQuoted(file.string()));
    fs::remove(file);
    OdbcConfig::instance().addUserDataSource({dataSourceName(name),
                                              "MariaDB Unicode",
                                              {{"Server", "localhost"},
                                               {"Socket", mariadb().socket().string()},
                                               {"Database", name},
                                               {"User", "root"},
                                               {"Charset", "utf8mb4"}}});
    return name;
}

std::string MariadbServer::query(const std::string& database, const std::string& sql) const {
    std::string rows = runCommand(mariadb().client(database) + " --batch --raw --skip-column-names -e " +
                                  shellQuoted(portableMode + sql));
    for (char& c : rows)
        if (c == '\t')
            c = '|';
    return rows;
}

void MariadbServer::runScript(const std::string& database, const std::string& path) const {
    runCommand(mariadb().client(database) + " < " + shellQuoted(path));
}

} // namespace sifkit::test
