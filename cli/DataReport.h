// SPDX-License-Identifier: MIT
#pragma once

#include "DatabaseTarget.h"
#include "Report.h"

#include <sifkit/Sifcore.h>

#include <map>
#include <string>
#include <vector>

namespace dbsift::cli {

/// Which columns a data comparison compares and pairs records by.
struct DataSettings {
    std::vector<std::string> columns;       ///< empty: every comparable column on both sides
    std::vector<std::string> ignoreColumns; ///< left out of the comparison
    std::vector<std::string> key;           ///< pairs records in place of the primary key
    /// Of every table: keys of single tables, in place of key for them (empty: the table's own).
    std::map<std::string, std::vector<std::string>> tableKeys;
    sifkit::ValueOptions options; ///< when values count as equal
    std::string originalFilter;   ///< the condition each side's records are read under
    std::string modifiedFilter;

    bool operator==(const DataSettings&) const = default;
};

/// Compares the records of one table (or view) present in both databases over the given
/// columns, or over every comparable column present on both sides when none are given. Throws
/// CliError when a database cannot be opened, the table is missing on a side, a column is
/// missing or cannot be compared, a key column is not compared, or the engine reports a
/// failure during the run.
DataReport compareData(sifkit::Sifcore& core, const DatabaseTarget& original, const DatabaseTarget& modified,
                       const std::string& table, const DataSettings& settings);

/// Compares the records of every table both databases hold (and of every view, with views),
/// one table after the other, through the engine. A table that cannot be compared is listed
/// with the reason; the key given pairs the records of the tables that compare all of its
/// columns, the others are paired by their primary key. onTable is told each table before it is
/// read, onCompared given each table's comparison that finished. Throws CliError when a database cannot be
/// opened or its catalogue cannot be read.
DatabaseDataReport compareEveryTable(sifkit::Sifcore& core, const DatabaseTarget& original,
                                     const DatabaseTarget& modified, const DataSettings& settings, bool views,
                                     const sifkit::Sifcore::TableStarted& onTable,
                                     const sifkit::Sifcore::TableCompared& onCompared = {});

} // namespace dbsift::cli
