// SPDX-License-Identifier: MIT
// The data of every table at once (--data), records paired by the key given (--key), and
// columns left out (--ignore-columns).
#include "CliRun.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

using nlohmann::json;

TEST(DatabaseDataTest, EveryTableIsCountedAndTheTablesOfOneSideAreNamed) {
    SamplePair samples;
    CliResult run = runCli({"--data", samples.original, samples.modified});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(
        run.out,
        "Table      Original  Modified  Only in Original  Only in Modified  Changed  Identical  Paired by\n"
        "customers  5         5         1                 1                 2        2          id\n"
        "products   4         5         0                 1                 1        3          sku\n"
        "orders     4         5         0                 1                 0        4          order_id\n"
        "suppliers  -         -         -                 -                 -        -          not "
        "compared: "
        "in the Original database only\n"
        "reviews    -         -         -                 -                 -        -          not "
        "compared: "
        "in the Modified database only\n"
        "\n"
        "3 tables compared, 3 with differences; 2 not compared.\n");

    // Views too on request, and the same counts in JSON and CSV.
    CliResult withViews =
        runCli({samples.original, samples.modified, "--data", "--views", "--format", "json"});
    const json document = json::parse(withViews.out);
    EXPECT_EQ(document["mode"], "data-summary");
    EXPECT_EQ(document["differences"], 10);
    const json& customers = document["tables"][0];
    EXPECT_EQ(customers,
              json::parse(R"({"table": "customers", "compared": true, "reason": null, "key": ["id"],
        "originalRecords": 5, "modifiedRecords": 5, "onlyInOriginal": 1, "onlyInModified": 1,
        "changed": 2, "identical": 2})"));
    bool viewListed = false;
    for (const json& table : document["tables"])
        viewListed = viewListed || (table["table"] == "customer_orders" && table["compared"] == true);
    EXPECT_TRUE(viewListed) << withViews.out;
    CliResult csv = runCli({samples.original, samples.modified, "--data", "--format", "csv"});
    EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n", csv.out.find("\r\n") + 2)),
              "table,compared,reason,key,original_records,modified_records,only_in_original,"
              "only_in_modified,changed,identical\r\ncustomers,true,,id,5,5,1,1,2,2");

    CliResult same = runCli({samples.original, samples.original, "--data"});
    EXPECT_EQ(same.status, 0);
    EXPECT_NE(same.out.find("\n4 tables compared. No differences.\n"), std::string::npos) << same.out;
}

TEST(DatabaseDataTest, ACompositeKeyPairsEachLineWithItsOwn) {
    const std::string lines = "CREATE TABLE order_lines (order_id INTEGER, line_no INTEGER, item TEXT,"
                              " PRIMARY KEY (order_id, line_no));"
                              "INSERT INTO order_lines VALUES (7, 1, 'pen'), (7, 2, 'ink'), (8, 1, 'pad');";
    DatabasePair pair(lines, lines + "UPDATE order_lines SET item = item || '!' WHERE order_id = 7;");
    CliResult run = runCli({pair.original, pair.modified, "--table", "order_lines", "--format", "json"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(json::parse(run.out)["changed"], json::parse(R"([
        {"key": ["7", "1"], "original": 1, "modified": 1,
         "columns": {"item": {"original": "pen", "modified": "pen!"}}},
        {"key": ["7", "2"], "original": 2, "modified": 2,
         "columns": {"item": {"original": "ink", "modified": "ink!"}}}])"));
}

TEST(DatabaseDataTest, TheKeyGivenPairsRecordsOfATableWithoutPrimaryKey) {
    DatabasePair pair("CREATE TABLE rates (code TEXT, rate REAL, updated_at TEXT);"
                      "INSERT INTO rates VALUES ('EUR', 1.0, '2026-01-01'), ('USD', 1.1, '2026-01-01');",
                      "CREATE TABLE rates (code TEXT, rate REAL, updated_at TEXT);"
                      "INSERT INTO rates VALUES ('EUR', 1.0, '2026-02-01'), ('USD', 1.2, '2026-02-01');");
    CliResult unpaired = runCli({pair.original, pair.modified, "--table", "rates", "--format", "json"});
    EXPECT_EQ(json::parse(unpaired.out)["paired"], false);
    EXPECT_EQ(json::parse(unpaired.out)["differences"], 4);

    // Keyed by code, with the audit column ignored: only USD changed, in its rate alone.
    CliResult keyed = runCli({pair.original, pair.modified, "--table", "rates", "--key", "code",
                              "--ignore-columns", "updated_at", "--format", "json"});
    EXPECT_EQ(keyed.status, 1) << keyed.err;
    const json document = json::parse(keyed.out);
    EXPECT_EQ(document["columns"], json::array({"code", "rate"}));
    EXPECT_EQ(document["notCompared"], json::array({"updated_at (ignored)"}));
    EXPECT_EQ(document["paired"], true);
    EXPECT_EQ(document["changed"], json::parse(R"([{"key": "USD", "original": 2, "modified": 2,
        "columns": {"rate": {"original": "1.1", "modified": "1.2"}}}])"));
    CliResult text = runCli({pair.original, pair.modified, "--table", "rates", "--key", "code"});
    EXPECT_NE(text.out.find("; records paired by key code.\n"), std::string::npos) << text.out;

    // Ignored in every table; a table whose differences are all in it has none left.
    CliResult everyTable =
        runCli({pair.original, pair.modified, "--data", "--ignore-columns", "updated_at,rate"});
    EXPECT_EQ(everyTable.status, 0) << everyTable.out;
}

} // namespace
} // namespace sifkit::test
