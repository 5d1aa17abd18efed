// SPDX-License-Identifier: MIT
#pragma once

#include "DataReport.h"

#include <string>

namespace dbsift::cli {

/// What a comparison compares: the structure, the records of one table, or those of every table.
enum class ComparisonKind { Structure, Table, EveryTable };

/// A comparison as a file keeps it, for dbsift-compare and the window alike: both databases
/// (never a password), what is compared and how.
struct SavedComparison {
    std::string original; ///< a database file path or dsn:NAME
    std::string modified;
    std::string originalUser; ///< the user ID for a data source; "" for none
    std::string modifiedUser;
    ComparisonKind kind = ComparisonKind::Structure;
    bool fields = false;          ///< structure: the fields too
    bool views = false;           ///< structure and every table: views as well
    bool differencesOnly = false; ///< structure: without the unchanged items
    bool typesByFamily = false;   ///< structure: field types of one family count as the same
    std::string table;            ///< the table of a Table comparison
    DataSettings data;            ///< columns, key, ignored columns, value options, row filters

    bool operator==(const SavedComparison&) const = default;
};

/// The comparison as its file holds it: a JSON document, keys in a fixed order.
std::string comparisonDocument(const SavedComparison& comparison);

/// Reads a comparison document. A relative database path is taken from folder (the folder of
/// the comparison's file), so that a file beside its databases still finds them once moved.
/// Throws CliError, naming what is wrong, for a document that is not a comparison, holds a
/// password, or an option a run would refuse (a row filter that is not one condition, ...).
SavedComparison comparisonFromDocument(const std::string& document, const std::string& folder);

/// Reads the comparison file at path, its relative database paths taken from the file's
/// absolute folder; throws CliError naming the file when it cannot be read or is not a comparison.
SavedComparison readComparisonFile(const std::string& path);

/// Writes the comparison to path, through a file beside it that replaces it only once complete;
/// throws CliError when it cannot be written.
void writeComparisonFile(const std::string& path, const SavedComparison& comparison);

} // namespace dbsift::cli
