// SPDX-License-Identifier: MIT
#include "support/TestEnvironment.h"

#include "dataaccess/SqliteBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace sifkit::test {
namespace {

using platform::CellView;
using platform::ColumnInfo;

/// Scans run inside SQLite's statement loop must hand over what a plain query returns: the same
/// rows in the same order, the same columns, values in their own storage class.
class SqliteScanTest : public testing::Test {
protected:
    void SetUp() override {
        createSqliteDatabase(path, "CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, mixed);"
                                   "INSERT INTO t VALUES (1, 'a', '07'), (2, 'b', 7), (3, NULL, 7.5),"
                                   "  (4, 'd', x'00ff'), (5, 'e''s', NULL), (6, 'f', 'x');");
        backend = std::make_unique<platform::SqliteBackend>(path);
    }

    /// Each row handed over, as text, and the column names.
    std::string scanned(const std::string& sql, const std::vector<Value>& params = {},
                        const std::vector<int32_t>* wanted = nullptr) {
        std::string text;
        auto onColumns = [&](const std::vector<ColumnInfo>& columns) {
            for (const ColumnInfo& column : columns)
                text += column.name + "(" + std::to_string(column.typeCode) + ") ";
            text += "\n";
        };
        auto onRow = [&](const CellView* cells, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i) {
                Value value = cells[i].toValue();
                text += std::to_string(static_cast<int>(value.kind())) + ":" +
                        (value.isNull() ? "NULL" : value.toString()) + "|";
            }
            text += "\n";
        };
        if (wanted)
            backend->scanRows(sql, params, *wanted, onColumns, onRow);
        else
            backend->scan(sql, params, onColumns, onRow);
        return text;
    }

    /// The same through a plain query, only the given rows (all when empty).
    std::string queried(const std::string& sql, const std::vector<Value>& params = {},
                        const std::vector<int32_t>& only = {}) {
        platform::RowSet rows = backend->query(sql, params);
        std::string text;
        for (const ColumnInfo& column : rows.columns)
            text += column.name + "(" + std::to_string(column.typeCode) + ") ";
        text += "\n";
        for (std::size_t r = 0; r < rows.rows.size(); ++r) {
            if (!only.empty() &&
                std::find(only.begin(), only.end(), static_cast<int32_t>(r + 1)) == only.end())
                continue;
            for (const Value& value : rows.rows[r])
                text += std::to_string(static_cast<int>(value.kind())) + ":" +
                        (value.isNull() ? "NULL" : value.toString()) + "|";
            text += "\n";
        }
        return text;
    }

    TempDir dir;
    std::string path = dir.file("scan.db");
    std::unique_ptr<platform::SqliteBackend> backend;
};

TEST_F(SqliteScanTest, RowsComeAsAPlainQueryReturnsThem) {
    for (const std::string sql :
         {"SELECT * FROM t", "SELECT mixed, id FROM t ORDER BY name DESC;",
          "SELECT id, id FROM t WHERE id > ?", "WITH w AS (SELECT 1 AS n) SELECT n FROM w",
          "SELECT * FROM t WHERE id > 99"}) {
        SCOPED_TRACE(sql);
        const std::vector<Value> params =
            sql.find('?') != std::string::npos ? std::vector<Value>{Value(int64_t{2})} : std::vector<Value>{};
        EXPECT_EQ(scanned(sql, params), queried(sql, params));
    }
    // A statement that cannot stand inside a query is read row by row.
    EXPECT_EQ(scanned("PRAGMA table_info(t)"), queried("PRAGMA table_info(t)"));
}

TEST_F(SqliteScanTest, OnlyTheWantedRowsAreHandedOver) {
    const std::vector<int32_t> wanted{1, 4, 6, 9};
    EXPECT_EQ(scanned("SELECT * FROM t", {}, &wanted), queried("SELECT * FROM t", {}, {1, 4, 6}));
    const std::vector<int32_t> none;
    EXPECT_EQ(scanned("SELECT * FROM t ORDER BY id DESC", {}, &none), queried("SELECT * FROM t WHERE 0"));
    EXPECT_EQ(scanned("PRAGMA table_info(t)", {}, &wanted), queried("PRAGMA table_info(t)", {}, {1}));
}

TEST_F(SqliteScanTest, AReceiverMayScanTheSameDatabaseAgain) {
    std::string inner;
    int outerRows = 0;
    backend->scan(
        "SELECT id FROM t", {}, [](const std::vector<ColumnInfo>&) {},
        [&](const CellView*, std::size_t) {
            if (++outerRows == 3)
                inner = scanned("SELECT name FROM t WHERE id < ?", {Value(int64_t{3})});
        });
    EXPECT_EQ(outerRows, 6);
    EXPECT_EQ(inner, queried("SELECT name FROM t WHERE id < ?", {Value(int64_t{3})}));
}

TEST_F(SqliteScanTest, WhatTheReceiverThrowsEndsTheScanAndLeavesTheConnectionUsable) {
    int rows = 0;
    EXPECT_THROW(backend->scan(
                     "SELECT * FROM t", {}, [](const std::vector<ColumnInfo>&) {},
                     [&](const CellView*, std::size_t) {
                         if (++rows == 2)
                             throw std::runtime_error("enough");
                     }),
                 std::runtime_error);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(backend->execute("UPDATE t SET name = 'z' WHERE id = 1", {}), 1);
    EXPECT_EQ(scanned("SELECT * FROM t"), queried("SELECT * FROM t"));
}

} // namespace
} // namespace sifkit::test
