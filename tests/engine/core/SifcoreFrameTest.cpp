// SPDX-License-Identifier: MIT
#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

TEST(SifcoreFrameTest, TheRollbackFileNameIsSharedByTheProcess) {
    Sifcore core;
    clsDBManager other;
    other.setRollbackFileName("/tmp/ORIGINAL_1.xml");
    EXPECT_EQ(core.getSaveFile(), "/tmp/ORIGINAL_1.xml");
    EXPECT_EQ(core.getMasterDataManager()->getRollbackFileName(), "/tmp/ORIGINAL_1.xml");
    other.setRollbackFileName("");
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

} // namespace
} // namespace sifkit::test
