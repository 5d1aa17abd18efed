// SPDX-License-Identifier: MIT
#include "support/TestEnvironment.h"

#include <sifkit/DataAccess.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

namespace sifkit::test {
namespace {

class ConnectionTest : public testing::Test {
protected:
    void SetUp() override { createSqliteDatabase(path, fixtureScript("people.sql")); }
    TempDir dir;
    std::string path = dir.file("people.db");
};

TEST_F(ConnectionTest, OpensAnSqliteFileNamedInTheFileForm) {
    Connection connection;
    EXPECT_EQ(connection.state(), 0);
    connection.open(fileConnectionString(path));
    EXPECT_EQ(connection.state(), 1);
    EXPECT_NE(connection.dbmsName().find("SQLite"), std::string::npos);
    EXPECT_EQ(connection.connectionString(), fileConnectionString(path));
    connection.close();
    EXPECT_EQ(connection.state(), 0);
}

TEST_F(ConnectionTest, OpensExactlyThePathGivenWhateverItHolds) {
    // Each file holds one table named after the file, so the table tells which file opened.
    const std::vector<std::string> names{" m.db", "m.db ", "m.db", "a;b.db", "{c}.db", "d}.db"};
    for (const std::string& name : names)
        createSqliteDatabase(dir.file(name),
                             "CREATE TABLE t (file TEXT);INSERT INTO t VALUES ('" + name + "');");
    for (const std::string& name : names) {
        SCOPED_TRACE("file: \"" + name + "\"");
        for (const char* credentials : {"", " ;User ID=someone"}) {
            Connection connection;
            connection.open(fileConnectionString(dir.file(name)) + credentials);
            Recordset rows;
            rows.open("select file from t", connection);
            EXPECT_EQ(rows.field(0).value().asText(), name);
        }
    }
}

TEST_F(ConnectionTest, ADamagedFileFailsWithItsCauseInsteadOfReadingAsEmpty) {
    std::filesystem::resize_file(path, 100); // the header survives, the schema does not
    Connection connection;
    connection.open(fileConnectionString(path));
    try {
        connection.openSchema(Connection::SchemaTables, {});
        ADD_FAILURE() << "a damaged file listed its tables";
    } catch (const Error& failure) {
        EXPECT_NE(failure.description().find("damaged"), std::string::npos) << failure.description();
    }
}

TEST_F(ConnectionTest, AFileLockedByAnotherConnectionFailsWithItsCauseOnceTheHostStopsWaiting) {
    Connection holder;
    holder.open(fileConnectionString(path));
    holder.execute("BEGIN EXCLUSIVE");
    Connection connection;
    connection.open(fileConnectionString(path));
    std::vector<int32_t> asked;
    setLockWait([&](int32_t waitedMs, int32_t timeoutMs) {
        EXPECT_EQ(timeoutMs, 5000);
        asked.push_back(waitedMs);
        return waitedMs < 30; // the host gives up after a few tries
    });
    try {
        connection.openSchema(Connection::SchemaTables, {});
        ADD_FAILURE() << "a locked file listed its tables";
    } catch (const Error& failure) {
        EXPECT_NE(failure.description().find("database is locked"), std::string::npos)
            << failure.description();
    }
    setLockWait(nullptr);
    ASSERT_GE(asked.size(), 2u);
    EXPECT_EQ(asked.front(), 0);
    EXPECT_GE(asked.back(), 30);
    EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end()));

    // Released while the other connection waits: the statement goes through.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        holder.execute("ROLLBACK");
    });
    EXPECT_NO_THROW(connection.openSchema(Connection::SchemaTables, {}));
    release.join();
}

TEST_F(ConnectionTest, RefusesMissingFilesAndFilesThatAreNoDatabase) {
    Connection connection;
    // The driver would create a missing file: the layer must refuse before it gets there.
    EXPECT_THROW(connection.open(fileConnectionString(dir.file("missing.db"))), Error);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.db")));
    std::ofstream(dir.file("notes.txt")) << "just some text, long enough to be read as a header";
    EXPECT_THROW(connection.open(fileConnectionString(dir.file("notes.txt"))), Error);
    EXPECT_THROW(connection.open("Provider=Nonsense;Data Source=x"), Error);
    EXPECT_EQ(connection.state(), 0);
}

TEST_F(ConnectionTest, AnUnknownDataSourceFailsWithTheDriverManagersMessage) {
    Connection connection;
    try {
        connection.open("Provider=MSDASQL;Persist Security Info=False;Data Source=NoSuchSource");
        FAIL() << "opened a data source that does not exist";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.sqlState(), "IM002");
        EXPECT_FALSE(error.description().empty());
    }
}

TEST_F(ConnectionTest, OpeningTwiceIsRefusedAndStatementsNeedAnOpenConnection) {
    Connection connection;
    EXPECT_THROW(connection.execute("select 1"), Error);
    connection.open(fileConnectionString(path));
    EXPECT_THROW(connection.open(fileConnectionString(path)), Error);
    EXPECT_EQ(connection.state(), 1);
}

TEST_F(ConnectionTest, ExecuteChangesTheFileAndReportsSqlErrors) {
    Connection connection;
    connection.open(fileConnectionString(path));
    connection.execute("update [people] set note = 'seen' where id = 1");
    EXPECT_EQ(sqliteQuery(path, "select note from people where id = 1"), "seen\n");
    try {
        connection.execute("select * from [no_such_table]");
        FAIL() << "a query on a missing table succeeded";
    } catch (const DatabaseError& error) {
        EXPECT_NE(error.description().find("no_such_table"), std::string::npos);
    }
}

TEST_F(ConnectionTest, HandlesShareOneConnection) {
    Connection first;
    Connection second = first;
    first.open(fileConnectionString(path));
    EXPECT_EQ(second.state(), 1);
    EXPECT_TRUE(first.sameAs(second));
    second.close();
    EXPECT_EQ(first.state(), 0);
}

} // namespace
} // namespace sifkit::test
