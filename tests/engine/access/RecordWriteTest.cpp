// SPDX-License-Identifier: MIT
#include "support/DataRun.h"
#include "support/TestEnvironment.h"

#include <sifkit/clsDBManager.h>

#include <gtest/gtest.h>

#include <fstream>

namespace sifkit::test {
namespace {

/// The Original and the Modified contacts table, one manager each, with the Original's record
/// 1 changed so that it can be written over the Modified side's.
class RecordWriteTest : public testing::TestWithParam<DatabaseKind> {
protected:
    void SetUp() override {
        createSqliteDatabase(masterPath, fixtureScript("contacts.sql") +
                                             "UPDATE contacts SET name = 'Anna', city = NULL WHERE id = 1;"
                                             "INSERT INTO contacts VALUES (5, 'Eve', 'Nice', 0.5);");
        createSqliteDatabase(sourcePath, fixtureScript("contacts.sql"));
        connect(master, masterPath);
        connect(source, sourcePath);
    }
    void TearDown() override {
        // The rollback store is the process's: leave it as a new process finds it.
        source.setRollbackFileName("");
        source.setRollbackRecordset(Recordset());
    }
    static void connect(clsDBManager& manager, const std::string& path) {
        manager.setConnectionString(sqliteConnectionString(GetParam(), path));
        manager.openDatabaseConnection();
        manager.setTableName("contacts");
    }
    std::string sourceRows() { return sqliteQuery(sourcePath, "select * from contacts order by id"); }

