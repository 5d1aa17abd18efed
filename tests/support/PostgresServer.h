// SPDX-License-Identifier: MIT
#pragma once

#include "DatabaseServer.h"
#include "PostgresCluster.h"
#include "RunningServer.h"

#include <string>

namespace sifkit::test {

/// The PostgreSQL cluster the test process uses: the one the test run started for all its
/// programs, or else one of the process's own, started on first use and stopped when the
/// process ends.
class PostgresServer final : public DatabaseServer {
public:
    /// The process's server; nullptr when PostgreSQL or its ODBC driver is not installed or the
    /// process's own cluster cannot be started (why() says which).
    static PostgresServer* instance();
    static const std::string& why();

    std::string createDatabase(const std::string& script) override;
    /// psql's output of a query: rows on lines, fields split by "|", Null shown as NULL.
    std::string query(const std::string& database, const std::string& sql) const override;
    void runScript(const std::string& database, const std::string& path) const override;

    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;
    /// Stops the process's own cluster; on the shared one, drops the databases it made.
    ~PostgresServer() override;

private:
    explicit PostgresServer(RunningServer<PostgresCluster> server) : server_(std::move(server)) {}
    std::string dataSourceName(const std::string& database) const override { return "pg_" + database; }
    const PostgresCluster& cluster() const { return server_.instance; }

    RunningServer<PostgresCluster> server_;
};

} // namespace sifkit::test
