// SPDX-License-Identifier: MIT
#pragma once

#include "Comparison.h"
#include "Formatters.h"

#include <sifkit/CompareOptions.h>
#include <sifkit/SyncPlan.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace dbsift::cli {

/// What the command line asks for.
struct Options {
    std::string original; ///< a database file path or dsn:NAME
    std::string modified;
    // Structure mode (the default).
    bool fields = false;
    bool views = false;
    bool differencesOnly = false;
    bool typesByFamily = false;
    // Data mode: a table given.
    std::string table;
    std::vector<std::string> columns; ///< empty: every comparable field present on both sides
    std::string originalFilter;       ///< the SQL condition the Original's records are read under
    std::string modifiedFilter;
    // Data of every table: --data.
    bool allTables = false;
    // Both data modes.
    std::vector<std::string> key; ///< pairs records in place of the primary key
    /// Keys of single tables of every table, from a saved comparison only.
    std::map<std::string, std::vector<std::string>> tableKeys;
    std::vector<std::string> ignoreColumns; ///< never compared
    sifkit::ValueOptions valueOptions;      ///< when values count as equal
    Format format = Format::Text;
    std::string user;         ///< the user ID for both sides' data sources
    std::string originalUser; ///< a saved comparison's user ID of a side, where --user gives none
    std::string modifiedUser;
    std::string passwordEnv;    ///< name of the environment variable holding the password
    std::string comparisonFile; ///< the saved comparison run, whose settings fill the rest
    std::string createSamplesDir;
    bool showSql = false; ///< print every statement sent to the databases on standard error
    // Bringing the databases into line, after a data comparison.
    std::string sqlScript; ///< write the changes as a script for the target database to this file
    bool apply = false;    ///< carry the changes out in the target database
    bool yes = false;      ///< --apply without asking
    sifkit::SyncDirection direction = sifkit::SyncDirection::ToModified;
    std::string undoFile; ///< take back the sync this undo file records (no comparison)

    bool dataMode() const { return !table.empty(); }
    bool comparesData() const { return dataMode() || allTables; }
    bool syncs() const { return !sqlScript.empty() || apply; }
};

/// The comparison the command line asks for, as a comparison file would hold it.
SavedComparison comparisonOf(const Options& options);

/// Reads the command line. Returns the exit status when the program ends here: 0 after --help
/// or --version (printed to standard output), 2 after a usage error (one line on standard
/// error).
std::optional<int> parseOptions(int argc, char** argv, Options& options);

} // namespace dbsift::cli
