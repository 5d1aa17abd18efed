// SPDX-License-Identifier: MIT
#include "support/DataRun.h"
#include "support/PostgresServer.h"

#include "core/DataMatch.h"

#include <sifkit/clsDBManager.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace sifkit::test {
namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::string fileContent(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

/// A table of `rows` equal records on both sides, but for the last one, whose value differs.
std::string numbersScript(int rows, const std::string& lastValue) {
    std::string script = "CREATE TABLE numbers (id INTEGER PRIMARY KEY, word TEXT);";
    for (int id = 1; id <= rows; ++id)
        script += "INSERT INTO numbers VALUES (" + std::to_string(id) + ", '" +
                  (id == rows ? lastValue : "w" + std::to_string(id)) + "');";
    return script;
}

class DataSafetyTest : public EachDatabaseTest {
protected:
    void TearDown() override {
        // The rollback store is the process's: leave it as a new process finds it.
        clsDBManager store;
        store.setRollbackFileName("");
        store.setRollbackRecordset(Recordset());
    }
};

TEST_P(DataSafetyTest, ALookUpThatFailsEndsThePassWithOneMessageAndIsNeverAMatch) {
    // One look-up per record, so that the Modified side can go away between two of them (an
    // index of its records would be read whole before the first record is answered).
    detail::PerRecordMatchScope perRecordOnly;
    DataRun run(numbersScript(120, "original"), numbersScript(120, "modified"), GetParam());
    run.prepare("numbers", "[id],[word]");
    bool broken = false;
    // Halfway through the Original pass the Modified side goes away: its table on SQLite, its
    // server connections on PostgreSQL, its table on MariaDB.
    run.core.setUpdateCountHandler([&](int32_t&, int32_t&, std::string&) {
        if (broken)
            return;
        broken = true;
        if (isSqliteKind(GetParam()))
            sqliteQuery(run.sourcePath, "ALTER TABLE numbers RENAME TO gone");
        else if (GetParam() == DatabaseKind::Mariadb)
            run.querySource("ALTER TABLE numbers RENAME TO gone");
        else
            PostgresServer::instance()->query(
                run.masterDatabase,
                "SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE datname = '" +
                    run.sourceDatabase + "'");
    });
    EXPECT_FALSE(run.runFull());
    ASSERT_TRUE(broken);
    const std::string logs = run.core.getErrorLogs(true);
    EXPECT_EQ(occurrences(logs, " #4 "), 1u) << logs;
    EXPECT_EQ(occurrences(logs, " #14 "), 1u) << logs;
    // Record 120 differs but was never looked up: no record is reported as found or missing
    // on the strength of a look-up that did not run.
    EXPECT_EQ(reportedRecordNumber(*run.core.getMasterDataManager()->getResults(), "id", "120"), 0);
}

TEST_P(DataSafetyTest, AnUpdateTellsTheTextNullFromANull) {
    // No primary key: records are found by their values alone.
    DataRun run("CREATE TABLE notes (word TEXT, n INTEGER);INSERT INTO notes VALUES ('Null', 7);",
                "CREATE TABLE notes (word TEXT, n INTEGER);INSERT INTO notes VALUES ('Null', 1);"
                "INSERT INTO notes VALUES (NULL, 1);",
                GetParam());
    run.prepare("notes", "[word],[n]");
    ASSERT_TRUE(run.runFull());
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    const ResultCollection& onSource = *run.core.getSourceDatabaseResults();
    int32_t textNull = 0;
    for (int32_t i = 1; i <= onSource.count(); ++i)
        if (onSource.item(i)->getFieldName() == "word" && !onSource.item(i)->getIsNull())
            textNull = onSource.item(i)->getRecordNumber();
    ASSERT_NE(textNull, 0);
    master->setCurrentRecordNumber(1);
    source->setCurrentRecordNumber(textNull);
    EXPECT_EQ(run.core.updateRecordFromRecordNumber(master, source, true, run.dir.file("ORIGINAL_notes.xml")),
              "Successfully Completed");
    EXPECT_EQ(run.querySource("SELECT coalesce(word, '<null>'), n FROM notes ORDER BY n, word"),
              "<null>|1\nNull|7\n");
}

TEST_P(DataSafetyTest, ARejectedUpdateLeavesTheEarlierRollbackFileAsItWas) {
    DataRun run("CREATE TABLE u (id INTEGER PRIMARY KEY, name TEXT);INSERT INTO u VALUES (1, 'B');"
                "INSERT INTO u VALUES (2, 'B');",
                "CREATE TABLE u (id INTEGER PRIMARY KEY, name TEXT UNIQUE);INSERT INTO u VALUES (1, 'X');"
                "INSERT INTO u VALUES (2, 'A');",
                GetParam());
    run.prepare("u", "[id],[name]");
    ASSERT_TRUE(run.runFull());
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    auto position = [&](const char* id) {
        master->setCurrentRecordNumber(reportedRecordNumber(*run.core.getMasterDatabaseResults(), "id", id));
        source->setCurrentRecordNumber(reportedRecordNumber(*run.core.getSourceDatabaseResults(), "id", id));
    };
    const std::string rollbackFile = run.dir.file("ORIGINAL_u.xml");
    position("2");
    ASSERT_EQ(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    const std::string firstRollback = run.core.getRollBackSQL();
    const std::string firstFile = fileContent(rollbackFile);
    // Record 1 cannot take the name B: the Modified side's record 2 holds it now.
    position("1");
    EXPECT_NE(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    EXPECT_EQ(run.querySource("SELECT id, name FROM u ORDER BY id"), "1|X\n2|B\n");
    EXPECT_EQ(fileContent(rollbackFile), firstFile);
    EXPECT_FALSE(std::filesystem::exists(rollbackFile + ".pending"));
    // The first update can still be rolled back.
    EXPECT_EQ(run.core.rollBackFromSQL(master, source, true, rollbackFile, firstRollback),
              "Successfully Completed");
    EXPECT_EQ(run.querySource("SELECT id, name FROM u ORDER BY id"), "1|X\n2|A\n");
}

/// A wide table:
/// record 1 differs in its last column, record 2 is on the Original side only.
std::string wideTable(int columns, const std::string& last, bool withSecond) {
    std::string script = "CREATE TABLE wide (id INTEGER PRIMARY KEY";
    std::string values;
    for (int i = 1; i < columns; ++i) {
        script += ", c" + std::to_string(i) + " TEXT";
        values += i + 1 < columns ? ", 'v'" : ", '" + last + "'";
    }
    script += ");INSERT INTO wide VALUES (1" + values + ");";
    if (withSecond)
        script += "INSERT INTO wide VALUES (2" + values + ");";
    return script;
}

TEST_P(DataSafetyTest, AWideTableIsComparedCopiedUpdatedAndRolledBack) {
    // SQLite's limits are the ones a wide row meets; a server's is tried on a table of some width.
    const int columns = isSqliteKind(GetParam()) ? 2000 : 300;
    DataRun run(wideTable(columns, "a", true), wideTable(columns, "b", false), GetParam());
    run.prepare("wide", "");
    ASSERT_TRUE(run.runFull()) << run.core.getErrorLogs(true) << run.core.getErrorLogs(false);
    auto master = run.core.getMasterDataManager();
    auto source = run.core.getSourceDataManager();
    const std::string last = "c" + std::to_string(columns - 1);
    master->setCurrentRecordNumber(reportedRecordNumber(*run.core.getMasterDatabaseResults(), "id", "2"));
    EXPECT_EQ(run.core.copyRecordFromRecordNumber(master, source, true), "Successfully Completed");
    EXPECT_EQ(run.querySource("SELECT " + last + " FROM wide WHERE id = 2"), "a\n");

    master->setCurrentRecordNumber(reportedRecordNumber(*run.core.getMasterDatabaseResults(), "id", "1"));
    source->setCurrentRecordNumber(reportedRecordNumber(*run.core.getSourceDatabaseResults(), "id", "1"));
    const std::string rollbackFile = run.dir.file("ORIGINAL_wide.xml");
    EXPECT_EQ(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
              "Successfully Completed");
    EXPECT_EQ(run.querySource("SELECT " + last + " FROM wide WHERE id = 1"), "a\n");
    EXPECT_EQ(run.core.rollBackFromSQL(master, source, true, rollbackFile, run.core.getRollBackSQL()),
              "Successfully Completed");
    EXPECT_EQ(run.querySource("SELECT " + last + " FROM wide WHERE id = 1"), "b\n");
}

SIFKIT_FOR_EACH_DATABASE(DataSafetyTest);

} // namespace
} // namespace sifkit::test
