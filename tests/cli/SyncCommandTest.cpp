// SPDX-License-Identifier: MIT
// --sql-script, --apply and --undo, run as users run them.
#include "CliRun.h"
#include "support/ServerState.h"

#include <sifkit/SyncRun.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace sifkit::test {
namespace {

namespace fs = std::filesystem;

/// The path --apply printed after "undo file: "; "" when it printed none.
std::string undoFileNamed(const std::string& err) {
    const std::string label = "undo file: ";
    const std::size_t at = err.find(label);
    if (at == std::string::npos)
        return {};
    const std::size_t end = err.find('\n', at);
    return err.substr(at + label.size(), end - at - label.size());
}

/// The undo files in a folder, leaving out the temporary files of a write cut short.
std::vector<fs::path> undoFilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().extension() == ".xml")
            files.push_back(entry.path());
    return files;
}

class SyncCommandTest : public testing::Test {
protected:
    std::string dump(const std::string& path) {
        return sqliteQuery(path, "SELECT * FROM customers ORDER BY id") +
               sqliteQuery(path, "SELECT * FROM products ORDER BY sku") +
               sqliteQuery(path, "SELECT * FROM orders ORDER BY order_id");
    }
    CliResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {samples.original, samples.modified});
        return runCli(args, {state});
    }

    SamplePair samples;
    std::pair<std::string, std::string> state{"XDG_STATE_HOME", samples.dir.file("state")};
};

TEST_F(SyncCommandTest, ApplyThenUndoRestoresTheFileByteForByte) {
    const std::string before = samples.dir.file("before.db");
    fs::copy_file(samples.modified, before);
    CliResult applied = run({"--data", "--apply", "--yes"});
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_NE(applied.err.find("applied 1 inserted, 3 updated, 3 deleted in customers, products, orders "
                               "(Modified: " +
                               samples.modified + ")"),
              std::string::npos)
        << applied.err;
    const std::string undoFile = undoFileNamed(applied.err);
    EXPECT_EQ(fs::path(undoFile).parent_path(), fs::path(state.second) / "dbsift" / "undo");
    for (const char* table : {"customers", "products", "orders"})
        EXPECT_EQ(run({"--table", table}).status, 0) << table;
    EXPECT_EQ(run({"--table", "orders", "--apply", "--yes"}).err, "dbsift-compare: nothing to apply\n");

    CliResult undone = runCli({"--undo", undoFile});
    ASSERT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(runCommand(std::string(SIFKIT_TEST_SQLDIFF) + " " + shellQuoted(before) + " " +
                         shellQuoted(samples.modified)),
              "");
}

TEST_F(SyncCommandTest, ScriptsInBothDirectionsLeaveNoDifferencesWhenTheShellRunsThem) {
    for (const std::string direction : {"to-modified", "to-original"}) {
        SCOPED_TRACE(direction);
        SamplePair pair;
        const std::string script = pair.dir.file("sync.sql");
        CliResult written = runCli({pair.original, pair.modified, "--table", "customers", "--sql-script",
                                    script, "--direction", direction});
        EXPECT_EQ(written.status, 1)
            << written.err; // the comparison's status: the script changed nothing yet
        const std::string target = direction == "to-modified" ? pair.modified : pair.original;
        runCommand("sqlite3 -bail " + shellQuoted(target) + " < " + shellQuoted(script));
        EXPECT_EQ(runCli({pair.original, pair.modified, "--table", "customers"}).status, 0);
    }
}

