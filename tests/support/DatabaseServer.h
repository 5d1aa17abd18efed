// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace sifkit::test {

/// A database server the tests run against (PostgreSQL, MariaDB): databases made from SQL
/// scripts, each with a data source in the tests' user odbc.ini, read back with the server's
/// own client as another program sees them.
class DatabaseServer {
public:
    virtual ~DatabaseServer() = default;

    /// Creates a new database from an SQL script, with a data source for it. Returns the
    /// database's name, unique among the processes sharing the server.
    virtual std::string createDatabase(const std::string& script) = 0;
    /// How users name the database: the data source form of the connection string.
    std::string connectionString(const std::string& database) const;
    /// Takes the database's data source away once a test is done with it (the database itself
    /// goes with the server): every engine lists the data sources when it starts, and a process
    /// that runs many tests would list more and more of them.
    void releaseDatabase(const std::string& database) const;
    /// The client's output of a query: rows on lines, fields split by "|", Null shown as NULL.
    virtual std::string query(const std::string& database, const std::string& sql) const = 0;
    /// Runs a script file with the server's own client as users run one, stopping at the first
    /// failure; throws with the client's output when it fails.
    virtual void runScript(const std::string& database, const std::string& path) const = 0;

protected:
    /// A name for the next database: processes sharing a server tell theirs apart by their
    /// process numbers. The name is remembered in databases().
    std::string newDatabaseName();
    const std::vector<std::string>& databases() const { return databases_; }
    /// The data source created for a database.
    virtual std::string dataSourceName(const std::string& database) const = 0;

private:
    std::vector<std::string> databases_;
};

} // namespace sifkit::test
