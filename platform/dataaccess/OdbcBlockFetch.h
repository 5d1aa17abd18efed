// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"
#include "OdbcApi.h"

#include <vector>

namespace sifkit::platform::odbc {

/// Fetches the rows of an executed statement in blocks: every column bound to an array of
/// buffers, many rows a call, each handed to onRow as cells read the way single reads give
/// them. A value longer than its column's buffer fails the fetch (ValueTooLong): callers that
/// need such values read them one by one instead.
void fetchInBlocks(Handle& statement, const std::vector<ColumnInfo>& columns, const RowSink& onRow);

} // namespace sifkit::platform::odbc
