// SPDX-License-Identifier: MIT
#include "PostgresCluster.h"

#include "TestEnvironment.h"

#include <unistd.h>

#include <stdexcept>

namespace sifkit::test {

namespace fs = std::filesystem;

std::string PostgresCluster::installedBinaries() {
    std::error_code ec;
    std::string best;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec))
        if (fs::exists(entry.path() / "bin" / "initdb") && entry.path().string() > best)
            best = entry.path().string();
    return best.empty() ? best : best + "/bin";
}

std::string PostgresCluster::unavailableReason() {
#ifndef SIFKIT_TEST_PGSQL_DRIVER
    return "the PostgreSQL ODBC driver is not installed";
#else
    return installedBinaries().empty() ? "PostgreSQL is not installed" : "";
#endif
}

PostgresCluster PostgresCluster::start(const fs::path& folder) {
    const bool asRoot = geteuid() == 0;
    if (asRoot)
        handFolderTo(folder, "postgres");
    PostgresCluster cluster(installedBinaries(), folder, 0, asRoot);
    const std::string data = (folder / "data").string();
    runCommand(cluster.serverCommand("initdb") + " -D " + shellQuoted(data) +
               " -A trust -U postgres -E UTF8 --locale=C.UTF-8");
    // Another process may take the free port before the server does: try a few.
    for (int attempt = 1;; ++attempt) {
        cluster.port_ = freeLoopbackPort();
        try {
            runCommand(cluster.serverCommand("pg_ctl") + " -D " + shellQuoted(data) + " -l " +
                       shellQuoted((folder / "server.log").string()) + " -w -o " +
                       shellQuoted("-p " + std::to_string(cluster.port_) + " -k " + folder.string() +
                                   " -c listen_addresses=127.0.0.1 -c fsync=off") +
                       " start");
            return cluster;
        } catch (const std::exception&) {
            if (attempt == 3)
                throw;
        }
    }
}

PostgresCluster PostgresCluster::fromState(const ServerState& state) {
    auto value = [&](const char* key) {
        auto it = state.find(key);
        if (it == state.end())
            throw std::runtime_error(std::string("the PostgreSQL server's state lacks ") + key);
        return it->second;
    };
    return PostgresCluster(value("binaries"), value("folder"), std::stoi(value("port")),
                           value("asRoot") == "1");
}

ServerState PostgresCluster::state() const {
    return {{"available", "1"},
            {"binaries", binaries_},
            {"folder", folder_.string()},
            {"port", std::to_string(port_)},
            {"asRoot", asRoot_ ? "1" : "0"}};
}

void PostgresCluster::stop() const {
    runCommand(serverCommand("pg_ctl") + " -D " + shellQuoted((folder_ / "data").string()) +
               " -m immediate -w stop");
}

std::string PostgresCluster::psql(const std::string& database) const {
    return binaries_ + "/psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p " + std::to_string(port_) +
           " -U postgres -d " + shellQuoted(database);
}

std::string PostgresCluster::serverCommand(const std::string& program) const {
    std::string command = binaries_ + "/" + program;
    return asRoot_ ? "runuser -u postgres -- " + command : command;
}

} // namespace sifkit::test
