#include "support/DataRun.h"

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

/// A compared contacts table: record 1 differs (Oslo against Paris), record 5 exists in the
/// Original only.
class RecordSyncTest : public testing::Test {
protected:
    void SetUp() override {
        run.prepare("contacts", "[id],[name],[city],[score]");
        ASSERT_TRUE(run.runFull());
        run.core.setMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
    }
    void TearDown() override {
        run.core.getMasterDataManager()->setRollbackFileName("");
        run.core.getMasterDataManager()->setRollbackRecordset(Recordset());
    }
    std::string sourceRow(int id) {
        return sqliteQuery(run.sourcePath, "select * from contacts where id = " + std::to_string(id));
    }
    void position(int32_t masterRecord, int32_t sourceRecord) {
        run.core.getMasterDataManager()->setCurrentRecordNumber(masterRecord);
        run.core.getSourceDataManager()->setCurrentRecordNumber(sourceRecord);
    }

    DataRun run{fixtureScript("contacts.sql") + "INSERT INTO contacts VALUES (5, 'Eve', NULL, 0.5);",
                fixtureScript("contacts.sql") + "UPDATE contacts SET city = 'Paris' WHERE id = 1;"};
    std::vector<std::string> messages;
    std::string rollbackFile = run.dir.file("'contacts_ORIGINAL'.xml");
};

TEST_F(RecordSyncTest, CopiesAReportedRecordOnceAndOnlyThatRecord) {
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    position(5, 0);
    EXPECT_EQ(run.core.copyRecordFromRecordNumber(master, source, true), "Successfully Completed");
    EXPECT_EQ(sourceRow(5), "5|Eve|NULL|0.5\n");
    // The published results still report it, but the Modified side has it now.
    EXPECT_EQ(run.core.copyRecordFromRecordNumber(master, source, true), "Cannot copy record.");
    EXPECT_EQ(sqliteQuery(run.sourcePath, "select count(*) from contacts"), "5\n");
    // Record 2 is on both sides and was never reported.
    position(2, 0);
    EXPECT_EQ(run.core.copyRecordFromRecordNumber(master, source, true), "Cannot copy record.");
    EXPECT_TRUE(messages.empty());
}

TEST_F(RecordSyncTest, ACopyTheDatabaseRejectsIsShownAndChangesNothing) {
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    position(1, 0); // id 1 exists on the Modified side with another city
    std::string outcome = run.core.copyRecordFromRecordNumber(master, source, true);
    EXPECT_NE(outcome.find("UNIQUE constraint failed"), std::string::npos) << outcome;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], outcome);
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
    EXPECT_EQ(source->getReturnSQLMessage(), "");
}

TEST_F(RecordSyncTest, UpdateOverwritesTheCounterpartAndRollsBack) {
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    position(1, 1);
    EXPECT_EQ(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile), "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Oslo|1.5\n");
    EXPECT_EQ(run.core.getSaveFile(), rollbackFile);
    const std::string rollbackSql = run.core.getRollBackSQL();
    EXPECT_EQ(rollbackSql.rfind("Select * from [contacts] Where id = 1 AND name LIKE 'Ann' AND city LIKE 'Oslo'", 0),
              0u)
        << rollbackSql;

    EXPECT_EQ(run.core.rollBackFromSQL(master, source, true, rollbackFile, rollbackSql), "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
    // Once restored, the statement no longer finds the record: a second rollback changes nothing.
    EXPECT_NE(run.core.rollBackFromSQL(master, source, true, rollbackFile, rollbackSql), "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
}

TEST_F(RecordSyncTest, RollbackFromTheRecordNumbersRestoresTheLastUpdate) {
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    position(1, 1);
    ASSERT_EQ(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile), "Successfully Completed");
    EXPECT_EQ(run.core.rollBackFromRecordNumber(master, source, true, rollbackFile), "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
}

TEST_F(RecordSyncTest, AnUpdateWithoutACounterpartChangesNothing) {
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    const std::string before = sqliteQuery(run.sourcePath, "select * from contacts order by id");
    position(5, 0); // record 5 has no counterpart: the Modified side locates nothing
    EXPECT_NE(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile), "Successfully Completed");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(sqliteQuery(run.sourcePath, "select * from contacts order by id"), before);
}

TEST_F(RecordSyncTest, RollbackIsRefusedForAFileOfTheOtherSide) {
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    position(1, 1);
    ASSERT_EQ(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile), "Successfully Completed");
    const std::string after = sourceRow(1);
    EXPECT_NE(run.core.rollBackFromSQL(master, source, false, rollbackFile, run.core.getRollBackSQL()),
              "Successfully Completed");
    EXPECT_EQ(sourceRow(1), after);
}

} // namespace
} // namespace sifkit::test
