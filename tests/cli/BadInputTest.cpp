// SPDX-License-Identifier: MIT
#include "CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace sifkit::test {
namespace {

struct BadInput {
    const char* name;
    std::vector<std::string> args; ///< "{original}" and "{modified}" stand for the sample files
    const char* message;           ///< the whole line on standard error, without the program name
};

void PrintTo(const BadInput& input, std::ostream* out) {
    *out << input.name;
}

class BadInputTest : public testing::TestWithParam<BadInput> {};

// Each bad input ends with exit status 2, one line on standard error and nothing on standard
// output, in JSON mode too: the document is only written once the comparison has succeeded.
TEST_P(BadInputTest, EndsWithOneLineOnStandardErrorAndExitStatusTwo) {
    SamplePair samples;
    std::ofstream(samples.dir.file("notes.txt")) << "not a database\n";
    std::ofstream(samples.dir.file("password.json"))
        << R"({"format": "dbsift-comparison", "version": 1, "original": "a.db", "modified": "b.db",)"
        << R"( "password": "secret"})";
    std::vector<std::string> args;
    for (std::string arg : GetParam().args) {
        if (arg == "{original}")
            arg = samples.original;
        else if (arg == "{modified}")
            arg = samples.modified;
        else if (arg.rfind("{dir}/", 0) == 0)
            arg = samples.dir.file(arg.substr(6));
        args.push_back(arg);
    }
    args.insert(args.end(), {"--format", "json"});
    CliResult run = runCli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    std::string expected = std::string("dbsift-compare: ") + GetParam().message + "\n";
    if (auto at = expected.find("{dir}/"); at != std::string::npos)
        expected.replace(at, 6, samples.dir.path().string() + "/");
    EXPECT_EQ(run.err, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BadInputTest,
    testing::Values(
        BadInput{"MissingFile",
                 {"{dir}/missing.db", "{modified}"},
                 "Original database: The database file \"{dir}/missing.db\" does not exist"},
        BadInput{"NotADatabase",
                 {"{original}", "{dir}/notes.txt"},
                 "Modified database: The file \"{dir}/notes.txt\" is neither an SQLite 3 database nor an "
                 "Access database"},
        BadInput{"UnknownDataSource",
                 {"dsn:NoSuchSource", "{modified}"},
                 "there is no ODBC data source named \"NoSuchSource\""},
        BadInput{"TableOnTheOriginalSideOnly",
                 {"{original}", "{modified}", "--table", "suppliers"},
                 "table \"suppliers\" exists in the Original database only"},
        BadInput{"TableOnTheModifiedSideOnly",
                 {"{original}", "{modified}", "--table", "reviews"},
                 "table \"reviews\" exists in the Modified database only"},
        BadInput{"TableNowhere",
                 {"{original}", "{modified}", "--table", "Customers"},
                 "there is no table or view \"Customers\" in either database"},
        BadInput{"MissingColumn",
                 {"{original}", "{modified}", "--table", "customers", "--columns", "id,phone"},
                 "column \"phone\" does not exist in table \"customers\" of the Original database"},
        BadInput{"ColumnTwice",
                 {"{original}", "{modified}", "--table", "customers", "--columns", "id,id"},
                 "column \"id\" is listed twice"},
        BadInput{"OneDatabase",
                 {"{original}"},
                 "two databases are needed, ORIGINAL and MODIFIED (see dbsift-compare --help)"},
        BadInput{"UnknownOption",
                 {"{original}", "{modified}", "--colour"},
                 "The following argument was not expected: --colour (see dbsift-compare --help)"},
        BadInput{"ColumnsWithoutTable",
                 {"{original}", "{modified}", "--columns", "id"},
                 "--columns requires --table (see dbsift-compare --help)"},
        BadInput{
            "KeyNotCompared",
            {"{original}", "{modified}", "--table", "customers", "--columns", "id,name", "--key", "email"},
            "key column \"email\" of --key is not among the compared columns of table \"customers\""},
        BadInput{"KeyWithoutData",
                 {"{original}", "{modified}", "--key", "id"},
                 "--key, --ignore-columns and the value options need --table or --data"},
        BadInput{"WhereWithoutTable",
                 {"{original}", "{modified}", "--data", "--where", "id = 1"},
                 "--where requires --table (see dbsift-compare --help)"},
        BadInput{"WhereEndsTheStatement",
                 {"{original}", "{modified}", "--table", "customers", "--where-modified",
                  "1=1; DELETE FROM customers"},
                 "--where-modified: the row filter holds a \";\": it must be one condition"},
        BadInput{
            "ComparisonWithOtherSettings",
            {"--comparison", "{dir}/c.json", "--table", "t"},
            "--comparison takes the databases and settings from its file: --table cannot be given with it"},
        BadInput{"ComparisonHoldingAPassword",
                 {"--comparison", "{dir}/password.json"},
                 "the comparison holds a password: comparisons keep none (give it with --password-env) "
                 "({dir}/password.json)"},
        BadInput{"NegativeTolerance",
                 {"{original}", "{modified}", "--table", "customers", "--tolerance", "-1"},
                 "--tolerance needs a number of 0 or more, not -1"},
        BadInput{"PasswordVariableUnset",
                 {"{original}", "{modified}", "--password-env", "DBSIFT_UNSET_VARIABLE"},
                 "the environment variable DBSIFT_UNSET_VARIABLE (--password-env) is not set"}),
    [](const testing::TestParamInfo<BadInput>& param) { return param.param.name; });

TEST(BadInputTest, AnUnknownFormatIsAUsageError) {
    CliResult run = runCli({"a.db", "b.db", "--format", "xml"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "dbsift-compare: --format: xml not in {text,json,csv} (see dbsift-compare --help)\n");
}

TEST(BadInputTest, ADamagedDatabaseIsTroubleNamedAsSuchNeverAnEmptyDatabase) {
    DatabasePair pair("CREATE TABLE t (id INTEGER PRIMARY KEY);", "CREATE TABLE t (id INTEGER PRIMARY KEY);");
    std::filesystem::resize_file(pair.modified, 100); // the header survives, the schema does not
    CliResult run = runCli({pair.original, pair.modified});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Modified database: The database file is damaged"), std::string::npos) << run.err;
}

TEST(BadInputTest, ShowSqlTracesEveryStatementWithItsValuesOnStandardError) {
    DatabasePair pair(
        "CREATE TABLE \"O'Neil\" (id INTEGER PRIMARY KEY, name TEXT);INSERT INTO \"O'Neil\" VALUES (1, 'x');",
        "CREATE TABLE \"O'Neil\" (id INTEGER PRIMARY KEY, name NUMERIC);");
    CliResult run = runCli({pair.original, pair.modified, "--table", "O'Neil", "--show-sql"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("SQL: SELECT [id], [name] FROM \"O'Neil\"\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("SQL: SELECT name, pk FROM pragma_table_info(?) -- values: 'O''Neil'\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(runCli({pair.original, pair.modified, "--table", "O'Neil"}).err, "");
}

TEST(BadInputTest, ABinaryColumnIsComparedOnlyAgainstABinaryColumn) {
    DatabasePair pair("CREATE TABLE t (id INTEGER PRIMARY KEY, picture BLOB, note TEXT);"
                      "INSERT INTO t VALUES (1, x'00ff10', 'a');",
                      "CREATE TABLE t (id INTEGER PRIMARY KEY, picture BLOB, note BLOB);"
                      "INSERT INTO t VALUES (1, x'00ff11', x'61');");
    CliResult run = runCli({pair.original, pair.modified, "--table", "t", "--columns", "note"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "dbsift-compare: column \"note\" of table \"t\" cannot be compared: binary in one "
                       "database only\n");
    // By default the binary column is compared byte for byte and shown in hexadecimal; the
    // column that cannot be compared is named.
    CliResult byDefault = runCli({pair.original, pair.modified, "--table", "t"});
    EXPECT_EQ(byDefault.status, 1);
    EXPECT_NE(byDefault.out.find("Not compared: note (binary in one database only).\n"), std::string::npos)
        << byDefault.out;
    EXPECT_NE(byDefault.out.find("00FF10"), std::string::npos) << byDefault.out;
    EXPECT_NE(byDefault.out.find("00FF11"), std::string::npos) << byDefault.out;
}

} // namespace
} // namespace sifkit::test
