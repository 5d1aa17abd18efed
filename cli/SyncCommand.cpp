// SPDX-License-Identifier: MIT
#include "SyncCommand.h"

#include "CliError.h"

#include <sifkit/Credentials.h>
#include <sifkit/SyncRun.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace dbsift::cli {

namespace {

namespace fs = std::filesystem;
using sifkit::SyncKind;

std::string counts(const sifkit::SyncPlan& plan) {
    return std::to_string(plan.count(SyncKind::Insert)) + " inserts, " +
           std::to_string(plan.count(SyncKind::Update)) + " updates, " +
           std::to_string(plan.count(SyncKind::Delete)) + " deletes";
}

/// Whether the user agrees to the apply: --yes, or "y" typed (the program refused to start
/// without --yes where standard input is not a terminal).
bool agreed(const Options& options, const std::string& question) {
    if (options.yes)
        return true;
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "y" || answer == "Y" || answer == "yes";
}

/// A new undo file in the undo folder, named before the apply so that a failure can name it.
std::string newUndoFile() {
    const fs::path folder = undoFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw CliError("cannot create the folder for undo files " + folder.string() + ": " + ec.message() +
                       " (nothing was written)");
    return sifkit::newUndoFileName(folder.string());
}

sifkit::Connection opened(const std::string& connectionString) {
    sifkit::Connection connection;
    connection.open(connectionString);
    return connection;
}

} // namespace

std::string undoFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        return (fs::path(state) / "dbsift" / "undo").string();
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : ".") / ".local" / "state" / "dbsift" / "undo").string();
}

int bringIntoLine(const Options& options, const DatabaseTarget& original, const DatabaseTarget& modified,
                  const std::vector<sifkit::DataResult>& comparisons, int comparisonStatus) {
    const bool toModified = options.direction == sifkit::SyncDirection::ToModified;
    const DatabaseTarget& target = toModified ? modified : original;
    const char* targetSide = toModified ? "Modified" : "Original";
    const sifkit::SyncNames names{original.name, modified.name};
    try {
        const sifkit::SyncPlan plan = sifkit::planSync(comparisons, options.direction);
        for (const sifkit::TableSync& table : plan.tables)
            for (const std::string& left : table.leftOut)
                std::cerr << "dbsift-compare: left out: " << left << "\n";
        const sifkit::Connection connection = opened(target.connectionString);
        if (!options.sqlScript.empty()) {
            std::ofstream script(options.sqlScript, std::ios::binary | std::ios::trunc);
            script << sifkit::syncScript(plan, connection, names);
            script.close();
            if (!script)
                throw CliError("cannot write the script to " + options.sqlScript);
        }
        if (!options.apply)
            return comparisonStatus;
        if (plan.empty()) {
            std::cerr << "dbsift-compare: nothing to apply\n";
            return comparisonStatus;
        }
        if (!agreed(options, std::string("Apply ") + counts(plan) + " to the " + targetSide + " database " +
                                 sifkit::maskCredentials(target.name) + "?")) {
            std::cerr << "dbsift-compare: nothing was written\n";
            return comparisonStatus;
        }
        const std::string undoFile = newUndoFile();
        const sifkit::SyncRecord applied = sifkit::applySync(plan, connection, names, undoFile);
        std::cerr << "dbsift-compare: applied " << applied.description() << "\n"
                  << "undo file: " << undoFile << std::endl;
        return 0;
    } catch (const sifkit::Error& error) {
        throw CliError(error.description());
    }
}

int undoSync(sifkit::Sifcore& core, const Options& options, const Credentials& credentials) {
    try {
        const sifkit::SyncRecord record = sifkit::readSyncUndo(options.undoFile);
        std::string connectionString = record.database;
        // The file keeps the user ID; the password, never stored, comes as for a comparison.
        if (credentials.password)
            core.addPasswordToConnectionString(*credentials.password, connectionString);
        const sifkit::Connection connection = opened(connectionString);
        sifkit::undoSync(connection, options.undoFile);
        std::cerr << "dbsift-compare: took back " << record.description() << "\n";
        return 0;
    } catch (const sifkit::Error& error) {
        throw CliError(error.description());
    }
}

} // namespace dbsift::cli
