// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <sifkit/Value.h>

#include <optional>
#include <string>
#include <vector>

namespace sifkit::detail {

/// One condition of an exact query: the column equals the value, exactly (letter case,
/// wildcard characters and all), or is Null when the value is Null.
struct ExactCondition {
    std::string column;
    Value value;
};

/// A select on one table that finds rows by exact equality, kept apart from any connection so
/// that it can run on either side: select <columns, or *> from <table> where <conditions>.
struct ExactQuery {
    std::string table;
    std::vector<std::string> columns; ///< empty: every column
    std::vector<ExactCondition> conditions;
    std::string orderBy; ///< column the rows are sorted by, "" for the database's own order

    /// The statement in the connection's spelling, with one "?" per non-Null value, whose
    /// values are appended to parameters in order.
    std::string render(const platform::Dialect& dialect, std::vector<Value>& parameters) const;
};

/// A statement the engine built twice: as the text users see (in messages, rollback entries
/// and getSql) and as the exact query that runs in its place.
struct BoundForm {
    std::string shownText;
    ExactQuery query;
};

} // namespace sifkit::detail
