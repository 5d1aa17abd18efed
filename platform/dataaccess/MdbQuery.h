// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <sifkit/Value.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sifkit::platform::mdb {

/// A value a condition reads: a column of the row, a literal or a bound parameter.
struct Operand {
    enum class Kind { Column, Literal, Parameter };
    Kind kind = Kind::Literal;
    std::string column;        ///< Column: the name as written
    std::size_t position = 0;  ///< Column: its position among the table's columns, once bound
    Value literal;             ///< Literal (Null for NULL)
    bool isDate = false;       ///< Literal: written in "#" signs
    std::size_t parameter = 0; ///< Parameter: its position among the "?" marks
};

struct Condition {
    enum class Kind { And, Or, Not, Compare, Like, IsNull };
    Kind kind = Kind::Compare;
    std::string op;                         ///< Compare: "=", "<>", "<", ">", "<=", ">="
    bool negated = false;                   ///< NOT LIKE, IS NOT NULL
    std::unique_ptr<Condition> left, right; ///< And and Or: both; Not: left
    Operand a, b;                           ///< Compare and Like: both; IsNull: a
};

struct OrderTerm {
    std::string column;
    std::size_t position = 0; ///< once bound
    bool descending = false;
};

/// The statements an Access file is read with: the rows of one table,
///   SELECT [TOP n] * | column, ... FROM table [WHERE condition]
///     [ORDER BY column [ASC | DESC], ...] [;]
/// where a condition joins comparisons (=, <>, !=, <, >, <=, >=), [NOT] LIKE (with % and _),
/// IS [NOT] NULL, AND, OR, NOT and parentheses. Names stand bare, in square brackets ("]]"
/// for "]"), double quotes or backticks, optionally after their table's name and a dot; texts
/// in single quotes, dates in "#" signs (as Access writes them), "?" for bound values.
struct Select {
    std::string table;
    std::vector<std::string> columns;   ///< empty: every column
    std::vector<std::size_t> positions; ///< the columns' positions among the table's, once bound
    std::unique_ptr<Condition> where;   ///< null: every row
    std::vector<OrderTerm> orderBy;
    int64_t top = -1; ///< TOP n; -1 when not limited
    std::size_t parameterCount = 0;
};

/// Reads a statement; throws sifkit::Error naming what cannot be read, for any other one.
Select parseSelect(const std::string& sql);

/// Resolves the statement's names against the table's columns (exactly, else without regard
/// to letter case, as Access does); throws sifkit::Error for a name the table lacks and when
/// the parameters do not match the "?" marks.
void bindSelect(Select& select, const std::vector<ColumnInfo>& columns, const std::vector<Value>& parameters);

/// Reads one column of the current row.
using CellReader = std::function<CellView(std::size_t position)>;

/// Whether the current row passes the statement's condition (every row passes without one).
/// Comparisons are exact and by the column's type: texts byte for byte, numbers by value,
/// Currency and Decimal by exact decimal value, dates by the instant they stand for; a
/// comparison with Null is not true.
bool accepts(const Select& select, const std::vector<ColumnInfo>& columns,
             const std::vector<Value>& parameters, const CellReader& row);

/// The positions of the columns the statement's condition reads.
std::vector<std::size_t> conditionColumns(const Select& select);

/// Orders two values of a column as ORDER BY does: Null first, then by the comparison of
/// accepts(); negative, zero or positive.
int orderOf(const Value& a, const Value& b, const ColumnInfo& column);

/// Whether a text matches a LIKE pattern ("%" any run of characters, "_" one), exactly.
bool likeMatches(std::string_view text, std::string_view pattern);

} // namespace sifkit::platform::mdb
