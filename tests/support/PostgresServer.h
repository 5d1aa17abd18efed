// SPDX-License-Identifier: MIT
#pragma once

#include "TestEnvironment.h"

#include <string>

namespace sifkit::test {

/// A PostgreSQL cluster of the test process's own: initdb into a temporary folder and started on
/// a free loopback port on first use, stopped when the process ends. As root the server runs as
/// the "postgres" user, since PostgreSQL refuses to run as root.
class PostgresServer {
public:
    /// The process's server; nullptr when PostgreSQL or its ODBC driver is not installed or the
    /// cluster cannot be started (why() says which).
    static PostgresServer* instance();
    static const std::string& why();

    /// Creates a new database from an SQL script, with a data source for it in the user
    /// odbc.ini. Returns the database's name.
    std::string createDatabase(const std::string& script);
    /// How users name the database: the data source form of the connection string.
    std::string connectionString(const std::string& database) const;
    /// psql's output of a query: rows on lines, fields split by "|", Null shown as NULL.
    std::string query(const std::string& database, const std::string& sql) const;

    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;
    ~PostgresServer();

private:
    PostgresServer(std::string binaries, bool asRoot);
    std::string serverCommand(const std::string& program) const;
    std::string psql(const std::string& database) const;

    std::string binaries_;
    bool asRoot_;
    TempDir dir_;
    int port_ = 0;
    bool running_ = false;
    int databases_ = 0;
};

} // namespace sifkit::test
