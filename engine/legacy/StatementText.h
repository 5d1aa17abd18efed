// SPDX-License-Identifier: MIT
#pragma once

#include "model/Statement.h"

#include <string>

namespace sifkit::detail {

// The texts users see of the engine's statements: what getSql, getWhereClause and messages
// show. Each is rendered from the typed statement that runs in its place; none of them is ever
// run or read back.

/// "select " + field list (or "*" when it is empty) + " from [" + table + "]", followed by
/// " order by " + orderBy when one is given: the field list as the host wrote it.
std::string tableQueryText(const std::string& fieldList, const std::string& table,
                           const std::string& orderBy = "");

/// The match query that looks for a record on the other side, as two texts.
struct MatchQueryText {
    std::string select; ///< "Select [A],[B] ,[C]  from [T]"
    std::string where;  ///< " Where [A] = 7 AND [B] like 'Bob' AND [C] is null "
};

/// The texts of a match query: each condition's column bracketed, its literal by its type code
/// (dates in # signs on an Access side), "like " for character types after the first.
MatchQueryText matchQueryText(const Statement& match, bool isAccess);

/// " Where ID = 7 AND Name LIKE 'O''Neil'": the first condition with " = " (or " is null"), the
/// later non-Null ones with " LIKE "; later Null conditions add nothing to the text.
std::string recordWhereText(const Statement& record, bool isAccess);

} // namespace sifkit::detail
