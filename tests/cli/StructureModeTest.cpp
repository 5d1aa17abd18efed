// SPDX-License-Identifier: MIT
#include "CliRun.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace sifkit::test {
namespace {

using nlohmann::json;

TEST(StructureModeTest, TextListsEachDifferenceWithItsSideAndTheEnginesDescription) {
    SamplePair samples;
    CliResult run = runCli({samples.original, samples.modified, "--fields", "--differences-only"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, ""); // no progress bar when standard error is not a terminal
    EXPECT_EQ(run.out,
              "Side      Object     Field        Type                                   Change\n"
              "Original  products   price        Double_precision_floating_point_value  Different Datatype\n"
              "Original  suppliers               TABLE                                  New Table\n"
              "Original  suppliers  supplier_id  4_byte_signed_integer                  New Table\n"
              "Original  suppliers  name         String                                 New Table\n"
              "Original  suppliers  country      String                                 New Table\n"
              "Modified  customers  phone        String                                 New Field\n"
              "Modified  products   price        String                                 Different Datatype\n"
              "Modified  reviews                 TABLE                                  New Table\n"
              "Modified  reviews    review_id    4_byte_signed_integer                  New Table\n"
              "Modified  reviews    sku          String                                 New Table\n"
              "Modified  reviews    customer_id  4_byte_signed_integer                  New Table\n"
              "Modified  reviews    stars        4_byte_signed_integer                  New Table\n"
              "Modified  reviews    comment      Long_String                            New Table\n"
              "\n"
              "13 differences: 5 in the Original database, 8 in the Modified database.\n");
}

// Unchanged items are listed unless asked otherwise; views only on request. The items
// themselves are held against the engine's in EngineAgreementTest.
TEST(StructureModeTest, JsonIsOneDocumentWithStableFields) {
    SamplePair samples;
    CliResult run = runCli({samples.original, samples.modified, "--views", "--format", "json"});
    EXPECT_EQ(run.status, 1);
    json document = json::parse(run.out);
    json header = document;
    header.erase("items");
    EXPECT_EQ(header, json({{"mode", "structure"},
                            {"original", samples.original},
                            {"modified", samples.modified},
                            {"fields", false},
                            {"views", true},
                            {"differencesOnly", false},
                            {"typesByFamily", false},
                            {"differences", 2}}));
    ASSERT_EQ(document["items"].size(), 10u); // 4 tables and a view on each side
    EXPECT_EQ(document["items"][0],
              json::parse(R"({"side": "Original", "kind": "object", "object": "customers",
        "field": null, "type": "TABLE", "change": 0, "description": "No Change",
        "primaryKey": "id", "comparable": null})"));
    EXPECT_EQ(document["items"][4]["type"], "VIEW");
}

TEST(StructureModeTest, TypesByFamilyHideOnlyTheSpellingOfATypeAndAreSaid) {
    DatabasePair pair("CREATE TABLE t (id INTEGER PRIMARY KEY, n INTEGER, s TEXT, b BLOB);",
                      "CREATE TABLE t (id BIGINT PRIMARY KEY, n SMALLINT, s VARCHAR(40), b TEXT);");
    CliResult exact =
        runCli({pair.original, pair.modified, "--fields", "--differences-only", "--format", "csv"});
    EXPECT_NE(exact.out.find("Original,t,n,4_byte_signed_integer,3,Different Datatype"), std::string::npos)
        << exact.out;
    CliResult byFamily =
        runCli({pair.original, pair.modified, "--fields", "--differences-only", "--types-by-family"});
    EXPECT_EQ(byFamily.status, 1);
    EXPECT_EQ(byFamily.out.find("Original  t       id"), std::string::npos) << byFamily.out;
    EXPECT_NE(byFamily.out.find("Original  t       b      Binary"), std::string::npos) << byFamily.out;
    EXPECT_NE(byFamily.out.find("Field types compared by family"), std::string::npos) << byFamily.out;
    EXPECT_NE(byFamily.out.find("2 differences"), std::string::npos) << byFamily.out;
}

TEST(StructureModeTest, IdenticalDatabasesExitZero) {
    SamplePair samples;
    CliResult run = runCli({samples.original, samples.original, "--fields", "--differences-only"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "No differences.\n");
    CliResult document =
        runCli({samples.original, samples.original, "--format", "json", "--differences-only"});
    EXPECT_EQ(document.status, 0);
    EXPECT_EQ(json::parse(document.out)["items"], json::array());
}

TEST(StructureModeTest, ADatabaseWithoutTablesLeavesEveryTableOfTheOtherOnOneSide) {
    DatabasePair pair("PRAGMA user_version = 1;", "CREATE TABLE t (a INTEGER, b TEXT);");
    CliResult run = runCli({pair.original, pair.modified, "--fields"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Side      Object  Field  Type                   Change\n"
                       "Modified  t              TABLE                  New Table\n"
                       "Modified  t       a      4_byte_signed_integer  New Table\n"
                       "Modified  t       b      Long_String            New Table\n"
                       "\n"
                       "3 differences: 0 in the Original database, 3 in the Modified database.\n");
    DatabasePair empty("PRAGMA user_version = 1;", "PRAGMA user_version = 2;");
    EXPECT_EQ(runCli({empty.original, empty.modified}).status, 0);
}

TEST(StructureModeTest, CsvQuotesFieldsAsRfc4180Says) {
    DatabasePair pair("CREATE TABLE \"a,b\" (\"say \"\"hi\"\"\" INTEGER);",
                      "CREATE TABLE other (x INTEGER);");
    CliResult run = runCli({pair.original, pair.modified, "--fields", "--format", "csv"});
    EXPECT_EQ(run.out, "side,object,field,type,change,description\r\n"
                       "Original,\"a,b\",,TABLE,1,New Table\r\n"
                       "Original,\"a,b\",\"say \"\"hi\"\"\",4_byte_signed_integer,1,New Table\r\n"
                       "Modified,other,,TABLE,1,New Table\r\n"
                       "Modified,other,x,4_byte_signed_integer,1,New Table\r\n");
}

} // namespace
} // namespace sifkit::test
