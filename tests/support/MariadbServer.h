// SPDX-License-Identifier: MIT
#pragma once

#include "DatabaseServer.h"
#include "MariadbInstance.h"
#include "RunningServer.h"

#include <string>

namespace sifkit::test {

/// The MariaDB server the test process uses: the one the test run started for all its
/// programs, or else one of the process's own, started on first use and stopped when the
/// process ends. Its data sources connect as root, an account that sees every database of the
/// server (the system schemas included), through the odbc-mariadb driver.
class MariadbServer final : public DatabaseServer {
public:
    /// The process's server; nullptr when MariaDB or its ODBC driver is not installed or the
    /// process's own server cannot be started (why() says which).
    static MariadbServer* instance();
    static const std::string& why();

    std::string createDatabase(const std::string& script) override;
    /// The mariadb client's output of a query: rows on lines, fields split by "|", Null shown
    /// as NULL.
    std::string query(const std::string& database, const std::string& sql) const override;
    void runScript(const std::string& database, const std::string& path) const override;
    /// The server's Unix socket, for a data source of a test's own.
    std::string socketPath() const { return mariadb().socket().string(); }

    MariadbServer(const MariadbServer&) = delete;
    MariadbServer& operator=(const MariadbServer&) = delete;
    /// Stops the process's own server; on the shared one, drops the databases it made.
    ~MariadbServer() override;

private:
    explicit MariadbServer(RunningServer<MariadbInstance> server) : server_(std::move(server)) {}
    std::string dataSourceName(const std::string& database) const override { return "maria_" + database; }
    const MariadbInstance& mariadb() const { return server_.instance; }

    RunningServer<MariadbInstance> server_;
};

} // namespace sifkit::test
