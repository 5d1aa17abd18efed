// SPDX-License-Identifier: MIT
#pragma once

#include "DataRun.h"
#include "PostgresServer.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

namespace sifkit::test {

/// A test on a fresh database of each kind built from the people fixture (plus extraScript()),
/// open on `connection` (an SQLite file through libsqlite3 or through the ODBC driver, or
/// PostgreSQL).
class PeopleDatabaseTest : public EachDatabaseTest {
protected:
    void SetUp() override {
        EachDatabaseTest::SetUp();
        if (IsSkipped())
            return;
        std::string script = fixtureScript("people.sql") + extraScript();
        if (onSqlite()) {
            createSqliteDatabase(path, script);
            connection.open(sqliteConnectionString(GetParam(), path));
        } else {
            // PostgreSQL has no AUTOINCREMENT: a serial column numbers the rows there.
            const std::string autoincrement = "INTEGER PRIMARY KEY AUTOINCREMENT";
            script.replace(script.find(autoincrement), autoincrement.size(), "SERIAL PRIMARY KEY");
            database = PostgresServer::instance()->createDatabase(script);
            connection.open(PostgresServer::instance()->connectionString(database));
        }
    }
    virtual std::string extraScript() const { return {}; }
    bool onSqlite() const { return isSqliteKind(GetParam()); }
    /// A query's rows as another program reads them from the database ("|" between fields,
    /// Null as NULL).
    std::string read(const std::string& sql) const {
        return onSqlite() ? sqliteQuery(path, sql) : PostgresServer::instance()->query(database, sql);
    }

    TempDir dir;
    std::string path = dir.file("people.db");
    std::string database; ///< on PostgreSQL
    Connection connection;
};

} // namespace sifkit::test
