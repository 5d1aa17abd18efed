// SPDX-License-Identifier: MIT
#pragma once

#include "DatabaseServer.h"
#include "TestEnvironment.h"

#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace sifkit::test {

/// The database kinds the tests run against: SQLite files as users name them (read through
/// libsqlite3), the same files through the SQLite ODBC driver, PostgreSQL and MariaDB.
enum class DatabaseKind { Sqlite, SqliteOdbc, Postgres, Mariadb };

/// True for both ways of reaching an SQLite file.
inline bool isSqliteKind(DatabaseKind kind) {
    return kind == DatabaseKind::Sqlite || kind == DatabaseKind::SqliteOdbc;
}

/// The server of a server kind; nullptr for an SQLite kind and where the server cannot be
/// used (whyNoServer says why).
DatabaseServer* serverOf(DatabaseKind kind);
std::string whyNoServer(DatabaseKind kind);

/// How a test names an SQLite file for the kind: the file form users type, or an ODBC
/// connection string that sends it through the SQLite ODBC driver.
std::string sqliteConnectionString(DatabaseKind kind, const std::string& path);

/// Names the kinds in parameterised test names and messages.
std::string kindName(const testing::TestParamInfo<DatabaseKind>& info);
void PrintTo(DatabaseKind kind, std::ostream* out);

/// A test run once for each database kind; skipped (never passed) for a kind this machine lacks.
class EachDatabaseTest : public testing::TestWithParam<DatabaseKind> {
protected:
    void SetUp() override;
};

#define SIFKIT_FOR_EACH_DATABASE(Suite)                                                                      \
    INSTANTIATE_TEST_SUITE_P(Databases, Suite,                                                               \
                             testing::Values(DatabaseKind::Sqlite, DatabaseKind::SqliteOdbc,                 \
                                             DatabaseKind::Postgres, DatabaseKind::Mariadb),                 \
                             kindName)

/// The data access layer's suites run on the same kinds.
#define SIFKIT_FOR_EACH_PRODUCT(Suite) SIFKIT_FOR_EACH_DATABASE(Suite)

/// Runs a suite parameterised by DatabaseKind on both paths to an SQLite file.
#define SIFKIT_FOR_EACH_SQLITE_PATH(Suite)                                                                   \
    INSTANTIATE_TEST_SUITE_P(SqlitePaths, Suite,                                                             \
                             testing::Values(DatabaseKind::Sqlite, DatabaseKind::SqliteOdbc), kindName)

/// An Original and a Modified database of one kind built from two scripts, and an engine whose
/// two managers are connected to them for a data comparison of one table.
struct DataRun {
    DataRun(const std::string& masterScript, const std::string& sourceScript,
            DatabaseKind kind = DatabaseKind::Sqlite);
    /// The Original of one kind, the Modified of another.
    DataRun(const std::string& masterScript, const std::string& sourceScript, DatabaseKind masterKind,
            DatabaseKind sourceKind);
    /// Takes the server databases' data sources away.
    ~DataRun();
    DataRun(const DataRun&) = delete;
    DataRun& operator=(const DataRun&) = delete;

    /// Connects both managers and sets the table and each side's field list.
    void prepare(const std::string& table, const std::string& masterFields, const std::string& sourceFields);
    void prepare(const std::string& table, const std::string& fields) { prepare(table, fields, fields); }

    /// The full data run on the two managers.
    bool runFull();

    /// A query's rows as another program reads them from each database: fields split by "|",
    /// Null shown as NULL, a line per row.
    std::string queryMaster(const std::string& sql) const;
    std::string querySource(const std::string& sql) const;
    /// Runs a script file on the Modified database with the database's own client (the sqlite3
    /// shell with -bail, psql, mariadb), stopping at the first failure.
    void runSourceScript(const std::string& path) const;

    DatabaseKind kind;       ///< the Original's
    DatabaseKind sourceKind; ///< the Modified's
    TempDir dir;
    std::string masterPath = dir.file("original.db"); ///< SQLite files
    std::string sourcePath = dir.file("modified.db");
    std::string masterDatabase, sourceDatabase; ///< databases of a server
    std::string masterConnection, sourceConnection;
    Sifcore core;
};

/// The reported records of one side: record number -> field name -> value, from its data items.
using ReportedRecords = std::map<int32_t, std::map<std::string, std::string>>;
ReportedRecords reportedRecords(const ResultCollection& results);

/// The values of one field over the reported records, sorted: the order of rows is the
/// database's own.
std::vector<std::string> reportedValues(const ResultCollection& results, const std::string& field);

/// The number of the reported record whose field holds the value; 0 when none does.
int32_t reportedRecordNumber(const ResultCollection& results, const std::string& field,
                             const std::string& value);

} // namespace sifkit::test
