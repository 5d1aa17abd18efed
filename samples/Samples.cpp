// SPDX-License-Identifier: MIT
#include "Samples.h"

#include "SampleScripts.h"

#include <sqlite3.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace dbsift::samples {

namespace fs = std::filesystem;

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

/// Runs the whole script on a new database file at path; throws SampleError with SQLite's text.
void runScript(const fs::path& path, std::string_view script) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(raw); // sqlite3_open_v2 hands out a handle to close even when it fails
    if (opened != SQLITE_OK)
        throw SampleError(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(opened));
    // One transaction: the file holds either the whole sample or nothing usable.
    const std::string text = "BEGIN;\n" + std::string(script) + "\nCOMMIT;";
    char* error = nullptr;
    if (sqlite3_exec(db.get(), text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db.get());
        sqlite3_free(error);
        throw SampleError(message);
    }
    if (sqlite3_close(db.release()) != SQLITE_OK)
        throw SampleError("the file could not be closed");
}

/// Builds the database at a temporary name beside its final one, then moves it into place, so
/// that a failure never leaves a file that a later run would take for a finished sample.
void createDatabase(const fs::path& path, std::string_view script) {
    const fs::path partial =
        path.parent_path() / ("." + path.filename().string() + ".partial-" + std::to_string(getpid()));
    std::error_code ignored;
    try {
        fs::remove(partial);
        runScript(partial, script);
        fs::rename(partial, path);
    } catch (const SampleError& error) {
        fs::remove(partial, ignored);
        throw SampleError("cannot create " + path.string() + ": " + error.what());
    } catch (const fs::filesystem_error& error) {
        fs::remove(partial, ignored);
        throw SampleError("cannot create " + path.string() + ": " + error.code().message());
    }
}

} // namespace

void createSamples(const fs::path& folder, std::ostream& out) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw SampleError("cannot create the folder " + folder.string() + ": " + error.message());
    for (const auto& [name, script] : {std::pair{"original.db", scripts::originalScript},
                                       std::pair{"modified.db", scripts::modifiedScript}}) {
        const fs::path path = folder / name;
        if (fs::exists(path)) {
            out << path.string() << " exists, left as it is\n";
            continue;
        }
        createDatabase(path, script);
        out << path.string() << " created\n";
    }
}

} // namespace dbsift::samples
