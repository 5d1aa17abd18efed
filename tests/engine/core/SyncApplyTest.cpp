// SPDX-License-Identifier: MIT
// Bringing a table into line: a plan from a comparison, applied in one transaction with an undo
// file, or written as a script that the database's own client runs.
#include "support/DataRun.h"

#include <sifkit/SyncRun.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace sifkit::test {
namespace {

namespace fs = std::filesystem;

const std::string table = "it's \"t\"";
const std::string quotedTable = "\"it's \"\"t\"\"\"";

std::string binaryType(DatabaseKind kind) {
    return kind == DatabaseKind::Postgres  ? "BYTEA"
           : kind == DatabaseKind::Mariadb ? "VARBINARY(40)"
                                           : "BLOB";
}

std::string binary(DatabaseKind kind, const std::string& hex) {
    return kind == DatabaseKind::Postgres ? "'\\x" + hex + "'::bytea" : "X'" + hex + "'";
}

/// A text literal holding a backslash, as the kind's own scripts spell it.
std::string withBackslash(DatabaseKind kind) {
    return kind == DatabaseKind::Mariadb ? "'C:\\\\dir\\\\' " : "'C:\\dir\\' ";
}

/// A table with a hostile name and values that test every literal form: quotes, a backslash, a
/// line break, non-Latin letters, a decimal written with trailing zeros, reals that need 17
/// digits, binary with a zero byte, Nulls. The Modified lacks record 2, holds record 1 changed
/// and record 5 of its own; records 3 and 4 are equal.
std::string script(DatabaseKind kind, bool modified) {
    std::string text = "CREATE TABLE " + quotedTable + " (id INTEGER PRIMARY KEY, \"na;me\" VARCHAR(200), " +
                       "price DECIMAL(14,4), ratio DOUBLE PRECISION, data " + binaryType(kind) +
                       ", note TEXT);";
    const auto row = [&](const std::string& values) {
        text += "INSERT INTO " + quotedTable + " VALUES (" + values + ");";
    };
    if (!modified) {
        row("1, 'O''Neil' || " + withBackslash(kind) + ", 12.3400, 0.1, " + binary(kind, "00FF10") +
            ", 'Größe 😀'");
        row("2, 'Null', NULL, 1e300, NULL, NULL");
    } else {
        row("1, 'Ann', 12.3, 0.30000000000000004, " + binary(kind, "01") + ", 'Größe 😀'");
        row("5, 'line\nbreak', -0.0001, 2.5, " + binary(kind, "") + ", 'only here'");
    }
    row("3, 'same', 1.5000, 1.0000000000000002, NULL, 'x'");
    row("4, '', 0, -2.5e-300, " + binary(kind, "ABCDEF") + ", NULL");
    return text;
}

/// The values of records, whatever their order.
std::vector<std::string> valuesOf(const std::vector<DataRecord>& records) {
    std::vector<std::string> rows;
    for (const DataRecord& record : records) {
        std::string row;
        for (const Value& value : record.values)
            row += (value.isNull() ? "NULL" : value.toString()) + "|";
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

class SyncApplyTest : public EachDatabaseTest {
protected:
    void SetUp() override {
        EachDatabaseTest::SetUp();
        if (IsSkipped())
            return;
        run = std::make_unique<DataRun>(script(GetParam(), false), script(GetParam(), true), GetParam());
        undoFile = run->dir.file("sync-undo.xml");
        compare();
        ASSERT_EQ(run->core.lastDataResult().outcome, DataOutcome::Differences);
    }

    /// Compares the table again: what a user sees after a change.
    const DataResult& compare() {
        run->prepare(table, "[id],[na;me],[price],[ratio],[data],[note]");
        run->runFull(); // true when it found differences
        EXPECT_NE(run->core.lastDataResult().outcome, DataOutcome::Failed);
        return run->core.lastDataResult();
    }
    std::string modifiedRows() { return run->querySource("SELECT * FROM " + quotedTable + " ORDER BY id"); }
    Connection modifiedConnection() {
        Connection connection;
        connection.open(run->sourceConnection);
        return connection;
    }

    std::unique_ptr<DataRun> run;
    std::string undoFile;
    const SyncNames names{"original.db", "modified.db"};
};

TEST_P(SyncApplyTest, ApplyLeavesNoDifferencesAndUndoRestoresTheTargetExactly) {
    const DataResult before = run->core.lastDataResult();
    const std::string rowsBefore = modifiedRows();
    const SyncPlan plan = planSync(before, SyncDirection::ToModified);
    EXPECT_EQ(plan.count(SyncKind::Insert), 1);
    EXPECT_EQ(plan.count(SyncKind::Update), 1);
    EXPECT_EQ(plan.count(SyncKind::Delete), 1);

    const SyncRecord applied = applySync(plan, modifiedConnection(), names, undoFile);
    EXPECT_EQ(applied.tables, (std::vector<SyncedTable>{{table, 1, 1, 1}}));
    EXPECT_EQ(applied.description(),
              "1 inserted, 1 updated, 1 deleted in " + table + " (Modified: modified.db)");
    EXPECT_EQ(compare().outcome, DataOutcome::NoDifferences);
    EXPECT_EQ(readSyncUndo(undoFile).id, applied.id);

    undoSync(modifiedConnection(), undoFile);
    EXPECT_EQ(modifiedRows(), rowsBefore);
    // The same records differ again (a server may keep the restored rows in another order).
    const DataResult again = compare();
    EXPECT_EQ(valuesOf(again.original), valuesOf(before.original));
    EXPECT_EQ(valuesOf(again.modified), valuesOf(before.modified));
    // An undo run twice finds every row as it was and changes nothing.
    undoSync(modifiedConnection(), undoFile);
    EXPECT_EQ(modifiedRows(), rowsBefore);
}

TEST_P(SyncApplyTest, TheOtherDirectionAndAChoiceOfRecords) {
    const DataResult& result = run->core.lastDataResult();
    const DataRecord* changed = nullptr;
    for (const DataRecord& record : result.original)
        if (record.counterpart > 0)
            changed = &record;
    ASSERT_NE(changed, nullptr);
    // Only the changed pair, chosen by its Modified record, made like the Modified.
    const SyncPlan plan = planSync(result, SyncDirection::ToOriginal, [&](Side side, int32_t number) {
        return side == Side::Modified && number == changed->counterpart;
    });
    ASSERT_EQ(plan.tables.at(0).changes.size(), 1u);
    EXPECT_EQ(plan.tables[0].changes[0].kind, SyncKind::Update);
    const std::string originalBefore = run->queryMaster("SELECT * FROM " + quotedTable + " ORDER BY id");
    Connection original;
    original.open(run->masterConnection);
    applySync(plan, original, names, undoFile);
    EXPECT_EQ(run->queryMaster("SELECT \"na;me\" FROM " + quotedTable + " WHERE id = 1"), "Ann\n");
    EXPECT_EQ(compare().original.size(), 1u); // record 2 is left as it was
    undoSync(original, undoFile);
    EXPECT_EQ(run->queryMaster("SELECT * FROM " + quotedTable + " ORDER BY id"), originalBefore);
}

TEST_P(SyncApplyTest, ARowChangedSinceTheComparisonStopsTheApplyWithNothingWritten) {
    const SyncPlan plan = planSync(run->core.lastDataResult(), SyncDirection::ToModified);
    // Another program changes the row the apply would update (a column the apply does not write).
    run->querySource("UPDATE " + quotedTable + " SET note = 'meanwhile' WHERE id = 1");
    const std::string rowsBefore = modifiedRows();
    try {
        applySync(plan, modifiedConnection(), names, undoFile);
        ADD_FAILURE() << "the apply went on over a changed row";
    } catch (const Error& error) {
        EXPECT_NE(error.description().find("row id = 1: it changed or was removed since the comparison."),
                  std::string::npos)
            << error.description();
        EXPECT_NE(error.description().find("Nothing was written."), std::string::npos);
    }
    EXPECT_EQ(modifiedRows(), rowsBefore);
    EXPECT_FALSE(fs::exists(undoFile));

    // A row the apply inserts that another program inserted meanwhile: refused by the key.
    run->querySource("INSERT INTO " + quotedTable + " (id) VALUES (2)");
    const std::string withInserted = modifiedRows();
    EXPECT_THROW(applySync(plan, modifiedConnection(), names, undoFile), Error);
    EXPECT_EQ(modifiedRows(), withInserted);
    EXPECT_FALSE(fs::exists(undoFile));
}

TEST_P(SyncApplyTest, AnUndoOverARowChangedSinceTheApplyRestoresNothing) {
    applySync(planSync(run->core.lastDataResult(), SyncDirection::ToModified), modifiedConnection(), names,
              undoFile);
    run->querySource("UPDATE " + quotedTable + " SET \"na;me\" = 'later' WHERE id = 2");
    const std::string rowsBefore = modifiedRows();
    try {
        undoSync(modifiedConnection(), undoFile);
        ADD_FAILURE() << "the undo deleted a row changed since the apply";
    } catch (const Error& error) {
        EXPECT_NE(error.description().find("row id = 2: it changed since the sync was applied."),
                  std::string::npos)
            << error.description();
    }
    EXPECT_EQ(modifiedRows(), rowsBefore);
    // An undo file is refused for another database.
    Connection original;
    original.open(run->masterConnection);
    EXPECT_THROW(undoSync(original, undoFile), Error);
}

TEST_P(SyncApplyTest, AScriptRunByTheDatabasesOwnClientLeavesNoDifferences) {
    const SyncPlan plan = planSync(run->core.lastDataResult(), SyncDirection::ToModified);
    const std::string text = syncScript(plan, modifiedConnection(), {"original.db", "dsn:x;Password=secret"});
    EXPECT_EQ(text.find("secret"), std::string::npos);
    EXPECT_NE(text.find("-- Changes the Modified: 1 insert, 1 update, 1 delete."), std::string::npos) << text;
    const std::string path = run->dir.file("sync.sql");
    std::ofstream(path) << text;
    run->runSourceScript(path);
    EXPECT_EQ(compare().outcome, DataOutcome::NoDifferences) << text;
}

/// Parents and children in one plan, the children's table first: the parents' rows are inserted
/// before the children that reference them, and deleted after them.
class SyncForeignKeyTest : public EachDatabaseTest {};

TEST_P(SyncForeignKeyTest, ReferencedTablesAreInsertedFirstAndDeletedLast) {
    const std::string tables = "CREATE TABLE parent (id INTEGER PRIMARY KEY, name VARCHAR(20));"
                               "CREATE TABLE child (id INTEGER PRIMARY KEY, parent_id INTEGER NOT NULL "
                               "REFERENCES parent (id));";
    DataRun run(tables + "INSERT INTO parent VALUES (1, 'a');INSERT INTO parent VALUES (2, 'b');"
                         "INSERT INTO child VALUES (10, 2);",
                tables + "INSERT INTO parent VALUES (1, 'a');INSERT INTO parent VALUES (3, 'c');"
                         "INSERT INTO child VALUES (11, 3);",
                GetParam());
    std::vector<DataResult> results;
    for (const std::string name : {"child", "parent"}) {
        run.prepare(name, name == "child" ? "[id],[parent_id]" : "[id],[name]");
        ASSERT_TRUE(run.runFull());
        results.push_back(run.core.lastDataResult());
    }
    const SyncPlan plan = planSync(results, SyncDirection::ToModified);
    ASSERT_EQ(plan.tables.size(), 2u);
    Connection modified;
    modified.open(run.sourceConnection);
    const std::string undoFile = run.dir.file("undo.xml");
    applySync(plan, modified, {"o", "m"}, undoFile);
    EXPECT_EQ(run.querySource("SELECT id FROM parent ORDER BY id"), "1\n2\n");
    EXPECT_EQ(run.querySource("SELECT id, parent_id FROM child ORDER BY id"), "10|2\n");
    undoSync(modified, undoFile);
    EXPECT_EQ(run.querySource("SELECT id FROM parent ORDER BY id"), "1\n3\n");
    EXPECT_EQ(run.querySource("SELECT id, parent_id FROM child ORDER BY id"), "11|3\n");

    const std::string script = run.dir.file("sync.sql");
    std::ofstream(script) << syncScript(plan, modified, {"o", "m"});
    run.runSourceScript(script);
    EXPECT_EQ(run.querySource("SELECT id, parent_id FROM child ORDER BY id"), "10|2\n");
}

SIFKIT_FOR_EACH_DATABASE(SyncApplyTest);
SIFKIT_FOR_EACH_DATABASE(SyncForeignKeyTest);

/// A table without a key: rows are found by every value, identical rows inserted and deleted
/// together (and taken back together), and records both sides hold a different number of times
/// left as they are.
TEST(SyncPlanTest, RecordsWithoutAKeyAreFoundByEveryValue) {
    DataRun run(
        "CREATE TABLE t (a INTEGER, b TEXT);INSERT INTO t VALUES (1, 'x');INSERT INTO t VALUES (1, 'x');"
        "INSERT INTO t VALUES (2, 'y');INSERT INTO t VALUES (2, 'y');",
        "CREATE TABLE t (a INTEGER, b TEXT);INSERT INTO t VALUES (3, 'z');INSERT INTO t VALUES (3, 'z');"
        "INSERT INTO t VALUES (2, 'y');");
    run.prepare("t", "[a],[b]");
    ASSERT_TRUE(run.runFull()); // differences found
    const SyncPlan plan = planSync(run.core.lastDataResult(), SyncDirection::ToModified);
    ASSERT_EQ(plan.tables[0].changes.size(), 2u); // each pair of identical rows is one change
    EXPECT_EQ(plan.count(SyncKind::Insert), 2);
    EXPECT_EQ(plan.count(SyncKind::Delete), 2);
    EXPECT_EQ(plan.tables[0].changes[1].copies, 2);
    ASSERT_EQ(plan.tables[0].leftOut.size(), 1u);
    EXPECT_NE(plan.tables[0].leftOut[0].find("a = 2, b = y 2 times, the Modified 1 times"), std::string::npos)
        << plan.tables[0].leftOut[0];

    Connection modified;
    modified.open(run.sourceConnection);
    const std::string undoFile = run.dir.file("undo.xml");
    applySync(plan, modified, {"o", "m"}, undoFile);
    EXPECT_EQ(run.querySource("SELECT a, b FROM t ORDER BY a"), "1|x\n1|x\n2|y\n");
    undoSync(modified, undoFile);
    EXPECT_EQ(run.querySource("SELECT a, b FROM t ORDER BY a"), "2|y\n3|z\n3|z\n");
}

} // namespace
} // namespace sifkit::test
