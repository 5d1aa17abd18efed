#pragma once

#include "DataRun.h"
#include "TestEnvironment.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

namespace sifkit::test {

/// A test on a fresh SQLite database built from the people fixture (plus extraScript()), open
/// on `connection` through the path the parameter names (libsqlite3 or the ODBC driver).
class PeopleDatabaseTest : public testing::TestWithParam<DatabaseKind> {
protected:
    void SetUp() override {
        createSqliteDatabase(path, fixtureScript("people.sql") + extraScript());
        connection.open(sqliteConnectionString(GetParam(), path));
    }
    virtual std::string extraScript() const { return {}; }

    TempDir dir;
    std::string path = dir.file("people.db");
    Connection connection;
};

} // namespace sifkit::test
