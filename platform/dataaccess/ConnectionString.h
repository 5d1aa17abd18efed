// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace sifkit::platform {

/// What a connection string in one of the user-facing forms opens.
struct OdbcTarget {
    std::string odbcConnectionString; ///< as handed to SQLDriverConnect
    bool readOnly = false;            ///< an Access file through MDB Tools
};

/// Translates "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=PATH" (an SQLite 3 file, or an
/// Access file where the MDB Tools driver is installed) and
/// "Provider=MSDASQL;Persist Security Info=False;Data Source=NAME" into ODBC connection strings,
/// with " ;User ID=U" and " ;Password=P" as UID and PWD. Any other text is passed through.
/// Throws sifkit::Error when a database file is missing or of an unknown kind.
OdbcTarget translateConnectionString(const std::string& connectionString);

/// The database file's path when the text is the file form and names an SQLite 3 file; ""
/// otherwise (a data source, an Access file, or anything translateConnectionString rejects).
std::string sqliteFileOf(const std::string& connectionString);

/// True when the file starts with the SQLite 3 header ("SQLite format 3" and a NUL).
bool isSqliteFile(const std::string& path);

} // namespace sifkit::platform
