// SPDX-License-Identifier: MIT
#pragma once

#include "support/TestEnvironment.h"

#include <string>
#include <utility>
#include <vector>

namespace sifkit::test {

/// What one run of dbsift-compare left behind.
struct CliResult {
    int status = -1; ///< exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

/// Runs the built dbsift-compare with these arguments, standard output and standard error
/// captured apart (so neither is a terminal), under the test process's environment plus the
/// given variables.
CliResult runCli(const std::vector<std::string>& args,
                 const std::vector<std::pair<std::string, std::string>>& environment = {});

/// An Original and a Modified SQLite database built from two scripts.
struct DatabasePair {
    DatabasePair(const std::string& originalScript, const std::string& modifiedScript);

    TempDir dir;
    std::string original = dir.file("original.db");
    std::string modified = dir.file("modified.db");
};

/// The text of samples/original.sql or samples/modified.sql.
std::string sampleScript(const std::string& name);

/// The two sample databases the program creates with --create-samples.
struct SamplePair : DatabasePair {
    SamplePair() : DatabasePair(sampleScript("original.sql"), sampleScript("modified.sql")) {}
};

/// A data source name no earlier test used: unixODBC caches what it read of odbc.ini.
std::string freshDataSourceName(const std::string& stem);

} // namespace sifkit::test
