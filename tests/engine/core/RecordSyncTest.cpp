// SPDX-License-Identifier: MIT
#include "support/DataRun.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sifkit::test {
namespace {

/// A compared contacts table: record 1 differs (Oslo against Paris), record 5 exists in the
/// Original only.
class RecordSyncTest : public EachDatabaseTest {
protected:
    void SetUp() override {
        EachDatabaseTest::SetUp();
        if (IsSkipped())
            return;
        run = std::make_unique<DataRun>(
            fixtureScript("contacts.sql") + "INSERT INTO contacts VALUES (5, 'Eve', NULL, 0.5);",
            fixtureScript("contacts.sql") + "UPDATE contacts SET city = 'Paris' WHERE id = 1;", GetParam());
        run->prepare("contacts", "[id],[name],[city],[score]");
        ASSERT_TRUE(run->runFull());
        run->core.setMessageBoxHandler([this](const std::string& text) { messages.push_back(text); });
        rollbackFile = run->dir.file("'contacts_ORIGINAL'.xml");
        modifiedRollbackFile = run->dir.file("'contacts_MODIFIED'.xml");
    }
    void TearDown() override {
        if (!run)
            return;
        run->core.getMasterDataManager()->setRollbackFileName("");
        run->core.getMasterDataManager()->setRollbackRecordset(Recordset());
    }
    std::string sourceRows(const std::string& where = "") {
        return run->querySource("select id, name, city, score from contacts " + where + " order by id");
    }
    std::string sourceRow(int id) { return sourceRows("where id = " + std::to_string(id)); }
    std::string masterRow(int id) {
        return run->queryMaster("select id, name, city, score from contacts where id = " +
                                std::to_string(id));
    }
    /// Points each side at the reported record of the given id (0: none).
    void position(int masterId, int sourceId) {
        auto record = [&](bool isMaster, int id) {
            return id == 0 ? 0
                           : reportedRecordNumber(isMaster ? *run->core.getMasterDatabaseResults()
                                                           : *run->core.getSourceDatabaseResults(),
                                                  "id", std::to_string(id));
        };
        run->core.getMasterDataManager()->setCurrentRecordNumber(record(true, masterId));
        run->core.getSourceDataManager()->setCurrentRecordNumber(record(false, sourceId));
    }

    std::unique_ptr<DataRun> run;
    std::vector<std::string> messages;
    std::string rollbackFile;
    std::string modifiedRollbackFile;
};

TEST_P(RecordSyncTest, CopiesAReportedRecordOnceAndOnlyThatRecord) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    position(5, 0);
    EXPECT_EQ(run->core.copyRecordFromRecordNumber(master, source, true), "Successfully Completed");
    EXPECT_EQ(sourceRow(5), "5|Eve|NULL|0.5\n");
    // The published results still report it, but the Modified side has it now.
    EXPECT_EQ(run->core.copyRecordFromRecordNumber(master, source, true), "Cannot copy record.");
    EXPECT_EQ(run->querySource("select count(*) from contacts"), "5\n");
    // Record 2 is on both sides and was never reported.
    position(2, 0);
    EXPECT_EQ(run->core.copyRecordFromRecordNumber(master, source, true), "Cannot copy record.");
    EXPECT_TRUE(messages.empty());
}

TEST_P(RecordSyncTest, ACopyTheDatabaseRejectsIsShownAndChangesNothing) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    position(1, 0); // id 1 exists on the Modified side with another city
    std::string outcome = run->core.copyRecordFromRecordNumber(master, source, true);
    const char* reason = isSqliteKind(GetParam())              ? "UNIQUE constraint failed"
                         : GetParam() == DatabaseKind::Mariadb ? "Duplicate entry"
                                                               : "duplicate key value";
    EXPECT_NE(outcome.find(reason), std::string::npos) << outcome;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], outcome);
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
    EXPECT_EQ(source->getReturnSQLMessage(), "");
}

