// SPDX-License-Identifier: MIT
#pragma once

#include "IndexedMatch.h"

#include <sifkit/Sifcore.h>
#include <sifkit/clsDBManager.h>

#include <cstdint>
#include <string>

namespace sifkit::detail {

/// "select " + field list + " from [" + table + "]", every field ("*") with an empty list.
std::string buildFieldListSelect(const clsDBManager& side);

/// The full pass: every record of thisSide's field-list query that has no equal record on
/// otherSide becomes data items (code 5) in thisSide's new collection, with progress every 50
/// records. A query without rows leaves the collection as it was. The two passes of one run
/// may share a carry, so that the second need not read the first side again. Returns false
/// when a read or a look-up on otherSide failed: the pass ended there, and its items must not
/// be taken as the result.
bool compareTableData(clsDBManager& thisSide, clsDBManager& otherSide, Sifcore& engine,
                      const std::string& label, DigestCarry* carry = nullptr);

/// The window pass: as compareTableData, over the first bufferedAmount + 1 records.
bool compareTableDataWindow(clsDBManager& thisSide, clsDBManager& otherSide, Sifcore& engine,
                            const std::string& label, int32_t startPoint, int32_t bufferedAmount);

/// The ordered pass: thisSide's records in the order of its first comparable unchanged field,
/// each looked for on otherSide; no progress, one record number for all items. Returns false as
/// compareTableData does.
bool compareTableDataOrdered(clsDBManager& thisSide, clsDBManager& otherSide);

} // namespace sifkit::detail
