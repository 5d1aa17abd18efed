// SPDX-License-Identifier: MIT
// Data sources of the SQLite ODBC driver are their database files: opened through libsqlite3,
// as the file form is, while users still see the data source they chose.

#include "support/TestEnvironment.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

#include <chrono>

namespace sifkit::test {
namespace {

class DataSourceFileTest : public testing::Test {
protected:
    void SetUp() override {
        createSqliteDatabase(path, "CREATE TABLE t (id INTEGER PRIMARY KEY, r REAL, s TEXT);"
                                   "INSERT INTO t VALUES (1, 3.96, 'a'), (2, 0.1 + 0.2, 'b');");
    }

    /// The data source form of a new data source for the file, its driver given so.
    std::string dataSource(const std::string& name, const std::string& driver,
                           std::vector<std::pair<std::string, std::string>> more = {}) {
        more.insert(more.begin(), {"Database", path});
        OdbcConfig::instance().addUserDataSource({name, driver, more});
        return "Provider=MSDASQL;Persist Security Info=False;Data Source=" + name;
    }

    TempDir dir;
    std::string path = dir.file("reals.db");
};

TEST_F(DataSourceFileTest, ASqliteDataSourceReadsItsFileExactly) {
    for (const std::string& driver : {std::string("SQLite3"), std::string(sqliteDriverPath())}) {
        SCOPED_TRACE(driver);
        const std::string shown = dataSource("reals_" + std::to_string(driver.size()), driver);
        Connection connection;
        connection.open(shown);
        EXPECT_EQ(connection.connectionString(), shown);
        EXPECT_EQ(connection.dbmsName(), "SQLite");
        Recordset records;
        records.open("select r from [t] order by id", connection);
        // The driver hands reals over with 15 digits: 0.30000000000000004 would read as 0.3.
        EXPECT_EQ(records.field(0).value(), Value(3.96));
        records.moveNext();
        EXPECT_EQ(records.field(0).value(), Value(0.1 + 0.2));
        connection.execute("update [t] set s = 'changed' where id = 1");
        EXPECT_EQ(sqliteQuery(path, "select s from t where id = 1"), "changed\n");
    }
}

TEST_F(DataSourceFileTest, TheDataSourcesTimeoutIsHowLongAStatementWaitsForALock) {
    const std::string shown = dataSource("reals_waiting", "SQLite3", {{"Timeout", "200"}});
    Connection holder;
    holder.open(fileConnectionString(path));
    holder.execute("BEGIN EXCLUSIVE");
    Connection connection;
    connection.open(shown);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(connection.execute("update [t] set s = 'x'"), DatabaseError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    holder.execute("ROLLBACK");
}

TEST_F(DataSourceFileTest, ADataSourceWhoseFileIsNoSqliteFileStaysWithItsDriver) {
    OdbcConfig::instance().addUserDataSource(
        {"reals_elsewhere", "SQLite3", {{"Database", dir.file("absent.db")}}});
    Connection connection;
    connection.open("Provider=MSDASQL;Persist Security Info=False;Data Source=reals_elsewhere");
    // The driver answers for itself (it makes the missing file, as it always did).
    EXPECT_EQ(connection.state(), 1);
}

} // namespace
} // namespace sifkit::test
