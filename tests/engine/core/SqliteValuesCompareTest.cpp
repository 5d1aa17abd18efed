// SPDX-License-Identifier: MIT
#include "support/DataRun.h"

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

using Strings = std::vector<std::string>;

/// The data compare on SQLite files read through libsqlite3, where each value keeps the
/// storage class SQLite holds it in and equality is SQLite's own.
std::unique_ptr<DataRun> sqliteRun(const std::string& masterRows, const std::string& sourceRows) {
    const std::string table = "CREATE TABLE t (id INTEGER PRIMARY KEY, c);";
    auto run = std::make_unique<DataRun>(table + masterRows, table + sourceRows, DatabaseKind::Sqlite);
    run->prepare("t", "[id],[c]");
    return run;
}

TEST(SqliteValuesCompareTest, MixedValuesOfAnUntypedColumnEqualTheirCopies) {
    const std::string rows = "INSERT INTO t VALUES (1, '7'), (2, 7), (3, '07'), (4, 7.5), (5, x'07');";
    auto run = sqliteRun(rows, rows);
    EXPECT_FALSE(run->runFull());
    EXPECT_EQ(run->core.getSourceDataManager()->getReturnSQLMessage().find("#12"), std::string::npos);
}

TEST(SqliteValuesCompareTest, ATextAndAnIntegerOfTheSameDigitsDiffer) {
    auto run = sqliteRun("INSERT INTO t VALUES (1, '7'), (2, '07');", "INSERT INTO t VALUES (1, 7), (2, 7);");
    ASSERT_TRUE(run->runFull());
    EXPECT_EQ(reportedValues(*run->core.getMasterDatabaseResults(), "c"), (Strings{"07", "7"}));
    EXPECT_EQ(reportedValues(*run->core.getSourceDatabaseResults(), "c"), (Strings{"7", "7"}));
}

TEST(SqliteValuesCompareTest, SevenAndSevenPointZeroAreEqualAsSqliteComparesThem) {
    auto run = sqliteRun("INSERT INTO t VALUES (1, 7);", "INSERT INTO t VALUES (1, 7.0);");
    EXPECT_FALSE(run->runFull());
}

TEST(SqliteValuesCompareTest, RealsAreComparedExactly) {
    auto run = sqliteRun("INSERT INTO t VALUES (1, 0.1 + 0.2);", "INSERT INTO t VALUES (1, 0.3);");
    ASSERT_TRUE(run->runFull());
    EXPECT_EQ(reportedValues(*run->core.getMasterDatabaseResults(), "c"), Strings{"0.30000000000000004"});
    EXPECT_EQ(reportedValues(*run->core.getSourceDatabaseResults(), "c"), Strings{"0.3"});
}

TEST(SqliteValuesCompareTest, ATextHoldingANulIsComparedAndShownWhole) {
    auto run = sqliteRun("INSERT INTO t VALUES (1, 'a' || char(0) || 'b');",
                         "INSERT INTO t VALUES (1, 'a' || char(0) || 'c');");
    ASSERT_TRUE(run->runFull());
    const ResultCollection& master = *run->core.getMasterDatabaseResults();
    ASSERT_EQ(master.count(), 2);
    EXPECT_EQ(master.item(2)->getDataValue(), std::string("a\0b", 3));
    EXPECT_EQ(master.item(2)->getLength(), "3");
}

} // namespace
} // namespace sifkit::test
