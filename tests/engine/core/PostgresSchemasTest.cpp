// SPDX-License-Identifier: MIT
#include "support/DataRun.h"
#include "support/PostgresServer.h"

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

std::string changeOf(const ResultCollectionPtr& items, const std::string& table, const std::string& field) {
    for (int32_t i = 1; i <= items->count(); ++i)
        if (items->item(i)->getDatabaseObjName() == table && items->item(i)->getFieldName() == field)
            return items->item(i)->getChangeType();
    return "absent";
}

/// Table t in the default schema and another t in schema x, whose Original holds a field b and
/// a record 2 that the Modified lacks.
class PostgresSchemasTest : public testing::Test {
protected:
    void SetUp() override {
        if (!PostgresServer::instance())
            GTEST_SKIP() << "PostgreSQL: " << PostgresServer::why();
        run = std::make_unique<DataRun>(
            "CREATE TABLE t (id INTEGER PRIMARY KEY, a TEXT);INSERT INTO t VALUES (1, 'public');"
            "CREATE SCHEMA x;CREATE TABLE x.t (id INTEGER PRIMARY KEY, a TEXT, b TEXT);"
            "INSERT INTO x.t VALUES (1, 'x1', 'b');INSERT INTO x.t VALUES (2, 'x2', 'b');",
            "CREATE TABLE t (id INTEGER PRIMARY KEY, a TEXT);INSERT INTO t VALUES (1, 'public');"
            "CREATE SCHEMA x;CREATE TABLE x.t (id INTEGER PRIMARY KEY, a TEXT);INSERT INTO x.t VALUES (1, "
            "'x1');",
            DatabaseKind::Postgres);
    }
    std::unique_ptr<DataRun> run;
};

TEST_F(PostgresSchemasTest, ATableOutsideTheDefaultSchemaIsReadAndNamedWithItsSchema) {
    Sifcore core;
    ASSERT_TRUE(core.beginFullDatabaseCompare(run->masterConnection, run->sourceConnection, false));
    const ResultCollectionPtr original = core.getMasterDatabaseResults();
    const ResultCollectionPtr modified = core.getSourceDatabaseResults();
    EXPECT_EQ(changeOf(original, "x.t", ""), "0");
    EXPECT_EQ(changeOf(original, "x.t", "b"), "2");
    EXPECT_EQ(changeOf(original, "x.t", "a"), "0");
    EXPECT_EQ(changeOf(modified, "x.t", "b"), "absent");
    EXPECT_EQ(changeOf(original, "t", "b"), "absent");
    EXPECT_EQ(changeOf(original, "t", "a"), "0");
    for (int32_t i = 1; i <= original->count(); ++i) {
        if (original->item(i)->getDatabaseObjName() == "x.t" && original->item(i)->getFieldName().empty()) {
            EXPECT_EQ(original->item(i)->getPrimaryKey(), "id");
        }
    }
}

TEST_F(PostgresSchemasTest, RecordsOfASchemasTableAreComparedAndCopiedThere) {
    run->prepare("x.t", "[id],[a]");
    ASSERT_TRUE(run->runFull()) << run->core.getErrorLogs(true);
    const ResultCollection& onMaster = *run->core.getMasterDatabaseResults();
    EXPECT_EQ(reportedValues(onMaster, "id"), std::vector<std::string>{"2"});
    auto master = run->core.getMasterDataManager();
    master->setCurrentRecordNumber(reportedRecordNumber(onMaster, "id", "2"));
    EXPECT_EQ(run->core.copyRecordFromRecordNumber(master, run->core.getSourceDataManager(), true),
              "Successfully Completed");
    EXPECT_EQ(run->querySource("SELECT id, a FROM x.t ORDER BY id"), "1|x1\n2|x2\n");
    EXPECT_EQ(run->querySource("SELECT id, a FROM public.t ORDER BY id"), "1|public\n");
}

} // namespace
} // namespace sifkit::test
