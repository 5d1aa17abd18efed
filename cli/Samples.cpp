// SPDX-License-Identifier: MIT
#include "Samples.h"

#include "CliError.h"
#include "SampleScripts.h"
#include "SqlScript.h"

#include <sifkit/DataAccess.h>

#include <unistd.h>

namespace dbsift::cli {

namespace fs = std::filesystem;

namespace {

/// An ODBC attribute value, braced when it holds a character that would end it.
std::string odbcValue(const std::string& value) {
    if (value.find_first_of(";{}") == std::string::npos && value.find_first_of(' ') != 0)
        return value;
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}')
            braced += '}';
    }
    return braced + "}";
}

/// Builds the database at a temporary name beside its final one, then moves it into place, so
/// that a failure never leaves a file that a later run would take for a finished sample.
void createDatabase(const fs::path& path, std::string_view script) {
    const fs::path partial =
        path.parent_path() / ("." + path.filename().string() + ".partial-" + std::to_string(getpid()));
    try {
        fs::remove(partial);
        sifkit::Connection connection;
        // The SQLite driver creates the file it is asked to open.
        connection.open("Driver=SQLite3;Database=" + odbcValue(partial.string()));
        for (const std::string& statement : splitStatements(script))
            connection.execute(statement);
        connection.close();
        fs::rename(partial, path);
    } catch (const sifkit::Error& error) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw CliError("cannot create " + path.string() + ": " + error.description());
    } catch (const fs::filesystem_error& error) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw CliError("cannot create " + path.string() + ": " + error.code().message());
    }
}

} // namespace

void createSamples(const fs::path& folder, std::ostream& out) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw CliError("cannot create the folder " + folder.string() + ": " + error.message());
    for (const auto& [name, script] : {std::pair{"original.db", samples::originalScript},
                                       std::pair{"modified.db", samples::modifiedScript}}) {
        const fs::path path = folder / name;
        if (fs::exists(path)) {
            out << path.string() << " exists, left as it is\n";
            continue;
        }
        createDatabase(path, script);
        out << path.string() << " created\n";
    }
}

} // namespace dbsift::cli
