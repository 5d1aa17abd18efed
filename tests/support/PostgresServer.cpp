// SPDX-License-Identifier: MIT
#include "PostgresServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace sifkit::test {

namespace fs = std::filesystem;

namespace {

std::string failureReason;

/// The newest installed PostgreSQL's program folder, "" when there is none.
std::string findBinaries() {
    std::error_code ec;
    std::string best;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec))
        if (fs::exists(entry.path() / "bin" / "initdb") && entry.path().string() > best)
            best = entry.path().string();
    return best.empty() ? best : best + "/bin";
}

int freeLoopbackPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

} // namespace

PostgresServer* PostgresServer::instance() {
    static std::unique_ptr<PostgresServer> server = []() -> std::unique_ptr<PostgresServer> {
#ifndef SIFKIT_TEST_PGSQL_DRIVER
        failureReason = "the PostgreSQL ODBC driver is not installed";
        return nullptr;
#else
        std::string binaries = findBinaries();
        if (binaries.empty()) {
            failureReason = "PostgreSQL is not installed";
            return nullptr;
        }
        try {
            OdbcConfig::instance();
            return std::unique_ptr<PostgresServer>(new PostgresServer(binaries, geteuid() == 0));
        } catch (const std::exception& error) {
            failureReason = error.what();
            return nullptr;
        }
#endif
    }();
    return server.get();
}

const std::string& PostgresServer::why() {
    return failureReason;
}

PostgresServer::PostgresServer(std::string binaries, bool asRoot)
    : binaries_(std::move(binaries)), asRoot_(asRoot) {
    if (asRoot_) {
        const passwd* user = getpwnam("postgres");
        if (!user)
            throw std::runtime_error("no postgres user to run the server as");
        if (chown(dir_.path().c_str(), user->pw_uid, user->pw_gid) != 0)
            throw std::runtime_error("cannot hand the cluster folder to postgres");
    }
    const std::string data = (dir_.path() / "data").string();
    runCommand(serverCommand("initdb") + " -D " + shellQuoted(data) +
               " -A trust -U postgres -E UTF8 --locale=C.UTF-8");
    // Another process may take the free port before the server does: try a few.
    for (int attempt = 1;; ++attempt) {
        port_ = freeLoopbackPort();
        try {
            runCommand(serverCommand("pg_ctl") + " -D " + shellQuoted(data) + " -l " +
                       shellQuoted((dir_.path() / "server.log").string()) + " -w -o " +
                       shellQuoted("-p " + std::to_string(port_) + " -k " + dir_.path().string() +
                                   " -c listen_addresses=127.0.0.1 -c fsync=off") +
                       " start");
            break;
        } catch (const std::exception&) {
            if (attempt == 3)
                throw;
        }
    }
    running_ = true;
}

PostgresServer::~PostgresServer() {
    if (running_) {
        try {
            runCommand(serverCommand("pg_ctl") + " -D " + shellQuoted((dir_.path() / "data").string()) +
                       " -m immediate -w stop");
        } catch (...) {
        }
    }
}

std::string PostgresServer::serverCommand(const std::string& program) const {
    std::string command = binaries_ + "/" + program;
    return asRoot_ ? "runuser -u postgres -- " + command : command;
}

std::string PostgresServer::psql(const std::string& database) const {
    return binaries_ + "/psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p " + std::to_string(port_) +
           " -U postgres -d " + shellQuoted(database);
}

std::string PostgresServer::createDatabase(const std::string& script) {
    const std::string name = "db" + std::to_string(++databases_);
    runCommand(psql("postgres") + " -c " + shellQuoted("CREATE DATABASE " + name));
    const fs::path file = dir_.path() / (name + ".sql");
    std::ofstream(file) << script;
    runCommand(psql(name) + " -f " + shellQuoted(file.string()));
    fs::remove(file);
    OdbcConfig::instance().addUserDataSource({"pg_" + name + "_" + std::to_string(getpid()),
                                              "PostgreSQL Unicode",
                                              {{"Servername", "127.0.0.1"},
                                               {"Port", std::to_string(port_)},
                                               {"Database", name},
                                               {"Username", "postgres"}}});
    return name;
}

std::string PostgresServer::connectionString(const std::string& database) const {
    return "Provider=MSDASQL;Persist Security Info=False;Data Source=pg_" + database + "_" +
           std::to_string(getpid());
}

std::string PostgresServer::query(const std::string& database, const std::string& sql) const {
    return runCommand(psql(database) + " -A -t -F '|' -P null=NULL -c " + shellQuoted(sql));
}

} // namespace sifkit::test
