// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/Sifcore.h>

#include <optional>
#include <string>

namespace dbsift::cli {

/// The user ID and password for data sources.
struct Credentials {
    std::string user;
    std::optional<std::string> password;
};

/// One side of the comparison: what the user named and the engine's connection string for it.
/// The connection string may hold the password: it goes to the engine and nowhere else.
struct DatabaseTarget {
    std::string name;
    std::string connectionString;
};

/// The prefix that names an ODBC data source instead of a file.
inline constexpr const char* dataSourcePrefix = "dsn:";

/// Builds the connection string for a database file path or "dsn:NAME", the data source looked
/// up in the engine's list of the machine's data sources. Credentials apply to data sources only.
/// Throws CliError for a data source name the machine does not know.
DatabaseTarget resolveTarget(sifkit::Sifcore& core, const std::string& argument,
                             const Credentials& credentials);

} // namespace dbsift::cli
