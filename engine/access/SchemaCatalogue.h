#pragma once

#include <sifkit/clsDBManager.h>
#include <sifkit/clsResultSet.h>

namespace sifkit::detail {

/// Copies the first foreign key that references the manager's current table into a table
/// item (column, key name, referenced column, referenced table, referenced key name), or the
/// "not defined" texts when no foreign key references it.
void fillForeignKeyInfo(clsResultSet& item, clsDBManager& manager);

} // namespace sifkit::detail
