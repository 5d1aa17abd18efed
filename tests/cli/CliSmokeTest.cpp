// SPDX-License-Identifier: MIT
#include "CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace sifkit::test {
namespace {

TEST(CliSmokeTest, VersionAndHelp) {
    CliResult version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("dbsift-compare ") + DBSIFT_VERSION + "\n");

    CliResult help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* part : {"Usage: dbsift-compare", "--fields", "--views", "--differences-only", "--table",
                             "--columns", "--format", "--user", "--password-env", "--create-samples",
                             "Exit status: 0 no differences, 1 differences found, 2 trouble."})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
}

TEST(CliSmokeTest, CreatedSamplesHoldWhatTheirScriptsSayAndAreNeverOverwritten) {
    TempDir dir;
    const std::filesystem::path folder = dir.path() / "data" / "dbsift";
    CliResult created = runCli({"--create-samples", folder.string()});
    EXPECT_EQ(created.status, 0);
    EXPECT_EQ(created.out, (folder / "original.db").string() + " created\n" +
                               (folder / "modified.db").string() + " created\n");

    // The same schema, views included, as a file the sqlite3 shell made from the script, and
    // the same rows by sqldiff, a peer tool.
    for (const char* name : {"original", "modified"}) {
        const std::string reference = dir.file(std::string(name) + "-reference.db");
        createSqliteDatabase(reference, sampleScript(std::string(name) + ".sql"));
        const std::string path = (folder / (std::string(name) + ".db")).string();
        const std::string schema = "SELECT type, name, sql FROM sqlite_master ORDER BY name";
        EXPECT_EQ(sqliteQuery(path, schema), sqliteQuery(reference, schema));
        std::string command = std::string(SIFKIT_TEST_SQLDIFF) + " '" + path + "' '" + reference + "' 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string differences;
        char buffer[512];
        while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
            differences.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0);
        EXPECT_EQ(differences, "") << name;
        EXPECT_EQ(sqliteQuery(path, "SELECT name FROM customers WHERE id = 2"), "Bob O'Brien\n");
    }

    std::filesystem::resize_file(folder / "modified.db", 0); // a user's file, whatever it holds
    CliResult again = runCli({"--create-samples", folder.string()});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, (folder / "original.db").string() + " exists, left as it is\n" +
                             (folder / "modified.db").string() + " exists, left as it is\n");
    EXPECT_EQ(std::filesystem::file_size(folder / "modified.db"), 0u);
}

TEST(CliSmokeTest, SamplesAreCreatedWithoutAnyOdbcDriverInstalled) {
    TempDir dir;
    const std::string drivers = dir.file("odbcinst.ini");
    std::ofstream(drivers) << ""; // a machine where no ODBC driver is registered
    const std::filesystem::path folder = dir.path() / "samples";
    CliResult created = runCli({"--create-samples", folder.string()},
                               {{"ODBCSYSINI", dir.path().string()}, {"ODBCINI", dir.file("odbc.ini")}});
    EXPECT_EQ(created.status, 0) << created.err;
    EXPECT_EQ(sqliteQuery((folder / "original.db").string(), "SELECT count(*) FROM customers"), "5\n");
}

} // namespace
} // namespace sifkit::test
