// SPDX-License-Identifier: MIT
// dbsift-compare: compares two databases through the Sifkit engine, from the command line.
// Exit status as diff's: 0 no differences, 1 differences found, 2 trouble.

#include "CliError.h"
#include "ComparisonRun.h"
#include "DatabaseTarget.h"
#include "Options.h"
#include "ProgressBar.h"
#include "Redaction.h"
#include "Samples.h"
#include "SqlTrace.h"
#include "SyncCommand.h"

#include <sifkit/Credentials.h>
#include <sifkit/DataAccess.h>
#include <sifkit/Sifcore.h>

#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace dbsift::cli {

namespace {

constexpr int exitSame = 0;
constexpr int exitDifferent = 1;
constexpr int exitTrouble = 2;

/// The one line that tells the user what went wrong; never a password, never several lines.
void reportTrouble(const std::string& text) {
    std::string line = redact(sifkit::maskCredentials(text));
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    std::cerr << "dbsift-compare: " << line << "\n";
}

/// A side's credentials: its user ID (--user, else the saved comparison's) and the password.
Credentials credentialsFrom(const Options& options, Side side) {
    const std::string& savedUser = side == Side::Original ? options.originalUser : options.modifiedUser;
    Credentials credentials{options.user.empty() ? savedUser : options.user, std::nullopt};
    if (!options.passwordEnv.empty()) {
        const char* password = std::getenv(options.passwordEnv.c_str());
        if (!password)
            throw CliError("the environment variable " + options.passwordEnv +
                           " (--password-env) is not set");
        credentials.password = password;
        registerSecret(password);
    }
    return credentials;
}

/// --show-sql: every statement on standard error, one line each.
void traceStatements(const Options& options, ProgressBar& progress) {
    if (options.showSql)
        sifkit::setSqlTrace([&progress](const std::string& sql, const std::vector<sifkit::Value>& values) {
            progress.clear();
            std::cerr << redact(sqlTraceLine(sql, values)) << std::endl;
        });
}

int compare(const Options& options, ProgressBar& progress) {
    if (options.apply && !options.yes && isatty(STDIN_FILENO) != 1)
        throw CliError("--apply asks before it writes, and standard input is not a terminal: give --yes to "
                       "apply without asking");
    sifkit::HostHooks hooks;
    hooks.updateCount = [&progress](int32_t& count, int32_t& maxCount, std::string& label) {
        progress.update(count, maxCount, label);
    };
    sifkit::Sifcore core(hooks);
    const DatabaseTarget original =
        resolveTarget(core, options.original, credentialsFrom(options, Side::Original));
    const DatabaseTarget modified =
        resolveTarget(core, options.modified, credentialsFrom(options, Side::Modified));

    std::vector<sifkit::DataResult> compared; // kept only to bring the databases into line
    const ComparisonOutput output = runComparison(
        core, comparisonOf(options), original, modified, options.format,
        [&progress](std::size_t number, std::size_t count, const std::string& table) {
            progress.setTask("Table " + std::to_string(number) + " of " + std::to_string(count) + " (" +
                             table + ")");
        },
        [&](const sifkit::DataResult& result) {
            if (options.syncs())
                compared.push_back(result);
        });
    progress.clear();
    std::cout << output.text << std::flush;
    if (!std::cout)
        throw CliError("cannot write the result to standard output");
    const int status = output.differences > 0 ? exitDifferent : exitSame;
    return options.syncs() ? bringIntoLine(options, original, modified, compared, status) : status;
}

int run(const Options& options) {
    ProgressBar progress(standardErrorIsTerminal());
    try {
        if (!options.createSamplesDir.empty()) {
            samples::createSamples(options.createSamplesDir, std::cout);
            return exitSame;
        }
        traceStatements(options, progress);
        if (!options.undoFile.empty()) {
            sifkit::Sifcore core;
            return undoSync(core, options, credentialsFrom(options, Side::Modified));
        }
        return compare(options, progress);
    } catch (const CliError& error) {
        progress.clear();
        reportTrouble(error.what());
    } catch (const samples::SampleError& error) {
        progress.clear();
        reportTrouble(error.what());
    } catch (const std::exception& error) {
        progress.clear();
        reportTrouble(std::string("unexpected failure: ") + error.what());
    } catch (...) {
        progress.clear();
        reportTrouble("unexpected failure");
    }
    return exitTrouble;
}

} // namespace

} // namespace dbsift::cli

int main(int argc, char** argv) {
    dbsift::cli::Options options;
    if (auto exitStatus = dbsift::cli::parseOptions(argc, argv, options))
        return *exitStatus;
    return dbsift::cli::run(options);
}
