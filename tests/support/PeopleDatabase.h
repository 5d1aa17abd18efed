// SPDX-License-Identifier: MIT
#pragma once

#include "DataRun.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

namespace sifkit::test {

/// The people fixture in the server kind's SQL: PostgreSQL numbers rows with a serial column,
/// MariaDB with AUTO_INCREMENT and keys no TEXT column.
inline std::string peopleScriptFor(DatabaseKind kind) {
    std::string script = fixtureScript("people.sql");
    auto replace = [&](const std::string& from, const std::string& to) {
        script.replace(script.find(from), from.size(), to);
    };
    if (kind == DatabaseKind::Postgres)
        replace("INTEGER PRIMARY KEY AUTOINCREMENT", "SERIAL PRIMARY KEY");
    if (kind == DatabaseKind::Mariadb) {
        replace("INTEGER PRIMARY KEY AUTOINCREMENT", "INTEGER PRIMARY KEY AUTO_INCREMENT");
        replace("b TEXT, PRIMARY KEY", "b VARCHAR(40), PRIMARY KEY");
    }
    return script;
}

/// A test on a fresh database of each kind built from the people fixture (plus extraScript()),
/// open on `connection` (an SQLite file through libsqlite3 or through the ODBC driver, or a
/// database of a server).
class PeopleDatabaseTest : public EachDatabaseTest {
protected:
    void SetUp() override {
        EachDatabaseTest::SetUp();
        if (IsSkipped())
            return;
        std::string script = peopleScriptFor(GetParam()) + extraScript();
        if (onSqlite()) {
            createSqliteDatabase(path, script);
            connection.open(sqliteConnectionString(GetParam(), path));
        } else {
            database = serverOf(GetParam())->createDatabase(script);
            connection.open(serverOf(GetParam())->connectionString(database));
        }
    }
    virtual std::string extraScript() const { return {}; }
    bool onSqlite() const { return isSqliteKind(GetParam()); }
    /// A query's rows as another program reads them from the database ("|" between fields,
    /// Null as NULL).
    std::string read(const std::string& sql) const {
        return onSqlite() ? sqliteQuery(path, sql) : serverOf(GetParam())->query(database, sql);
    }

    TempDir dir;
    std::string path = dir.file("people.db");
    std::string database; ///< on a server
    Connection connection;
};

} // namespace sifkit::test