TEST_P(RecordSyncTest, UpdateOverwritesTheCounterpartAndRollsBack) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    position(1, 1);
    EXPECT_EQ(run->core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Oslo|1.5\n");
    EXPECT_EQ(run->core.getSaveFile(), rollbackFile);
    const std::string rollbackSql = run->core.getRollBackSQL();
    EXPECT_EQ(rollbackSql.rfind(
                  "Select * from [contacts] Where id = 1 AND name LIKE 'Ann' AND city LIKE 'Oslo'", 0),
              0u)
        << rollbackSql;

    EXPECT_EQ(run->core.rollBackFromSQL(master, source, true, rollbackFile, rollbackSql),
              "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
    // Once restored, the statement no longer finds the record: a second rollback changes nothing.
    EXPECT_NE(run->core.rollBackFromSQL(master, source, true, rollbackFile, rollbackSql),
              "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
}

TEST_P(RecordSyncTest, AnUpdateOfTheOriginalSideRollsBackToo) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    const std::string before = masterRow(1);
    position(1, 1);
    ASSERT_EQ(run->core.updateRecordFromRecordNumber(master, source, false, modifiedRollbackFile),
              "Successfully Completed");
    EXPECT_EQ(masterRow(1), sourceRow(1));
    EXPECT_EQ(
        run->core.rollBackFromSQL(master, source, false, modifiedRollbackFile, run->core.getRollBackSQL()),
        "Successfully Completed");
    EXPECT_EQ(masterRow(1), before);
}

TEST_P(RecordSyncTest, RollbackFromTheRecordNumbersRestoresTheLastUpdate) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    position(1, 1);
    ASSERT_EQ(run->core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    EXPECT_EQ(run->core.rollBackFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
}

TEST_P(RecordSyncTest, AnUpdateWithoutACounterpartChangesNothing) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    const std::string before = sourceRows();
    position(5, 0); // record 5 has no counterpart: the Modified side locates nothing
    EXPECT_NE(run->core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(sourceRows(), before);
}

TEST_P(RecordSyncTest, RollbackIsRefusedForAFileOfTheOtherSide) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    position(1, 1);
    ASSERT_EQ(run->core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    const std::string after = sourceRow(1);
    EXPECT_NE(run->core.rollBackFromSQL(master, source, false, rollbackFile, run->core.getRollBackSQL()),
              "Successfully Completed");
    EXPECT_EQ(sourceRow(1), after);
}

TEST_P(RecordSyncTest, TheUndoEntryIsKeptBeforeTheUpdateCommitsOrNothingChanges) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    position(1, 1);
    std::string keptFile;
    std::string keptId;
    const auto keep = [&](bool kept) {
        return [&, kept](const std::string& fileName, const std::string& id) {
            keptFile = fileName;
            keptId = id;
            // Written, not yet committed: another program still reads the row as it was.
            EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
            return kept;
        };
    };
    EXPECT_NE(run->core.updateRecordWithUndo(master, source, true, rollbackFile, keep(false)),
              "Successfully Completed");
    EXPECT_EQ(keptFile, rollbackFile);
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
    EXPECT_FALSE(std::filesystem::exists(rollbackFile));

    messages.clear();
    EXPECT_EQ(run->core.updateRecordWithUndo(master, source, true, rollbackFile, keep(true)),
              "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Oslo|1.5\n");
    EXPECT_EQ(keptId, run->core.getSaveFileId());
    EXPECT_EQ(keptId.size(), 32u);
}

TEST_P(RecordSyncTest, ARollBackRestoresOnlyTheChangeItsEntryNamesInTheDatabaseItChanged) {
    auto master = run->core.getMasterDataManager();
    auto source = run->core.getSourceDataManager();
    position(1, 1);
    ASSERT_EQ(run->core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    const std::string first = run->core.getSaveFileId();
    // The same file written again by a later update (of the record as it was again).
    run->querySource("UPDATE contacts SET city = 'Paris' WHERE id = 1");
    ASSERT_EQ(run->core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    const std::string second = run->core.getSaveFileId();
    ASSERT_NE(first, second);

    // A later run: the undo entry names the file and the first id.
    Sifcore later;
    for (auto [manager, connection] : {std::pair{later.getMasterDataManager(), run->masterConnection},
                                       std::pair{later.getSourceDataManager(), run->sourceConnection}}) {
        manager->setConnectionString(connection);
        manager->openDatabaseConnection();
        manager->setTableName("contacts");
    }
    auto laterSource = later.getSourceDataManager();
    laterSource->setRollbackFileName(rollbackFile);
    laterSource->setRollbackFileId(first);
    const std::string refused =
        later.rollBackFromSQL(later.getMasterDataManager(), laterSource, true, rollbackFile, "");
    EXPECT_NE(refused.find("holds another change"), std::string::npos) << refused;
    EXPECT_EQ(sourceRow(1), "1|Ann|Oslo|1.5\n");

    // The file of the second update, pointed at another database that holds a table of that
    // name too: refused, and that database is left alone.
    laterSource->setRollbackFileId(second);
    Sifcore elsewhere;
    auto wrong = elsewhere.getSourceDataManager();
    wrong->setConnectionString(run->masterConnection);
    wrong->openDatabaseConnection();
    wrong->setTableName("contacts");
    const std::string otherDatabase =
        elsewhere.rollBackFromSQL(elsewhere.getMasterDataManager(), wrong, true, rollbackFile, "");
    EXPECT_NE(otherDatabase.find("was written for"), std::string::npos) << otherDatabase;
    EXPECT_EQ(masterRow(1), "1|Ann|Oslo|1.5\n");

    // Its own database: restored.
    EXPECT_EQ(later.rollBackFromSQL(later.getMasterDataManager(), laterSource, true, rollbackFile, ""),
              "Successfully Completed");
    EXPECT_EQ(sourceRow(1), "1|Ann|Paris|1.5\n");
    laterSource->setRollbackFileId("");
}

SIFKIT_FOR_EACH_DATABASE(RecordSyncTest);

} // namespace
} // namespace sifkit::test
