// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <sifkit/Value.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit::detail {

/// One condition of a statement: the column equals the value exactly (letter case, wildcard
/// characters and all), or is Null when the value is Null. typeCode is the column's field type
/// code, which decides how the value is written in the texts users see.
struct Condition {
    std::string column;
    Value value;
    int32_t typeCode = 0;

    bool operator==(const Condition&) const = default;
};

/// A select on one table, typed: which columns, which rows, in which order. It is built once;
/// it runs in its exact form (names quoted by the connection, values bound, never pasted), and
/// the texts users see (getSql, getWhereClause, messages) are rendered from it.
struct Statement {
    std::string table;
    std::vector<std::string> columns; ///< empty: every column
    std::vector<Condition> conditions;
    std::string orderBy; ///< the column the rows are sorted by; "" for the database's own order
    /// A condition in the database's own SQL that every row read must meet, beside the
    /// conditions above; "" for none. Checked as whyNotARowFilter checks it before it is set.
    std::string filter;

    bool operator==(const Statement&) const = default;

    /// The statement in the connection's spelling, with one "?" per non-Null condition, whose
    /// values are appended to parameters in order.
    std::string render(const platform::Dialect& dialect, std::vector<Value>& parameters) const;
};

} // namespace sifkit::detail
