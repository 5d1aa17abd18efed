// SPDX-License-Identifier: MIT
#include "PostgresServer.h"

#include <filesystem>
#include <fstream>

namespace sifkit::test {

namespace fs = std::filesystem;

namespace {
std::string failureReason;
} // namespace

PostgresServer* PostgresServer::instance() {
    static std::unique_ptr<PostgresServer> server = []() -> std::unique_ptr<PostgresServer> {
        OdbcConfig::instance();
        auto running = RunningServer<PostgresCluster>::find("postgres", failureReason);
        return running ? std::unique_ptr<PostgresServer>(new PostgresServer(std::move(*running))) : nullptr;
    }();
    return server.get();
}

const std::string& PostgresServer::why() {
    return failureReason;
}

PostgresServer::~PostgresServer() {
    try {
        if (server_.ownFolder) {
            cluster().stop();
            return;
        }
        for (const std::string& database : databases())
            runCommand(cluster().psql("postgres") + " -c " +
                       shellQuoted("DROP DATABASE IF EXISTS " + database + " WITH (FORCE)"));
    } catch (...) {
    }
}

std::string PostgresServer::createDatabase(const std::string& script) {
    const std::string name = newDatabaseName();
    runCommand(cluster().psql("postgres") + " -c " + shellQuoted("CREATE DATABASE " + name));
    const fs::path file = OdbcConfig::instance().folder() / (name + ".sql");
    std::ofstream(file) << script;
    runCommand(cluster().psql(name) + " -f " + shellQuoted(file.string()));
    fs::remove(file);
    OdbcConfig::instance().addUserDataSource({dataSourceName(name),
                                              "PostgreSQL Unicode",
                                              {{"Servername", "127.0.0.1"},
                                               {"Port", std::to_string(cluster().port())},
                                               {"Database", name},
                                               {"Username", "postgres"}}});
    return name;
}

std::string PostgresServer::query(const std::string& database, const std::string& sql) const {
    return runCommand(cluster().psql(database) + " -A -t -F '|' -P null=NULL -c " + shellQuoted(sql));
}

void PostgresServer::runScript(const std::string& database, const std::string& path) const {
    runCommand(cluster().psql(database) + " -f " + shellQuoted(path));
}

} // namespace sifkit::test
