// SPDX-License-Identifier: MIT
#include "CliRun.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

using nlohmann::json;

const std::string password = "Pa55;w{o}rd=Sesame";
const std::pair<std::string, std::string> passwordVariable{"DBSIFT_TEST_PASSWORD", password};

class DataSourceArgumentTest : public testing::Test {
protected:
    /// A fresh data source for each file, SQLite databases through the registered driver.
    std::string dataSourceFor(const std::string& path) {
        std::string name = freshDataSourceName("Shop");
        sources.push_back({name, "SQLite3", {{"Database", path}}});
        OdbcConfig::instance().setUserDataSources(sources);
        return name;
    }

    SamplePair samples;
    std::vector<DataSource> sources;
};

TEST_F(DataSourceArgumentTest, ADataSourceComparesLikeItsFile) {
    const std::string original = dataSourceFor(samples.original);
    CliResult fromFile = runCli({samples.original, samples.modified, "--fields", "--format", "json"});
    CliResult fromSource = runCli({"dsn:" + original, samples.modified, "--fields", "--format", "json"});
    EXPECT_EQ(fromSource.status, 1);
    EXPECT_EQ(fromSource.err, "");
    json expected = json::parse(fromFile.out);
    json actual = json::parse(fromSource.out);
    EXPECT_EQ(actual["original"], "dsn:" + original);
    EXPECT_EQ(actual["items"], expected["items"]);

    CliResult data = runCli({"dsn:" + original, "dsn:" + dataSourceFor(samples.modified), "--table",
                             "customers", "--user", "ann", "--password-env", passwordVariable.first},
                            {passwordVariable});
    EXPECT_EQ(data.status, 1);
    EXPECT_EQ(data.out, runCli({samples.original, samples.modified, "--table", "customers"}).out);
    EXPECT_EQ(data.out.find(password), std::string::npos);
}

TEST_F(DataSourceArgumentTest, ThePasswordNeverShowsEvenWhenTheConnectionFails) {
    // A database in a folder that does not exist cannot be opened, nor created.
    sources.push_back(
        {freshDataSourceName("Nowhere"), "SQLite3", {{"Database", "/nonexistent-folder/x.db"}}});
    sources.push_back({freshDataSourceName("NoDriver"), "NoSuchDriver", {}});
    OdbcConfig::instance().setUserDataSources(sources);
    for (const auto& source : sources) {
        for (const char* format : {"text", "json", "csv"}) {
            SCOPED_TRACE(source.name + " " + format);
            CliResult run = runCli({"dsn:" + source.name, samples.modified, "--user", "ann", "--password-env",
                                    passwordVariable.first, "--format", format, "--table", "customers"},
                                   {passwordVariable});
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err.rfind("dbsift-compare: Original database: ", 0), 0u) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            for (const std::string& part : {password, std::string("Sesame"), std::string("w{o}rd")})
                EXPECT_EQ(run.err.find(part), std::string::npos) << run.err;
        }
    }
}

} // namespace
} // namespace sifkit::test
