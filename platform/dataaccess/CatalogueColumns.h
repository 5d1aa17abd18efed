// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <vector>

namespace sifkit::platform {

/// The columns of the catalogue functions' results, as ODBC names them, for backends that
/// build the rows themselves (SQLite and Access files).
std::vector<ColumnInfo> tableCatalogueColumns();      ///< SQLTables
std::vector<ColumnInfo> primaryKeyCatalogueColumns(); ///< SQLPrimaryKeys
std::vector<ColumnInfo> foreignKeyCatalogueColumns(); ///< SQLForeignKeys

/// ODBC's numbers of referential actions (SQL_CASCADE, SQL_NO_ACTION, ...).
enum ReferentialRule : int64_t { Cascade = 0, Restrict = 1, SetNull = 2, NoAction = 3, SetDefault = 4 };
/// ODBC's number for a key that is not deferrable (SQL_NOT_DEFERRABLE).
constexpr int64_t notDeferrable = 7;

} // namespace sifkit::platform
