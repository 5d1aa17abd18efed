// SPDX-License-Identifier: MIT
#include "support/TestEnvironment.h"

#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

TEST(SifcoreFrameTest, ANewInstanceHasItsDocumentedDefaults) {
    Sifcore core;
    EXPECT_EQ(core.getCurrentProgressCount(), 1);
    EXPECT_EQ(core.getCurrentProgressCountMax(), 1);
    EXPECT_EQ(core.getTotalRecordsForTable(), -1);
    EXPECT_EQ(core.getTotalRecordsForSourceTable(), 0);
    EXPECT_EQ(core.getDataProgressStatus(), 1);
    EXPECT_EQ(core.getDataProgressStatusMax(), 100);
    EXPECT_FALSE(core.showDifferencesOnly());
    EXPECT_FALSE(core.getRecordsExistInMasterOnly());
    EXPECT_EQ(core.getMasterDatabaseResults(), nullptr);
}

TEST(SifcoreFrameTest, TheRollbackFileNameIsSharedByTheProcess) {
    Sifcore core;
    clsDBManager other;
    other.setRollbackFileName("/tmp/ORIGINAL_1.xml");
    EXPECT_EQ(core.getSaveFile(), "/tmp/ORIGINAL_1.xml");
    EXPECT_EQ(core.getMasterDataManager()->getRollbackFileName(), "/tmp/ORIGINAL_1.xml");
    other.setRollbackFileName("");
}

TEST(SifcoreFrameTest, ChangeCodesAndTheirDescriptions) {
    Sifcore core;
    EXPECT_EQ(core.getConstantForNoChange(), "0");
    EXPECT_EQ(core.getConstantForNewTable(), "1");
    EXPECT_EQ(core.getConstantNewField(), core.getConstantForNewField());
    EXPECT_EQ(core.getConstantForDifferentDataType(), "3");
    EXPECT_EQ(core.getConstantForDifferentSize(), "4");
    EXPECT_EQ(core.getConstantForNewRecord(), "5");
    EXPECT_EQ(core.getConstantForDifferentDataValue(), "6");
    const char* expected[] = {"No Change",      "New Table",  "New Field",           "Different Datatype",
                              "Different Size", "New Record", "Different Data Value"};
    for (int16_t code = 0; code <= 6; ++code)
        EXPECT_EQ(core.getChangeDesciption(code), expected[code]);
    EXPECT_EQ(core.getChangeDesciption(7), "N/A");
    EXPECT_EQ(core.getChangeDesciption(-1), "N/A");
}

TEST(SifcoreFrameTest, ProgressRaisesUpdateCountOnceAndIgnoresTheHandlersChanges) {
    Sifcore core;
    int calls = 0;
    core.setUpdateCountHandler([&](int32_t& count, int32_t& maxCount, std::string& readFrom) {
        ++calls;
        EXPECT_EQ(count, 5);
        EXPECT_EQ(maxCount, 80);
        EXPECT_EQ(readFrom, "Reading Original");
        count = 99;
        maxCount = 99;
        readFrom = "changed";
    });
    core.setCurrentProgressCount(5, 80, "Reading Original");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(core.getCurrentProgressCount(), 5);
    EXPECT_EQ(core.getCurrentProgressCountMax(), 80);
}

TEST(SifcoreFrameTest, ManagersAreCreatedOnFirstRequestAndSwapped) {
    Sifcore core;
    auto master = core.getMasterDataManager();
    auto source = core.getSourceDataManager();
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(core.getMasterDataManager(), master);
    core.swapValues();
    EXPECT_EQ(core.getMasterDataManager(), source);
    EXPECT_EQ(core.getSourceDataManager(), master);
    core.swapValues();
    EXPECT_EQ(core.getMasterDataManager(), master);
}

TEST(SifcoreFrameTest, ErrorLogsJoinTheThreeTextsOfOneSide) {
    Sifcore core;
    EXPECT_EQ(core.getErrorLogs(true), "Connection issues =Database issues General Issues ");
    core.getSourceDataManager()->setReturnConnectionMessage("c");
    core.getSourceDataManager()->setReturnSQLMessage("s");
    core.getSourceDataManager()->setReturnMessage("g");
    EXPECT_EQ(core.getErrorLogs(false), "Connection issues =cDatabase issues sGeneral Issues g");
    EXPECT_EQ(core.getErrorLogs(true), "Connection issues =Database issues General Issues ");
}

TEST(SifcoreFrameTest, ResetGivesNewCollectionsButKeepsThePublishedOnes) {
    Sifcore core;
    core.setMasterResultsFromDataManager(core.getMasterDataManager());
    auto published = core.getMasterDatabaseResults();
    ASSERT_EQ(published, core.getMasterDataManager()->getResults());
    core.resetDataManagers();
    EXPECT_NE(core.getMasterDataManager()->getResults(), published);
    EXPECT_EQ(core.getMasterDatabaseResults(), published);
}

TEST(SifcoreFrameTest, OpensAndQueriesAnSqliteFileThroughItsManager) {
    TempDir dir;
    createSqliteDatabase(dir.file("p.db"), fixtureScript("people.sql"));
    Sifcore core;
    auto manager = core.getMasterDataManager();
    manager->setConnectionString(fileConnectionString(dir.file("p.db")));
    manager->openDatabaseConnection();
    manager->openDataBaseRecordsFromQuery("select name from [people] where id = 2");
    EXPECT_EQ(manager->getDatabaseRecords().field("name").value().asText(), "O'Neil");
    EXPECT_EQ(core.getErrorLogs(true), "Connection issues = Successfully Completed||Database issues  "
                                       "Successfully Completed ||General Issues ");
}

} // namespace
} // namespace sifkit::test
