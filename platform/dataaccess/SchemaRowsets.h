// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <string>
#include <vector>

namespace sifkit::platform {

/// The catalogue rows of a schema kind (20 tables, 28 primary keys, 27 foreign keys) under the
/// column names callers know (TABLE_CATALOG, TABLE_SCHEMA, PK_TABLE_NAME, ...), filtered by the
/// non-empty restrictions. SQLite's own tables are reported as "SYSTEM TABLE".
RowSet schemaRows(Backend& backend, int32_t kind, const std::vector<std::string>& restrictions);

/// What schemaRows makes of the catalogue rows the backend returned for a kind: the columns
/// renamed, tables named as users see them, the restrictions applied, primary keys in key order.
RowSet shapeSchemaRows(RowSet rows, const Dialect& dialect, int32_t kind,
                       const std::vector<std::string>& restrictions);

/// The position of the named column among the rows' columns, -1 when there is none.
int columnIndexOf(const RowSet& rows, const std::string& name);
/// The cell at that position as text; "" for a Null or a position of -1.
std::string cellText(const Row& row, int index);

} // namespace sifkit::platform
