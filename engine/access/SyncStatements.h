// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <sifkit/Schema.h>
#include <sifkit/SyncPlan.h>
#include <sifkit/Value.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sifkit::detail {

/// A statement of a sync as text pieces and the values between them: run with the values
/// bound, or written into a script with each value as a literal.
class SyncStatement {
public:
    SyncStatement& operator<<(const std::string& text) {
        pieces_.push_back({text, std::nullopt});
        return *this;
    }
    /// A value in the statement, where its "?" mark stands.
    SyncStatement& bind(const Value& value) {
        pieces_.push_back({{}, value});
        return *this;
    }

    /// The text with "?" marks; the values are appended to parameters in order.
    std::string withMarks(std::vector<Value>& parameters) const;
    /// The text with every value written as a literal the database reads back exactly.
    std::string withLiterals(const platform::Dialect& dialect) const;

private:
    struct Piece {
        std::string text;
        std::optional<Value> value;
    };
    std::vector<Piece> pieces_;
};

/// A column a condition tests and the value it must hold (Null: IS NULL).
struct ColumnValue {
    const ColumnSchema* column;
    Value value;
};

/// Builds the statements of one table in the connection's spelling.
class SyncStatements {
public:
    SyncStatements(const platform::Dialect& dialect, const std::string& table);

    /// "INSERT INTO t (a, b) VALUES (?, ?)".
    SyncStatement insert(const std::vector<std::string>& columns, const std::vector<Value>& values) const;
    /// "UPDATE t SET a = ? WHERE ...".
    SyncStatement update(const std::vector<ColumnValue>& set, const std::vector<ColumnValue>& where) const;
    /// "DELETE FROM t WHERE ...".
    SyncStatement erase(const std::vector<ColumnValue>& where) const;
    /// "SELECT * FROM t WHERE ...": every column of the rows, for keeping them.
    SyncStatement selectAll(const std::vector<ColumnValue>& where) const;
    /// "SELECT COUNT(*) FROM t WHERE ...".
    SyncStatement count(const std::vector<ColumnValue>& where) const;

private:
    /// verb ("DELETE FROM ", ...), the table, and the conditions.
    SyncStatement onRows(const std::string& verb, const std::vector<ColumnValue>& where) const;
    void appendWhere(SyncStatement& statement, const std::vector<ColumnValue>& where) const;
    const platform::Dialect& dialect_;
    std::string quotedTable_;
};

/// The columns and values of a change's row that find it: the key's, or every column's where
/// the table has no key.
std::vector<ColumnValue> rowFinder(const TableSync& table, const std::vector<Value>& values);
/// Every column with its value: what a row held exactly.
std::vector<ColumnValue> everyColumn(const TableSync& table, const std::vector<Value>& values);
/// The columns an update writes, with the values of one of its sides.
std::vector<ColumnValue> writtenColumns(const TableSync& table, const SyncChange& change,
                                        const std::vector<Value>& values);
/// The names of the table's columns.
std::vector<std::string> columnNames(const TableSync& table);

/// The database product of a connection that a sync can change; throws for an Access file
/// (opened read-only) and a product it does not know.
enum class SyncProduct { Sqlite, Postgres, Mariadb };
SyncProduct syncProductOf(const platform::Dialect& dialect);

/// The order a sync changes rows in: inserts, tables that others' foreign keys reference
/// first; then updates; then deletes, referencing tables first. Tables in a cycle of
/// references keep the plan's order.
struct SyncStep {
    std::size_t table;
    std::size_t change;
};
std::vector<SyncStep> syncOrder(const SyncPlan& plan, platform::Backend& target);

} // namespace sifkit::detail
