// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <string>
#include <vector>

namespace sifkit::platform {

/// The unique keys without Nulls of an SQLite table (Backend::uniqueKeys), read through its
/// pragmas: the table's own file or the SQLite ODBC driver, which hands them to SQLite as they are.
std::vector<std::vector<std::string>> sqliteUniqueKeys(Backend& backend, const std::string& table);

/// The keys of catalogue rows that list unique indexes one key column a row, in key order: the
/// index's name, the column's name (Null for an expression) and 1 where the column is not null.
/// Keys with a column that may be Null, or is an expression, are left out.
std::vector<std::vector<std::string>> uniqueKeysOf(const RowSet& rows);

} // namespace sifkit::platform
