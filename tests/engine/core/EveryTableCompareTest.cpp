// SPDX-License-Identifier: MIT
// The data comparison of every table of two databases, counted per table.
#include "support/DataRun.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sifkit::test {
namespace {

const TableCounts& countsFor(const DataSummary& summary, const std::string& table) {
    const auto found = std::find_if(summary.tables.begin(), summary.tables.end(),
                                    [&](const TableCounts& counts) { return counts.table == table; });
    if (found == summary.tables.end())
        throw std::runtime_error("table " + table + " is not listed");
    return *found;
}

/// only in the Original, only in the Modified, changed, identical
std::vector<int32_t> kinds(const TableCounts& counts) {
    return {counts.onlyInOriginal, counts.onlyInModified, counts.changed, counts.identical};
}

class EveryTableCompareTest : public EachDatabaseTest {};

TEST_P(EveryTableCompareTest, EachTableIsCountedByItsKeyAndTheTablesOfOneSideAreNamed) {
    const std::string both =
        "CREATE TABLE order_lines (order_id INTEGER NOT NULL, line_no INTEGER NOT NULL, item VARCHAR(20),"
        " updated_at VARCHAR(20), PRIMARY KEY (order_id, line_no));"
        "INSERT INTO order_lines VALUES (7, 1, 'pen', 'a');INSERT INTO order_lines VALUES (7, 2, 'ink', 'a');"
        "INSERT INTO order_lines VALUES (8, 1, 'pad', 'a');"
        "CREATE TABLE tags (code VARCHAR(10), label VARCHAR(20));"
        "INSERT INTO tags VALUES ('a', 'x');INSERT INTO tags VALUES ('b', 'y');";
    DataRun run(both + "CREATE TABLE retired (id INTEGER);",
                both + "UPDATE order_lines SET item = 'nib' WHERE order_id = 7 AND line_no = 2;"
                       "UPDATE order_lines SET updated_at = 'b';"
                       "DELETE FROM order_lines WHERE order_id = 8;"
                       "INSERT INTO order_lines VALUES (9, 1, 'pad', 'b');"
                       "UPDATE tags SET label = 'z' WHERE code = 'b';",
                GetParam());
    std::vector<std::string> started;
    const DataSummary summary = run.core.compareEveryTable(
        run.masterConnection, run.sourceConnection, {false, {"updated_at"}, {}, {}},
        [&](std::size_t, std::size_t, const std::string& table) { started.push_back(table); });
    ASSERT_FALSE(summary.failed) << run.core.getErrorLogs(true);
    EXPECT_FALSE(summary.cancelled);
    ASSERT_EQ(summary.tables.size(), 3u);

    // The audit column ignored, only line 7/2 changed; (8, 1) and (9, 1) are on one side each.
    const TableCounts& lines = countsFor(summary, "order_lines");
    EXPECT_TRUE(lines.compared()) << lines.whyNotCompared;
    EXPECT_EQ(lines.keyColumns, (std::vector<std::string>{"order_id", "line_no"}));
    EXPECT_EQ(lines.columns, (std::vector<std::string>{"order_id", "line_no", "item"}));
    EXPECT_EQ(lines.originalRecords, 3);
    EXPECT_EQ(lines.modifiedRecords, 3);
    EXPECT_EQ(kinds(lines), (std::vector<int32_t>{1, 1, 1, 1}));
    // Without a key a changed record is one record on each side.
    EXPECT_EQ(kinds(countsFor(summary, "tags")), (std::vector<int32_t>{1, 1, 0, 1}));
    EXPECT_EQ(countsFor(summary, "retired").whyNotCompared, "in the Original database only");
    EXPECT_EQ(summary.differences(), 3 + 2 + 1);
    EXPECT_EQ(started.size(), 2u); // a table of one side is never read

    // The key given pairs the tables that have it; the audit column, compared, changes every line.
    const DataSummary keyed =
        run.core.compareEveryTable(run.masterConnection, run.sourceConnection, {false, {}, {"code"}, {}});
    EXPECT_EQ(kinds(countsFor(keyed, "tags")), (std::vector<int32_t>{0, 0, 1, 1}));
    EXPECT_EQ(countsFor(keyed, "tags").keyColumns, (std::vector<std::string>{"code"}));
    EXPECT_EQ(kinds(countsFor(keyed, "order_lines")), (std::vector<int32_t>{1, 1, 2, 0}));
    EXPECT_TRUE(run.core.pairingKey().empty()); // the control's own key is left as it was
}

TEST_P(EveryTableCompareTest, WithoutAKeyEveryCopyCounts) {
    // Two equal records in the Original, one in the Modified: one copy is missing there.
    const std::string tags = "CREATE TABLE tags (code VARCHAR(10), label VARCHAR(20));"
                             "INSERT INTO tags VALUES ('a', 'x');INSERT INTO tags VALUES ('b', 'y');";
    DataRun run(tags + "INSERT INTO tags VALUES ('a', 'x');", tags + "INSERT INTO tags VALUES ('c', 'z');",
                GetParam());
    const DataSummary summary = run.core.compareEveryTable(run.masterConnection, run.sourceConnection, {});
    ASSERT_EQ(summary.tables.size(), 1u);
    const TableCounts& counts = summary.tables.front();
    EXPECT_EQ(counts.originalRecords, 3);
    EXPECT_EQ(counts.modifiedRecords, 3);
    if (GetParam() == DatabaseKind::SqliteOdbc) {
        // The SQLite ODBC driver rounds reals, so its sides are answered record by record, as sets.
        EXPECT_EQ(kinds(counts), (std::vector<int32_t>{0, 1, 0, 3}));
    } else {
        EXPECT_EQ(kinds(counts), (std::vector<int32_t>{1, 1, 0, 2}));
        EXPECT_EQ(summary.differences(), 2);
    }
    // The record listing keeps its own rule: a record with an equal one on the other side is
    // not listed, however many copies each side has.
    EXPECT_EQ(run.core.lastDataResult().original.size(), 0u);
    EXPECT_EQ(run.core.lastDataResult().modified.size(), 1u);
}

SIFKIT_FOR_EACH_DATABASE(EveryTableCompareTest);

} // namespace
} // namespace sifkit::test