TEST_F(SyncCommandTest, WithoutATerminalOrAgreementNothingIsWritten) {
    const std::string before = dump(samples.modified);
    CliResult refused = run({"--table", "customers", "--apply"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("give --yes"), std::string::npos) << refused.err;
    EXPECT_EQ(dump(samples.modified), before);
    EXPECT_FALSE(fs::exists(state.second));

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--direction", "to-original"},
          {"--yes"},
          {"--sql-script", "x.sql"},
          {"--table", "customers", "--direction", "sideways", "--apply"}}) {
        CliResult usage = run(wrong);
        EXPECT_EQ(usage.status, 2) << wrong[0];
    }
    EXPECT_EQ(runCli({"--undo", samples.dir.file("none.xml"), samples.original}).status, 2);
    CliResult missing = runCli({"--undo", samples.dir.file("none.xml")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot be read"), std::string::npos) << missing.err;
}

TEST_F(SyncCommandTest, AnAccessFileIsRefusedBeforeAnythingIsWritten) {
    if (const std::string why = whyNoAccessFiles(); !why.empty())
        GTEST_SKIP() << why;
    const std::string access = samples.dir.file("nwind.mdb");
    fs::copy_file(fs::path(SIFKIT_TEST_ACCESS_FIXTURES) / "nwind.mdb", access);
    const std::string copy = samples.dir.file("products.db");
    createSqliteDatabase(copy, runCommand(installedProgram("mdb-schema") + " -T Products " +
                                          shellQuoted(access) + " sqlite 2>/dev/null") +
                                   runCommand(installedProgram("mdb-export") + " -I sqlite " +
                                              shellQuoted(access) + " Products 2>/dev/null") +
                                   "DELETE FROM Products WHERE ProductID = 1;");
    const auto bytes = [&] {
        std::ifstream in(access, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = bytes();
    CliResult intoAccess = runCli({copy, access, "--table", "Products", "--apply", "--yes"}, {state});
    EXPECT_EQ(intoAccess.status, 2);
    EXPECT_NE(intoAccess.err.find("Access files are opened read-only: nothing was written."),
              std::string::npos)
        << intoAccess.err;
    EXPECT_EQ(bytes(), before);
}

TEST_F(SyncCommandTest, ThroughADataSourceThePasswordIsInNoFileAndUndoAsksForItAgain) {
    const std::string password = "Pa55;w{o}rd";
    const std::pair<std::string, std::string> variable{"DBSIFT_TEST_PASSWORD", password};
    const std::string name = freshDataSourceName("Sync");
    OdbcConfig::instance().setUserDataSources({{name, "SQLite3", {{"Database", samples.modified}}}});
    const std::string script = samples.dir.file("sync.sql");
    CliResult applied = runCli({samples.original, "dsn:" + name, "--table", "customers", "--user", "ann",
                                "--password-env", variable.first, "--apply", "--yes", "--sql-script", script},
                               {variable, state});
    ASSERT_EQ(applied.status, 0) << applied.err;
    const std::string undoFile = undoFileNamed(applied.err);
    for (const std::string& file : {undoFile, script}) {
        std::ifstream in(file);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(text.find(password), std::string::npos) << file;
        EXPECT_EQ(text.find("Pa55"), std::string::npos) << file;
    }
    EXPECT_EQ(applied.err.find(password), std::string::npos);
    EXPECT_NE(readSyncUndo(undoFile).database.find("User ID=ann"), std::string::npos);
    CliResult undone = runCli({"--undo", undoFile, "--password-env", variable.first}, {variable});
    EXPECT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(runCli({samples.original, samples.modified, "--table", "customers"}).status, 1);
}

/// A program killed at any moment of an apply leaves the database as it was or as the apply
/// made it, and its undo file complete or absent (complete whenever the apply committed).
TEST_F(SyncCommandTest, AKillAtAnyMomentLeavesTheTargetBeforeOrAfterAndItsUndoFileComplete) {
    std::string rows = "CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT);BEGIN;";
    for (int id = 1; id <= 20000; ++id)
        rows += "INSERT INTO t VALUES (" + std::to_string(id) + ", 'old');";
    rows += "COMMIT;";
    // Killed at tenths of the time a whole run takes: while comparing, applying, writing the
    // undo file and committing.
    const auto started = std::chrono::steady_clock::now();
    const auto applyAll = [&](const DatabasePair& pair, const std::string& folder) {
        const pid_t child = fork();
        if (child == 0) {
            setenv("XDG_STATE_HOME", folder.c_str(), 1);
            if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
                _exit(126);
            execl(DBSIFT_COMPARE_PROGRAM, DBSIFT_COMPARE_PROGRAM, pair.original.c_str(),
                  pair.modified.c_str(), "--table", "t", "--apply", "--yes", static_cast<char*>(nullptr));
            _exit(127);
        }
        return child;
    };
    {
        DatabasePair whole("CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT);", rows);
        int status = 0;
        waitpid(applyAll(whole, whole.dir.file("state")), &status, 0);
        ASSERT_EQ(WEXITSTATUS(status), 0);
    }
    const auto wholeRun = std::chrono::steady_clock::now() - started;
    for (int tenth = 1; tenth <= 10; ++tenth) {
        const auto delay = wholeRun * tenth / 10;
        SCOPED_TRACE("killed after " + std::to_string(tenth) + " tenths of a run");
        DatabasePair pair("CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT);", rows);
        const std::string folder = pair.dir.file("state");
        const pid_t child = applyAll(pair, folder);
        ASSERT_GE(child, 0);
        std::this_thread::sleep_for(delay);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        const std::string left = sqliteQuery(pair.modified, "SELECT count(*) FROM t");
        EXPECT_TRUE(left == "20000\n" || left == "0\n") << left;
        const std::vector<fs::path> undoFiles = undoFilesIn(fs::path(folder) / "dbsift" / "undo");
        ASSERT_LE(undoFiles.size(), 1u);
        if (left == "0\n") {
            ASSERT_EQ(undoFiles.size(), 1u) << "the apply committed without its undo file";
        }
        if (!undoFiles.empty()) {
            EXPECT_EQ(readSyncUndo(undoFiles[0].string()).tables.at(0).deleted, 20000);
            EXPECT_EQ(runCli({"--undo", undoFiles[0].string()}).status, 0);
            EXPECT_EQ(sqliteQuery(pair.modified, "SELECT count(*), min(v), max(v) FROM t"),
                      "20000|old|old\n");
        }
    }
}

} // namespace
} // namespace sifkit::test
