// SPDX-License-Identifier: MIT
#include "DatabaseTarget.h"

#include "CliError.h"

#include <filesystem>

namespace dbsift::cli {

namespace {

/// The engine's list entry ("DSN=name | driver") of a data source, or "" when there is none.
/// The entry, rather than "DSN=name" alone, carries the driver, which decides the form of the
/// connection string (an Access data source opens its database file).
std::string dataSourceEntry(sifkit::Sifcore& core, const std::string& name) {
    const int32_t count = core.getODBCConnectionCount();
    for (int32_t index = 1; index <= count; ++index) {
        std::string entry = core.getODBCConnection(index);
        std::string scratch = entry; // getDSNName rewrites its argument
        if (core.getDSNName(scratch) == name)
            return entry;
    }
    return {};
}

} // namespace

DatabaseTarget resolveTarget(sifkit::Sifcore& core, const std::string& argument,
                             const Credentials& credentials) {
    const std::string prefix = dataSourcePrefix;
    if (argument.rfind(prefix, 0) != 0) {
        // The file as the engine names it wherever it is kept (an undo file, a rollback entry)
        // must not depend on the folder the program was started in.
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(argument, ec);
        std::string path = ec || argument.empty() ? argument : absolute.lexically_normal().string();
        return {argument, core.getOLEDBConnectionFromPath(path, false)};
    }
    const std::string name = argument.substr(prefix.size());
    if (name.empty())
        throw CliError("\"" + argument + "\" names no data source: write dsn:NAME");
    std::string entry = dataSourceEntry(core, name);
    if (entry.empty())
        throw CliError("there is no ODBC data source named \"" + name + "\"");
    std::string connectionString = core.getConncectionStringFromDSN(entry);
    if (!credentials.user.empty())
        core.addUserIDToConnectionString(credentials.user, connectionString);
    if (credentials.password)
        core.addPasswordToConnectionString(*credentials.password, connectionString);
    return {argument, connectionString};
}

} // namespace dbsift::cli
