// SPDX-License-Identifier: MIT
#include "support/TestEnvironment.h"

#include <sifkit/clsDBManager.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(clsDBManagerTest, IsAccessFollowsTheJetPrefixAndALowerCaseMdb) {
    clsDBManager manager;
    manager.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\data\\SALES.MDB");
    EXPECT_FALSE(manager.getIsAccess());
    manager.setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\data\\sales.mdb");
    EXPECT_TRUE(manager.getIsAccess());
    manager.setConnectionString("");
    EXPECT_TRUE(manager.getIsAccess());
    manager.setConnectionString("Provider=MSDASQL;Persist Security Info=False;Data Source=sales.mdb");
    EXPECT_FALSE(manager.getIsAccess());
}

class clsDBManagerDatabaseTest : public testing::Test {
protected:
    void SetUp() override { createSqliteDatabase(path, fixtureScript("people.sql")); }
    TempDir dir;
    std::string path = dir.file("people.db");
};

TEST_F(clsDBManagerDatabaseTest, AFailedOpenNamesTheConnectionStringWithoutItsPassword) {
    clsDBManager manager;
    const std::string missing = fileConnectionString(dir.file("missing.db"));
    manager.setConnectionString(missing + " ;User ID=me ;Password=topsecret");
    manager.openDatabaseConnection();
    const std::string& message = manager.getReturnConnectionMessage();
    EXPECT_NE(message.find(" #2 Error occurred when attempting to open connection using the following "
                           "connection string  " +
                           missing + " ;User ID=me ;Password=**** ||"),
              std::string::npos)
        << message;
    EXPECT_EQ(message.find("topsecret"), std::string::npos);
    EXPECT_EQ(manager.getDatabaseConnection().state(), 0);
}

TEST_F(clsDBManagerDatabaseTest, TwoFailedOpensLeaveBothTextsInOrder) {
    clsDBManager manager;
    manager.setConnectionString(fileConnectionString(path));
    manager.openDatabaseConnection();
    manager.openDataBaseRecordsFromQuery("select * from [first_missing]");
    manager.openDataBaseRecordsFromQuery("select * from [second_missing]");
    const std::string& message = manager.getReturnSQLMessage();
    auto first = message.find(" #3 Error occured when attempting to open table using the following SQL"
                              "select * from [first_missing] ||");
    auto second = message.find(" #3 Error occured when attempting to open table using the following SQL"
                               "select * from [second_missing] ||");
    ASSERT_NE(first, std::string::npos) << message;
    ASSERT_NE(second, std::string::npos) << message;
    EXPECT_LT(first, second);
    EXPECT_EQ(message[0], ' ');
    EXPECT_TRUE(endsWith(message, " || ||"));
}

TEST_F(clsDBManagerDatabaseTest, TheSecondRecordsetReportsWithItsOwnNumber) {
    clsDBManager manager;
    manager.setConnectionString(fileConnectionString(path));
    manager.openDatabaseConnection();
    manager.openDataBaseRecordsFromQuery("select id from [people]");
    manager.openSecondDataBaseRecordsFromQuery("select nothing from [people]");
    EXPECT_NE(manager.getReturnSQLMessage().find(" #4 Error occured when attempting to open table using the "
                                                 "following SQLselect nothing from [people] ||"),
              std::string::npos);
    EXPECT_EQ(manager.getDatabaseRecords().state(), 1); // the main record set is untouched
    manager.openSecondDataBaseRecordsFromQuery("select name from [people]");
    EXPECT_EQ(manager.getDatabaseRecords2().recordCount(), 3);
    manager.closeRecordSet2();
    EXPECT_EQ(manager.getDatabaseRecords2().state(), 0);
}

TEST_F(clsDBManagerDatabaseTest, ExecuteSqlReplacesTheMessage) {
    clsDBManager manager;
    manager.setSQL("update [people] set note = 'x' where id = 1");
    EXPECT_FALSE(manager.executeSQL());
    EXPECT_TRUE(endsWith(manager.getReturnSQLMessage(), " #6 Application attempted using the following SQL "
                                                        "update [people] set note = 'x' where id = 1 ||"))
        << manager.getReturnSQLMessage();

    manager.setConnectionString(fileConnectionString(path));
    manager.openDatabaseConnection();
    EXPECT_TRUE(manager.executeSQL());
    EXPECT_EQ(manager.getReturnSQLMessage(), "Successfully Completed");
    EXPECT_EQ(sqliteQuery(path, "select note from people where id = 1"), "x\n");
}

TEST_F(clsDBManagerDatabaseTest, ClsDataOpensTablesAndReportsMissingOnes) {
    clsData data;
    EXPECT_EQ(data.getAccessConnections(fileConnectionString(path)), "Successfully Completed");
    EXPECT_EQ(data.getAccessConnections(fileConnectionString(path)),
              "Successfully Completed"); // already open
    EXPECT_EQ(data.openAccessTables("people"), "Successfully Completed");
    EXPECT_EQ(data.rsAccess.recordCount(), 3);
    std::string failure = data.openAccessTables("ghost");
    EXPECT_TRUE(
        endsWith(failure, " #1 Error Occurred when attempting to open the following table: ghost  ||"))
        << failure;
    data.closeAll();
    EXPECT_EQ(data.getConnection().state(), 0);
}

} // namespace
} // namespace sifkit::test
