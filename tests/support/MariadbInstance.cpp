// SPDX-License-Identifier: MIT
#include "MariadbInstance.h"

#include "TestEnvironment.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace sifkit::test {

namespace fs = std::filesystem;

namespace {

/// The last lines of the server's error log, for a failure message.
std::string errorLogTail(const fs::path& folder) {
    std::ifstream in(folder / "error.log");
    std::ostringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

} // namespace

std::string MariadbInstance::unavailableReason() {
#ifndef SIFKIT_TEST_MARIADB_DRIVER
    return "the MariaDB ODBC driver is not installed";
#else
    for (const char* program : {"mariadbd", "mariadb-install-db", "mariadb-admin", "mariadb"})
        if (installedProgram(program).empty())
            return std::string("MariaDB is not installed (no ") + program + ")";
    return {};
#endif
}

MariadbInstance MariadbInstance::start(const fs::path& folder) {
    MariadbInstance server(folder);
    // Every option is given here (--no-defaults): the machine's own configuration and data
    // stay out of it. As root the server must be told to stay root.
    const std::string asUser = geteuid() == 0 ? " --user=root" : "";
    const std::string data = shellQuoted((folder / "data").string());
    runCommand(installedProgram("mariadb-install-db") + " --no-defaults --datadir=" + data + asUser +
               " --auth-root-authentication-method=normal --skip-test-db");
    runCommand("(setsid " + installedProgram("mariadbd") + " --no-defaults --datadir=" + data + asUser +
               " --socket=" + shellQuoted(server.socket().string()) + " --skip-networking" +
               " --pid-file=" + shellQuoted((folder / "mariadbd.pid").string()) +
               " --log-error=" + shellQuoted((folder / "error.log").string()) +
               " --character-set-server=utf8mb4 --skip-log-bin --innodb-buffer-pool-size=64M" +
               " --innodb-flush-log-at-trx-commit=0 --innodb-doublewrite=0 --innodb-flush-method=nosync" +
               " </dev/null >" + shellQuoted((folder / "console.log").string()) + " 2>&1 &)");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (true) {
        try {
            runCommand(server.admin() + " --connect-timeout=2 ping");
            return server;
        } catch (const std::exception&) {
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("the MariaDB server did not start:\n" + errorLogTail(folder));
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
}

MariadbInstance MariadbInstance::fromState(const ServerState& state) {
    auto it = state.find("folder");
    if (it == state.end())
        throw std::runtime_error("the MariaDB server's state lacks its folder");
    return MariadbInstance(it->second);
}

ServerState MariadbInstance::state() const {
    return {{"available", "1"}, {"folder", folder_.string()}, {"socket", socket().string()}};
}

void MariadbInstance::stop() const {
    // mariadb-admin waits until the server has removed its process file, that is has ended.
    runCommand(admin() + " shutdown");
}

std::string MariadbInstance::client(const std::string& database) const {
    return installedProgram("mariadb") + " --no-defaults --socket=" + shellQuoted(socket().string()) +
           " --user=root --default-character-set=utf8mb4" +
           (database.empty() ? std::string() : " --database=" + shellQuoted(database));
}

std::string MariadbInstance::admin() const {
    return installedProgram("mariadb-admin") + " --no-defaults --socket=" + shellQuoted(socket().string()) +
           " --user=root";
}

} // namespace sifkit::test
