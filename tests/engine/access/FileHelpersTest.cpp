// SPDX-License-Identifier: MIT
#include "support/TestEnvironment.h"

#include "access/FileHelpers.h"

#include <sifkit/Sifcore.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

namespace sifkit::test {
namespace {

using std::chrono::milliseconds;

class FileHelpersTest : public testing::Test {
protected:
    void SetUp() override { std::ofstream(file) << "x"; }
    TempDir dir;
    std::string file = dir.file("locked.txt");
};

TEST_F(FileHelpersTest, FileExistsNeedsAFileNotABlankOrAFolder) {
    EXPECT_TRUE(detail::fileExists(file));
    EXPECT_TRUE(detail::fileExists("  " + file + " "));
    EXPECT_FALSE(detail::fileExists(""));
    EXPECT_FALSE(detail::fileExists("   "));
    EXPECT_FALSE(detail::fileExists(dir.path().string()));
    EXPECT_FALSE(detail::fileExists(dir.file("missing.txt")));
}

TEST_F(FileHelpersTest, ALockedFileIsGivenUpAfterTwentyFurtherAttempts) {
    int attempts = 0;
    std::vector<milliseconds> waits;
    detail::DeleteRetry locked{[&](const std::string&) { return ++attempts, false; },
                               [&](milliseconds wait) { waits.push_back(wait); }};
    EXPECT_FALSE(detail::deleteFileWithRetry(file, locked));
    EXPECT_EQ(attempts, 21);
    EXPECT_EQ(waits, std::vector<milliseconds>(21, milliseconds(1000)));
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(FileHelpersTest, ALockReleasedInTimeLetsTheDeleteSucceed) {
    int attempts = 0;
    int waits = 0;
    detail::DeleteRetry releasedLater{
        [&](const std::string& path) { return ++attempts == 4 && detail::deleteFile(path); },
        [&](milliseconds) { ++waits; }};
    EXPECT_TRUE(detail::deleteFileWithRetry(file, releasedLater));
    EXPECT_EQ(attempts, 4);
    EXPECT_EQ(waits, 3);
    EXPECT_FALSE(std::filesystem::exists(file));
    // Nothing to delete is a success without an attempt.
    EXPECT_TRUE(detail::deleteFileWithRetry(file, releasedLater));
    EXPECT_EQ(attempts, 4);
}

TEST_F(FileHelpersTest, AnExportWithoutATableOnlyRemovesTheOldFile) {
    const std::string database = dir.file("empty.db");
    createSqliteDatabase(database, "CREATE TABLE t (x INTEGER);");
    Sifcore core;
    auto master = std::make_shared<clsDBManager>();
    auto source = std::make_shared<clsDBManager>();
    for (const auto& side : {master, source}) {
        side->setConnectionString(fileConnectionString(database));
        side->openDatabaseConnection();
    }
    master->setSaveToXml(true);
    master->setXmlFileName(file);
    core.beginTableCompareFromFieldListFromDBManager(master, source);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path())->path().filename(), "empty.db");
}

} // namespace
} // namespace sifkit::test
