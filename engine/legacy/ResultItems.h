// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <sifkit/ResultCollection.h>
#include <sifkit/StructureResult.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit::detail {

/// The primary key text of a table as the items carry it: its first key column, or "No primary
/// key Defined".
std::string primaryKeyText(const TableSchema& table);

/// Appends one item per entry of the side, in order: a table item for an object (with its
/// primary key and the first foreign key that references it), a field item for a column (with
/// its type name, sizes and comparability), each with the entry's change code. With
/// differencesOnly, entries without a change are left out.
void appendStructureItems(ResultCollection& items, const SideStructure& side, bool differencesOnly = false);

/// Removes every item whose code is "0", keeping the order of the others in the same
/// collection object.
void removeUnchangedItems(ResultCollection& items);

/// Appends one field item per column of the table (change code 0), as a data run lists a
/// table's fields.
void appendFieldItems(ResultCollection& items, const TableSchema& table);

/// What every data item of one data pass shares.
struct DataItemContext {
    std::string table;
    std::string primaryKey;  ///< the table's primary key text
    int32_t fieldCount = 0;  ///< fields of the side's query
    int32_t recordCount = 0; ///< as the items carry it: the side's record count plus 4
};

/// Appends the data items of one record found on one side only: one per field of its query
/// (change code 5), each with the field's value as text ("Null" for a Null), type code and
/// actual size.
void appendDataItems(ResultCollection& items, const std::vector<ColumnSchema>& columns,
                     const platform::Row& values, int32_t recordNumber, const DataItemContext& context);

} // namespace sifkit::detail
