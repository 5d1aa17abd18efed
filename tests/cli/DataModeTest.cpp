// SPDX-License-Identifier: MIT
#include "CliRun.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <fstream>

namespace sifkit::test {
namespace {

using nlohmann::json;

TEST(DataModeTest, TextPairsEachChangedRecordWithItsCounterpart) {
    SamplePair samples;
    CliResult run = runCli({samples.original, samples.modified, "--table", "customers"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Table customers, compared columns: id, name, city, email; records paired by primary key id.\n"
              "Not compared: phone (not in both databases).\n"
              "\n"
              "Side      Record  Counterpart  id  name          city        email\n"
              "Original  2       2            2   Bob O'Brien   Dublin      Null\n"
              "Modified  2       2            2   Bob O'Brien   Cork        Null\n"
              "Original  4       -            4   David Kim     Seoul       david@example.com\n"
              "Original  5       4            5   Eva Novak     Prague      eva@example.com\n"
              "Modified  4       5            5   Eva Novak     Prague      Null\n"
              "Modified  5       -            6   Farid Haddad  Casablanca  farid@example.com\n"
              "\n"
              "Changed values of the 2 records paired by key:\n"
              "id  Column  Original         Modified\n"
              "2   city    Dublin           Cork\n"
              "5   email   eva@example.com  Null\n"
              "\n"
              "6 records differ: 3 in the Original database, 3 in the Modified database.\n");
}

TEST(DataModeTest, JsonGivesKeysCounterpartsAndNullsAsNull) {
    SamplePair samples;
    CliResult run = runCli({samples.original, samples.modified, "--table", "customers", "--columns",
                            "id, email", "--format", "json"});
    EXPECT_EQ(run.status, 1);
    json document = json::parse(run.out);
    EXPECT_EQ(document["mode"], "data");
    EXPECT_EQ(document["table"], "customers");
    EXPECT_EQ(document["columns"], json::parse(R"(["id", "email"])"));
    EXPECT_EQ(document["primaryKey"], "id");
    EXPECT_EQ(document["paired"], true);
    EXPECT_EQ(document["pairedBy"], json::parse(R"(["id"])"));
    EXPECT_EQ(document["unpairedCopies"], nullptr);
    EXPECT_EQ(document["differences"], 4);
    EXPECT_EQ(document["records"], json::parse(R"([
        {"side": "Original", "record": 4, "key": "4", "counterpart": null,
         "values": {"id": "4", "email": "david@example.com"}},
        {"side": "Original", "record": 5, "key": "5", "counterpart": 4,
         "values": {"id": "5", "email": "eva@example.com"}},
        {"side": "Modified", "record": 4, "key": "5", "counterpart": 5,
         "values": {"id": "5", "email": null}},
        {"side": "Modified", "record": 5, "key": "6", "counterpart": null,
         "values": {"id": "6", "email": "farid@example.com"}}])"));
}

TEST(DataModeTest, ColumnsTakeOneListEachTimeAndTheDatabasesMayFollowThem) {
    SamplePair samples;
    CliResult run = runCli({"--table", "customers", "--columns", "id,email", "--columns", "name",
                            samples.original, samples.modified, "--format", "json"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(json::parse(run.out)["columns"], json::parse(R"(["id", "email", "name"])"));
}

TEST(DataModeTest, RecordsPairOnlyThroughAPrimaryKeyAmongTheComparedColumns) {
    SamplePair samples;
    CliResult keyLeftOut = runCli({samples.original, samples.modified, "--table", "customers", "--columns",
                                   "name,city", "--format", "json"});
    json document = json::parse(keyLeftOut.out);
    EXPECT_EQ(document["primaryKey"], "id");
    EXPECT_EQ(document["paired"], false);
    EXPECT_EQ(document["pairedBy"], nullptr);
    ASSERT_EQ(document["records"].size(), 4u);
    for (const auto& record : document["records"]) {
        EXPECT_EQ(record["key"], nullptr);
        EXPECT_EQ(record["counterpart"], nullptr);
    }

    DatabasePair noKey("CREATE TABLE t (a INTEGER, b TEXT); INSERT INTO t VALUES (1, 'x');",
                       "CREATE TABLE t (a INTEGER, b TEXT); INSERT INTO t VALUES (1, 'y');");
    CliResult text = runCli({noKey.original, noKey.modified, "--table", "t"});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "Table t, compared columns: a, b; no primary key, records are not paired.\n"
                        "\n"
                        "Side      Record  Counterpart  a  b\n"
                        "Original  1       -            1  x\n"
                        "Modified  1       -            1  y\n"
                        "\n"
                        "2 records differ: 1 in the Original database, 1 in the Modified database.\n");

    // A copy missing on one side counts as well, though each side lists only the records with
    // no equal one on the other.
    DatabasePair copies("CREATE TABLE t (a INTEGER, b TEXT); INSERT INTO t VALUES (1, 'x'); "
                        "INSERT INTO t VALUES (1, 'x'); INSERT INTO t VALUES (2, 'z');",
                        "CREATE TABLE t (a INTEGER, b TEXT); INSERT INTO t VALUES (1, 'x'); "
                        "INSERT INTO t VALUES (3, 'w');");
    json counted =
        json::parse(runCli({copies.original, copies.modified, "--table", "t", "--format", "json"}).out);
    EXPECT_EQ(counted["unpairedCopies"], json::parse(R"({"original": 2, "modified": 1})"));
    EXPECT_EQ(counted["differences"], 2);
    EXPECT_EQ(counted["copies"],
              json::parse(R"([{"values": {"a": "1", "b": "x"}, "original": 2, "modified": 1},
        {"values": {"a": "2", "b": "z"}, "original": 1, "modified": 0},
        {"values": {"a": "3", "b": "w"}, "original": 0, "modified": 1}])"));
    // The duplicate alone is a difference too.
    DatabasePair duplicate("CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1); INSERT INTO t VALUES (1);",
                           "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);");
    CliResult held = runCli({duplicate.original, duplicate.modified, "--table", "t"});
    EXPECT_EQ(held.status, 1);
    EXPECT_EQ(held.out, "Table t, compared columns: a; no primary key, records are not paired.\n"
                        "\n"
                        "Copies of each record that the databases hold a different number of times:\n"
                        "Original  Modified  a\n"
                        "2         1         1\n"
                        "\n"
                        "1 record held by both databases a different number of times.\n");

    const std::string uniqueA =
        "CREATE TABLE t (a INTEGER NOT NULL, b TEXT); CREATE UNIQUE INDEX t_a ON t (a);";
    DatabasePair uniqueKey(uniqueA + "INSERT INTO t VALUES (1, 'x');",
                           uniqueA + "INSERT INTO t VALUES (1, 'y');");
    CliResult paired = runCli({uniqueKey.original, uniqueKey.modified, "--table", "t"});
    EXPECT_EQ(paired.out.substr(0, paired.out.find('\n')),
              "Table t, compared columns: a, b; no primary key, records paired by unique key a.");
}

TEST(DataModeTest, ANullIsToldFromTheTextNullAndCsvQuotesValues) {
    const std::string table = "CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT);";
    DatabasePair pair(table + "INSERT INTO t VALUES (1, NULL); INSERT INTO t VALUES (2, 'a,\"b\"');",
                      table + "INSERT INTO t VALUES (1, 'Null'); INSERT INTO t VALUES (2, 'line\nbreak');");
    json document =
        json::parse(runCli({pair.original, pair.modified, "--table", "t", "--format", "json"}).out);
    ASSERT_EQ(document["records"].size(), 4u);
    EXPECT_EQ(document["records"][0]["values"]["v"], nullptr);
    EXPECT_EQ(document["records"][1]["values"]["v"], "Null");

    CliResult csv = runCli({pair.original, pair.modified, "--table", "t", "--format", "csv"});
    EXPECT_EQ(csv.out, "side,record,counterpart,id,v\r\n"
                       "Original,1,1,1,Null\r\n"
                       "Modified,1,1,1,Null\r\n"
                       "Original,2,2,2,\"a,\"\"b\"\"\"\r\n"
                       "Modified,2,2,2,\"line\nbreak\"\r\n");
    // In text, a value never breaks its line.
    CliResult text = runCli({pair.original, pair.modified, "--table", "t"});
    EXPECT_NE(text.out.find("Modified  2       2            2   line\\nbreak\n"), std::string::npos)
        << text.out;
}

TEST(DataModeTest, EmptyAndEqualTablesAreResultsNotErrors) {
    const std::string table = "CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT);";
    DatabasePair bothEmpty(table, table);
    CliResult same = runCli({bothEmpty.original, bothEmpty.modified, "--table", "t", "--format", "json"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.err, "");
    EXPECT_EQ(json::parse(same.out)["records"], json::array());

    DatabasePair oneEmpty(table, table + "INSERT INTO t VALUES (1, 'a'); INSERT INTO t VALUES (2, 'b');");
    CliResult added = runCli({oneEmpty.original, oneEmpty.modified, "--table", "t", "--format", "csv"});
    EXPECT_EQ(added.status, 1);
    EXPECT_EQ(added.out, "side,record,counterpart,id,v\r\nModified,1,,1,a\r\nModified,2,,2,b\r\n");
}

TEST(DataModeTest, EveryColumnIsComparedWhateverItsNameOrSaidToBeLeftOut) {
    // Only the column "a]b" differs; "c" exists on one side and cannot be compared.
    DatabasePair pair("CREATE TABLE t (id INTEGER PRIMARY KEY, \"a]b\" TEXT, c TEXT);"
                      "INSERT INTO t VALUES (1, 'x', 'same');",
                      "CREATE TABLE t (id INTEGER PRIMARY KEY, \"a]b\" TEXT);INSERT INTO t VALUES (1, 'y');");
    CliResult run = runCli({pair.original, pair.modified, "--table", "t", "--format", "json"});
    EXPECT_EQ(run.status, 1) << run.err;
    json document = json::parse(run.out);
    EXPECT_EQ(document["columns"], json::array({"id", "a]b"}));
    EXPECT_EQ(document["notCompared"], json::array({"c (not in both databases)"}));
    EXPECT_EQ(document["differences"], 2);

    DatabasePair same("CREATE TABLE t (id INTEGER PRIMARY KEY, c TEXT);INSERT INTO t VALUES (1, 'x');",
                      "CREATE TABLE t (id INTEGER PRIMARY KEY);INSERT INTO t VALUES (1);");
    CliResult text = runCli({same.original, same.modified, "--table", "t"});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find(
                  "Not compared: c (not in both databases).\n\nNo differences in the compared columns.\n"),
              std::string::npos)
        << text.out;
}

TEST(DataModeTest, ColumnsTheDatabaseCollatesLooselyAreNamedOnce) {
    DatabasePair pair(
        "CREATE TABLE t (id INTEGER PRIMARY KEY, city TEXT COLLATE NOCASE, code TEXT COLLATE RTRIM);"
        "INSERT INTO t VALUES (1, 'Paris', 'x');",
        "CREATE TABLE t (id INTEGER PRIMARY KEY, city TEXT, code TEXT);"
        "INSERT INTO t VALUES (1, 'PARIS', 'x ');");
    CliResult text = runCli({pair.original, pair.modified, "--table", "t"});
    EXPECT_EQ(text.status, 1) << text.err;
    EXPECT_NE(text.out.find("\ncity, code: compared exactly; the database's collation would call 'Paris' and "
                            "'PARIS' equal.\n\n"),
              std::string::npos)
        << text.out;
    CliResult run = runCli({pair.original, pair.modified, "--table", "t", "--format", "json"});
    EXPECT_EQ(json::parse(run.out)["exactDespiteCollation"], json::array({"city", "code"}));
}

TEST(DataModeTest, AViewIsComparedLikeATable) {
    SamplePair samples;
    CliResult run =
        runCli({samples.original, samples.modified, "--table", "customer_orders", "--format", "csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "side,record,counterpart,order_id,customer,product,quantity\r\n"
                       "Modified,5,,1005,Farid Haddad,\"Espresso cups, set of 2\",1\r\n");
}

TEST(DataModeTest, ValueOptionsAndRowFiltersAreAppliedAndSaidInEveryFormat) {
    const std::string table =
        "CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT, price REAL, kind TEXT);";
    DatabasePair pair(table + "INSERT INTO items VALUES (1, 'Pen', 1.0, 'a'), (2, 'Ink', 2.0, 'a'),"
                              " (3, 'Pad', 3.0, 'b');",
                      table + "INSERT INTO items VALUES (1, 'PEN ', 1.004, 'a'), (2, 'Ink', 2.5, 'a'),"
                              " (3, 'Pads', 3.0, 'b');");
    CliResult exact = runCli({pair.original, pair.modified, "--table", "items", "--format", "json"});
    EXPECT_EQ(json::parse(exact.out)["differences"], 6);

    CliResult relaxed = runCli({"--ignore-case", "--ignore-blanks", "--tolerance", "0.005", "--where",
                                "kind = 'a'", "--table", "items", pair.original, pair.modified});
    EXPECT_EQ(relaxed.status, 1) << relaxed.err;
    EXPECT_NE(relaxed.out.find("Values compared with letter case ignored, blanks at either end ignored and "
                               "reals and decimals within 0.005.\nRecords compared where kind = 'a'.\n"),
              std::string::npos)
        << relaxed.out;
    EXPECT_NE(relaxed.out.find("2   price   2         2.5\n"), std::string::npos) << relaxed.out;
    EXPECT_NE(relaxed.out.find("2 records differ"), std::string::npos) << relaxed.out;

    CliResult document = runCli({pair.original, pair.modified, "--table", "items", "--ignore-case",
                                 "--where-modified", "id <> 2", "--format", "json"});
    const json parsed = json::parse(document.out);
    EXPECT_EQ(parsed["valueOptions"]["ignoreCase"], true);
    EXPECT_EQ(parsed["filters"], json::parse(R"({"original": null, "modified": "id <> 2"})"));
    EXPECT_EQ(parsed["differences"], 5); // 1 and 3 changed on both sides, 2 only in the Original

    // Every table with the same options: the one table keeps its two differing records.
    CliResult everyTable = runCli({pair.original, pair.modified, "--data", "--ignore-case", "--ignore-blanks",
                                   "--tolerance", "0.005", "--format", "json"});
    EXPECT_EQ(json::parse(everyTable.out)["tables"][0]["changed"], 2) << everyTable.out;
}

// A saved comparison gives what the command line that holds its settings gives; its databases
// are found beside it.
TEST(DataModeTest, ASavedComparisonRunsAsTheOptionsItHolds) {
    const std::string table =
        "CREATE TABLE lines (order_id INTEGER, line_no INTEGER, item TEXT, qty INTEGER);";
    DatabasePair pair(
        table + "INSERT INTO lines VALUES (1, 1, 'Pen', 2), (1, 2, 'Ink', 1), (2, 1, 'Pad', 5);",
        table + "INSERT INTO lines VALUES (1, 1, 'PEN', 2), (2, 1, 'Ink', 1), (2, 2, 'Pad', 6);");
    std::ofstream(pair.dir.file("lines.json"))
        << R"({"format": "dbsift-comparison", "version": 1, "original": "original.db",)"
        << R"( "modified": "modified.db", "compare": "table", "table": "lines", "key": ["order_id", "line_no"],)"
        << R"( "valueOptions": {"ignoreCase": true}, "filters": {"original": "qty < 6", "modified": "qty < 6"}})";
    CliResult saved = runCli({"--comparison", pair.dir.file("lines.json"), "--format", "json"});
    CliResult given = runCli({pair.original, pair.modified, "--table", "lines", "--key", "order_id,line_no",
                              "--ignore-case", "--where", "qty < 6", "--format", "json"});
    EXPECT_EQ(saved.status, 1) << saved.err;
    EXPECT_EQ(saved.out, given.out);
    // 1/1 differs in letter case only; 1/2 is only in the Original, 2/1 changed, 2/2 filtered out.
    const json parsed = json::parse(saved.out);
    EXPECT_EQ(parsed["differences"], 3);
    EXPECT_EQ(parsed["changed"].size(), 1u);
    EXPECT_EQ(parsed["changed"][0]["key"], json::parse(R"(["2", "1"])"));
}

} // namespace
} // namespace sifkit::test
