// SPDX-License-Identifier: MIT
#pragma once

#include "Comparison.h"
#include "DatabaseTarget.h"
#include "Formatters.h"

#include <sifkit/Sifcore.h>

#include <cstdint>
#include <string>

namespace dbsift::cli {

/// A comparison's whole output in one format, and how many differences it found.
struct ComparisonOutput {
    std::string text;
    int32_t differences = 0;
};

/// Runs the comparison on the two databases through the engine and formats what it found, as
/// dbsift-compare prints it; the window's export writes the same. onTable is told each table a
/// comparison of every table reads; onCompared is given each table's data comparison that
/// finished. Throws CliError as the comparisons do.
ComparisonOutput runComparison(sifkit::Sifcore& core, const SavedComparison& comparison,
                               const DatabaseTarget& original, const DatabaseTarget& modified, Format format,
                               const sifkit::Sifcore::TableStarted& onTable = {},
                               const sifkit::Sifcore::TableCompared& onCompared = {});

} // namespace dbsift::cli
