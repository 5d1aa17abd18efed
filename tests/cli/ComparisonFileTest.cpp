// SPDX-License-Identifier: MIT
#include "CliError.h"
#include "Comparison.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace dbsift::cli {
namespace {

std::string document(const std::string& members) {
    return R"({"format": "dbsift-comparison", "version": 1, "original": "a.db", "modified": "dsn:pg")" +
           members + "}";
}

std::string refusalOf(const std::string& text) {
    try {
        comparisonFromDocument(text, "/data");
    } catch (const CliError& error) {
        return error.what();
    }
    return "";
}

std::string whyRefused(const std::string& members) {
    return refusalOf(document(members));
}

// Everything a comparison holds comes back as it was written; a relative file path is taken
// from the comparison's folder, a data source stays as it is.
TEST(ComparisonFileTest, WritesAndReadsBackEverySetting) {
    SavedComparison comparison;
    comparison.original = "/data/a.db";
    comparison.modified = "dsn:pg";
    comparison.modifiedUser = "ann";
    comparison.kind = ComparisonKind::Table;
    comparison.table = "order lines";
    comparison.data = {.columns = {"id", "qty"},
                       .ignoreColumns = {"updated_at"},
                       .key = {"id"},
                       .tableKeys = {},
                       .options = {true, true, true, 0.005, sifkit::TimePrecision::Milliseconds},
                       .originalFilter = "qty > 0 AND note <> 'a;b'",
                       .modifiedFilter = ""};
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "dbsift-comparison-test";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "c.json").string();
    writeComparisonFile(path, comparison);
    EXPECT_EQ(readComparisonFile(path), comparison);
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    std::filesystem::remove_all(folder);

    SavedComparison structure;
    structure.original = "a.db";
    structure.modified = "b.db";
    structure.fields = structure.views = structure.differencesOnly = structure.typesByFamily = true;
    EXPECT_EQ(comparisonFromDocument(comparisonDocument(structure), ""), structure);

    SavedComparison everyTable = structure;
    everyTable.kind = ComparisonKind::EveryTable;
    everyTable.fields = everyTable.differencesOnly = everyTable.typesByFamily = false;
    everyTable.data.key = {"id"};
    everyTable.data.tableKeys = {{"lines", {"order_id", "line_no"}}, {"notes", {}}};
    EXPECT_EQ(comparisonFromDocument(comparisonDocument(everyTable), ""), everyTable);

    const SavedComparison relative = comparisonFromDocument(document(""), "/data/saved");
    EXPECT_EQ(relative.original, "/data/saved/a.db");
    EXPECT_EQ(relative.modified, "dsn:pg");
    EXPECT_TRUE(relative.kind == ComparisonKind::Structure);
}

// A setting that is misspelt, of the wrong kind or unsafe is refused by name, never dropped.
TEST(ComparisonFileTest, RefusesWhatARunCouldNotHonour) {
    EXPECT_EQ(whyRefused(R"(, "compare": "every-table", "ignoreColums": ["a"])"),
              "the comparison document holds \"ignoreColums\", which is not a comparison setting");
    EXPECT_EQ(
        whyRefused(R"(, "compare": "table", "table": "t", "filters": {"original": "1 = 1; DROP TABLE t"})"),
        "the comparison row filter of the original side: the row filter holds a \";\": it must be one "
        "condition");
    EXPECT_EQ(whyRefused(R"(, "compare": "table", "table": "t", "valueOptions": {"timePrecision": "ns"})"),
              "the comparison setting \"timePrecision\" is \"ns\": it is \"s\", \"ms\", \"us\" or null");
    EXPECT_EQ(
        whyRefused(R"(, "compare": "table", "table": "t", "tableKeys": {"t": ["id"]})"),
        "the comparison has \"tableKeys\", which only a comparison of every table takes (a comparison of "
        "one table gives its \"key\")");
    EXPECT_EQ(whyRefused(R"(, "key": ["id"])"),
              "the comparison has a key, ignored columns or value options, which only data comparisons take");
    EXPECT_EQ(whyRefused(R"(, "compare": "table")"),
              "the comparison compares a table but names none (setting \"table\")");
    EXPECT_EQ(whyRefused(R"(, "compare": "every-table", "key": ["id", "id"])"),
              "the comparison setting \"key\" names \"id\" twice");
    EXPECT_EQ(whyRefused(R"(, "password": "secret")"),
              "the comparison holds a password: comparisons keep none (give it with --password-env)");
    EXPECT_EQ(refusalOf(R"({"format": "dbsift-comparison", "version": 2, "original": "a", "modified": "b"})"),
              "the comparison is not of version 1 (setting \"version\"), the version this program reads");
    EXPECT_EQ(refusalOf("{\"format\": "), "the comparison is not JSON");
    EXPECT_EQ(whyRefused(""), "");
}

} // namespace
} // namespace dbsift::cli
