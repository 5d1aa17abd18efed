// SPDX-License-Identifier: MIT
#include "support/DataRun.h"

#include <sifkit/SyncRun.h>

#include <gtest/gtest.h>

#include <fstream>

namespace sifkit::test {
namespace {

/// Table and column names a user's database may hold, each of which once changed what a
/// statement did or which column it wrote.
const std::vector<std::string> hostileNames{
    "x]; drop table y; --", "a[b",        "a[b]]c",   "a]b",   "it's",
    "say \"hi\"",           "semi;colon", " padded ", "order", "Größe",
};

std::string quotedName(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

/// The engine's field list form of a name: square brackets, a "]" inside doubled.
std::string bracketed(const std::string& name) {
    std::string text = "[";
    for (char c : name)
        text += c == ']' ? std::string("]]") : std::string(1, c);
    return text + "]";
}

/// Table N with a text column N and a real v; the Modified side holds its columns in another
/// order. Record 1 differs in both values (reals that 15 digits cannot tell apart), record 2 is
/// in the Original only, record 3 in the Modified only. Table y must survive everything.
std::string originalScript(const std::string& name) {
    const std::string n = quotedName(name);
    return "CREATE TABLE y (id INTEGER PRIMARY KEY);INSERT INTO y VALUES (1);"
           "CREATE TABLE " +
           n + " (id INTEGER PRIMARY KEY, " + n + " TEXT, v DOUBLE PRECISION);INSERT INTO " + n +
           " VALUES (1, 'O''Neil 50%_', 1.0000000000000002);INSERT INTO " + n + " VALUES (2, 'Null', NULL);";
}

std::string modifiedScript(const std::string& name) {
    const std::string n = quotedName(name);
    return "CREATE TABLE y (id INTEGER PRIMARY KEY);INSERT INTO y VALUES (1);"
           "CREATE TABLE " +
           n + " (id INTEGER PRIMARY KEY, v DOUBLE PRECISION, " + n + " TEXT);INSERT INTO " + n + " (id, " +
           n + ", v) VALUES (1, 'a2', 0.30000000000000004);INSERT INTO " + n + " (id, " + n +
           ", v) VALUES (3, 'c', 2.5);";
}

class HostileNamesTest : public EachDatabaseTest {};

TEST_P(HostileNamesTest, CompareCopyUpdateAndRollBackLikeAnyOtherName) {
    for (const std::string& name : hostileNames) {
        if (GetParam() == DatabaseKind::Mariadb && name.back() == ' ')
            continue; // MariaDB allows no name that ends in a blank
        SCOPED_TRACE("name: " + name);
        DataRun run(originalScript(name), modifiedScript(name), GetParam());
        const std::string n = quotedName(name);
        auto sourceRow = [&](int id) {
            return run.querySource("select " + n + ", v is null from " + n +
                                   " where id = " + std::to_string(id));
        };
        // The SQLite ODBC driver carries reals as text of 15 significant digits both ways; the
        // exact round trip is checked where the connection carries doubles (libsqlite3 and
        // PostgreSQL).
        auto sourceHasReal = [&](int id, const char* real) {
            if (GetParam() == DatabaseKind::SqliteOdbc)
                return true;
            return run.querySource("select count(*) from " + n + " where id = " + std::to_string(id) +
                                   " and v = " + real) == "1\n";
        };

        // Structure with fields: the table and its columns are read on both sides, nothing runs
        // that the names could change.
        Sifcore structure;
        ASSERT_TRUE(structure.beginFullDatabaseCompare(run.masterConnection, run.sourceConnection, false));
        for (bool isMaster : {true, false}) {
            ResultCollectionPtr items =
                isMaster ? structure.getMasterDatabaseResults() : structure.getSourceDatabaseResults();
            bool fieldSeen = false;
            for (int32_t i = 1; i <= items->count(); ++i)
                fieldSeen |=
                    items->item(i)->getDatabaseObjName() == name && items->item(i)->getFieldName() == name;
            EXPECT_TRUE(fieldSeen) << structure.getErrorLogs(isMaster);
        }
        EXPECT_EQ(run.queryMaster("select count(*) from y"), "1\n");
        EXPECT_EQ(run.querySource("select count(*) from y"), "1\n");

        // Data: records 1 and 2 on the Original side, 1 and 3 on the Modified side.
        run.prepare(name, "[id]," + bracketed(name) + ",[v]");
        ASSERT_TRUE(run.runFull()) << run.core.getErrorLogs(true) << run.core.getErrorLogs(false);
        auto master = run.core.getMasterDataManager();
        auto source = run.core.getSourceDataManager();
        const ResultCollection& onMaster = *run.core.getMasterDatabaseResults();
        const ResultCollection& onSource = *run.core.getSourceDatabaseResults();
        EXPECT_EQ(reportedValues(onMaster, "id"), (std::vector<std::string>{"1", "2"}));
        EXPECT_EQ(reportedValues(onSource, "id"), (std::vector<std::string>{"1", "3"}));

        // Copy record 2: every value lands in the column of its name.
        master->setCurrentRecordNumber(reportedRecordNumber(onMaster, "id", "2"));
        EXPECT_EQ(run.core.copyRecordFromRecordNumber(master, source, true), "Successfully Completed");
        EXPECT_EQ(sourceRow(2),
                  "Null|" + std::string(GetParam() == DatabaseKind::Postgres ? "t" : "1") + "\n");

        // Update record 1 from the Original, then roll it back: both exact to the last digit.
        master->setCurrentRecordNumber(reportedRecordNumber(onMaster, "id", "1"));
        source->setCurrentRecordNumber(reportedRecordNumber(onSource, "id", "1"));
        const std::string rollbackFile = run.dir.file("ORIGINAL_rollback.xml");
        EXPECT_EQ(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
                  "Successfully Completed");
        EXPECT_EQ(sourceRow(1),
                  "O'Neil 50%_|" + std::string(GetParam() == DatabaseKind::Postgres ? "f" : "0") + "\n");
        EXPECT_TRUE(sourceHasReal(1, "1.0000000000000002"));
        EXPECT_EQ(run.core.rollBackFromSQL(master, source, true, rollbackFile, run.core.getRollBackSQL()),
                  "Successfully Completed");
        EXPECT_TRUE(sourceHasReal(1, "0.30000000000000004"));
        EXPECT_EQ(run.querySource("select " + n + " from " + n + " where id = 1"), "a2\n");

        // Updated again, then rolled back as a later run of the program does it: new managers,
        // the file name and the statement as the settings file keeps them. The statement is
        // only shown, whatever it holds: the file says which record to restore.
        ASSERT_EQ(run.core.updateRecordFromRecordNumber(master, source, true, rollbackFile),
                  "Successfully Completed");
        const std::string stored = run.core.getRollBackSQL();
        Sifcore later;
        for (auto [manager, connection] : {std::pair{later.getMasterDataManager(), run.masterConnection},
                                           std::pair{later.getSourceDataManager(), run.sourceConnection}}) {
            manager->setConnectionString(connection);
            manager->openDatabaseConnection();
            manager->setTableName(name);
        }
        later.getSourceDataManager()->setRollbackFileName(rollbackFile);
        EXPECT_EQ(later.rollBackFromSQL(later.getMasterDataManager(), later.getSourceDataManager(), true,
                                        rollbackFile, "DELETE FROM y; " + stored),
                  "Successfully Completed");
        EXPECT_TRUE(sourceHasReal(1, "0.30000000000000004"));
        EXPECT_EQ(run.querySource("select " + n + " from " + n + " where id = 1"), "a2\n");
        EXPECT_EQ(run.queryMaster("select count(*) from y"), "1\n");
        EXPECT_EQ(run.querySource("select count(*) from y"), "1\n");
        master->setRollbackFileName("");
        master->setRollbackRecordset(Recordset());
    }
}

TEST_P(HostileNamesTest, BroughtIntoLineByApplyAndByScriptLikeAnyOtherName) {
    for (const std::string& name : hostileNames) {
        if (GetParam() == DatabaseKind::Mariadb && name.back() == ' ')
            continue;
        SCOPED_TRACE("name: " + name);
        DataRun run(originalScript(name), modifiedScript(name), GetParam());
        const std::string n = quotedName(name);
        const std::string rows = "select id, " + n + ", v from " + n + " order by id";
        run.prepare(name, "[id]," + bracketed(name) + ",[v]");
        ASSERT_TRUE(run.runFull());
        const SyncPlan plan = planSync(run.core.lastDataResult(), SyncDirection::ToModified);
        Connection modified;
        modified.open(run.sourceConnection);

        const std::string before = run.querySource(rows);
        const std::string undoFile = run.dir.file("undo.xml");
        applySync(plan, modified, {"o", "m"}, undoFile);
        EXPECT_EQ(run.querySource(rows), run.queryMaster(rows));
        undoSync(modified, undoFile);
        EXPECT_EQ(run.querySource(rows), before);

        const std::string script = run.dir.file("sync.sql");
        std::ofstream(script) << syncScript(plan, modified, {"o", "m"});
        run.runSourceScript(script);
        EXPECT_FALSE(run.runFull()) << "differences left after the script";
        EXPECT_EQ(run.querySource("select count(*) from y"), "1\n");
    }
}

SIFKIT_FOR_EACH_DATABASE(HostileNamesTest);

} // namespace
} // namespace sifkit::test