    TempDir dir;
    std::string masterPath = dir.file("original.db");
    std::string sourcePath = dir.file("modified.db");
    std::string rollbackFile = dir.file("ORIGINAL_contacts_1.xml");
    clsDBManager master, source;
};

TEST_P(RecordWriteTest, AddNewCopiesTheRow) {
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 5");
    ASSERT_TRUE(source.adoAddNewRecord(master));
    EXPECT_EQ(source.getReturnSQLMessage(), "Successfully Completed");
    EXPECT_EQ(sqliteQuery(sourcePath, "select * from contacts where id = 5"), "5|Eve|Nice|0.5\n");
}

TEST_P(RecordWriteTest, ARejectedInsertReportsTheDatabasesReasonAndChangesNothing) {
    const std::string before = sourceRows();
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 1");
    EXPECT_FALSE(source.adoAddNewRecord(master));
    const std::string& message = source.getReturnSQLMessage();
    EXPECT_NE(message.find("UNIQUE constraint failed"), std::string::npos) << message;
    EXPECT_NE(message.find(" #7 Error when attempting to add a new record in table contacts ||"),
              std::string::npos);
    EXPECT_EQ(sourceRows(), before);
}

TEST_P(RecordWriteTest, UpdateWritesTheRollbackFileFirstAndKeepsThePrimaryKey) {
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 1");
    // The counterpart is found by its own values; its key differs on purpose.
    master.getDatabaseRecords(); // id 1 on both sides
    source.setSQL("Select * from [contacts] where name = 'Ann'");
    ASSERT_TRUE(source.adoUpdateRecord(master, true, rollbackFile)) << source.getReturnSQLMessage();
    EXPECT_EQ(sqliteQuery(sourcePath, "select id, name, city is null, score from contacts where id = 1"),
              "1|Anna|1|1.5\n");
    EXPECT_EQ(source.getRollbackFileName(), rollbackFile);
    Recordset saved;
    saved.openFile(rollbackFile);
    EXPECT_EQ(saved.field("name").value().asText(), "Ann");
    EXPECT_EQ(saved.field("city").value().asText(), "Oslo");

    // The rollback restores the saved values over the record the statement selects now.
    ASSERT_TRUE(source.rollback(true, "Select * from [contacts] where name = 'Anna'"))
        << source.getReturnSQLMessage();
    EXPECT_EQ(sqliteQuery(sourcePath, "select id, name, city from contacts where id = 1"), "1|Ann|Oslo\n");
}

TEST_P(RecordWriteTest, StagingFilesAKilledUpdateLeftAreRemovedAtTheNextUpdate) {
    for (const std::string& left : {rollbackFile + ".pending", rollbackFile + ".pending.tmp-Ab12Cd"})
        std::ofstream(left) << "half a file";
    std::ofstream(dir.file("other.xml.pending")) << "another file's"; // not ours to remove
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 1");
    source.setSQL("Select * from [contacts] where id = 1");
    ASSERT_TRUE(source.adoUpdateRecord(master, true, rollbackFile)) << source.getReturnSQLMessage();
    EXPECT_TRUE(std::filesystem::exists(rollbackFile));
    EXPECT_FALSE(std::filesystem::exists(rollbackFile + ".pending"));
    EXPECT_FALSE(std::filesystem::exists(rollbackFile + ".pending.tmp-Ab12Cd"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("other.xml.pending")));
}

TEST_P(RecordWriteTest, ARollbackRestoresOnlyTheRecordItsFileSaved) {
    // A file that does not say which record it was saved for (as earlier versions wrote them),
    // and a statement that selects another record: refused, nothing written.
    source.openDataBaseRecordsFromQuery("select * from [contacts] where id = 1");
    source.saveRollBackInformation(source.getDatabaseRecords(), true, rollbackFile);
    const std::string before = sourceRows();
    EXPECT_FALSE(source.rollback(true, "Select * from [contacts] where id = 3"));
    EXPECT_NE(source.getReturnSQLMessage().find("it is another record"), std::string::npos)
        << source.getReturnSQLMessage();
    EXPECT_EQ(sourceRows(), before);
    // The record it saved: restored.
    EXPECT_TRUE(source.rollback(true, "Select * from [contacts] where id = 1"))
        << source.getReturnSQLMessage();
}

TEST_P(RecordWriteTest, ThePrimaryKeyColumnIsNeverOverwritten) {
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 5");
    source.setSQL("Select * from [contacts] where id = 3");
    ASSERT_TRUE(source.adoUpdateRecord(master, true, rollbackFile));
    EXPECT_EQ(sqliteQuery(sourcePath, "select * from contacts where id = 3"), "3|Eve|Nice|0.5\n");
    EXPECT_EQ(sqliteQuery(sourcePath, "select count(*) from contacts where id = 5"), "0\n");
}

TEST_P(RecordWriteTest, AnUpdateThatSelectsNoRowOrSeveralRowsChangesNothing) {
    const std::string before = sourceRows();
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 1");
    source.setSQL("Select * from [contacts] where id = 42");
    EXPECT_FALSE(source.adoUpdateRecord(master, true, rollbackFile));
    EXPECT_EQ(source.getReturnSQLMessage(), "Successfully Completed");
    EXPECT_FALSE(std::filesystem::exists(rollbackFile));

    source.setSQL("Select * from [contacts] where id in (1, 2)");
    EXPECT_FALSE(source.adoUpdateRecord(master, true, rollbackFile));
    EXPECT_NE(source.getReturnSQLMessage().find("#7"), std::string::npos);
    EXPECT_EQ(sourceRows(), before);
}

TEST_P(RecordWriteTest, NoUpdateWithoutARollbackFile) {
    std::filesystem::create_directory(rollbackFile); // a name that cannot be written as a file
    const std::string before = sourceRows();
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 1");
    source.setSQL("Select * from [contacts] where id = 1");
    EXPECT_FALSE(source.adoUpdateRecord(master, true, rollbackFile));
    EXPECT_NE(source.getReturnSQLMessage().find("#7"), std::string::npos);
    EXPECT_EQ(sourceRows(), before);
}

TEST_P(RecordWriteTest, ARollbackNeedsTheSidesMarkerInTheFileName) {
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 1");
    source.setSQL("Select * from [contacts] where id = 1");
    const std::string plainFile = dir.file("contacts_1.xml");
    ASSERT_TRUE(source.adoUpdateRecord(master, true, plainFile));
    const std::string after = sourceRows();
    EXPECT_FALSE(source.checkFileExist(true));
    EXPECT_FALSE(source.rollback(true, "Select * from [contacts] where id = 1"));
    EXPECT_EQ(sourceRows(), after);

    source.setRollbackFileName(dir.file("ORIGINAL_x.xml"));
    EXPECT_TRUE(source.checkFileExist(true));
    EXPECT_FALSE(source.checkFileExist(false));
}

TEST_P(RecordWriteTest, ARollbackRefusesAFileThatIsNotTheOneTheUpdateWrote) {
    master.openDataBaseRecordsFromQuery("select * from [contacts] where id = 1");
    source.setSQL("Select * from [contacts] where id = 1");
    ASSERT_TRUE(source.adoUpdateRecord(master, true, rollbackFile));
    const std::string after = sourceRows();

    // An older file of another record put back under the same name.
    Recordset other;
    other.open("select * from [contacts] where id = 3", source.getDatabaseConnection());
    std::filesystem::remove(rollbackFile);
    other.save(rollbackFile);
    EXPECT_FALSE(source.rollback(true, "Select * from [contacts] where id = 1"));
    EXPECT_NE(source.getReturnSQLMessage().find("no longer the one the last update wrote"),
              std::string::npos);
    EXPECT_EQ(sourceRows(), after);

    // A file of another table is refused too.
    source.setRollbackFileName(dir.file("ORIGINAL_other.xml"));
    createSqliteDatabase(dir.file("other.db"), "CREATE TABLE elsewhere (id INTEGER, name TEXT);"
                                               "INSERT INTO elsewhere VALUES (1, 'x');");
    Connection elsewhere;
    elsewhere.open(sqliteConnectionString(GetParam(), dir.file("other.db")));
    Recordset foreign;
    foreign.open("select * from [elsewhere]", elsewhere);
    foreign.save(dir.file("ORIGINAL_other.xml"));
    EXPECT_FALSE(source.rollback(true, "Select * from [contacts] where id = 1"));
    EXPECT_EQ(sourceRows(), after);
}

SIFKIT_FOR_EACH_SQLITE_PATH(RecordWriteTest);

} // namespace
} // namespace sifkit::test
