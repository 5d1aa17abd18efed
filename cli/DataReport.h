// SPDX-License-Identifier: MIT
#pragma once

#include "DatabaseTarget.h"
#include "Report.h"

#include <sifkit/Sifcore.h>

#include <string>
#include <vector>

namespace dbsift::cli {

/// Compares the records of one table (or view) present in both databases over the given
/// columns, or over every comparable column present on both sides when none are given. Throws
/// CliError when a database cannot be opened, the table is missing on a side, a column is
/// missing or cannot be compared, or the engine reports a failure during the run.
DataReport compareData(sifkit::Sifcore& core, const DatabaseTarget& original, const DatabaseTarget& modified,
                       const std::string& table, const std::vector<std::string>& columns);

} // namespace dbsift::cli
