// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace sifkit::platform {

/// A connection string in one of the user-facing forms as ODBC takes it.
struct OdbcTarget {
    std::string odbcConnectionString; ///< as handed to SQLDriverConnect
};

/// Translates "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=PATH" (an SQLite 3 file, or an
/// Access file for the MDB Tools driver) and
/// "Provider=MSDASQL;Persist Security Info=False;Data Source=NAME" into ODBC connection strings,
/// with " ;User ID=U" and " ;Password=P" as UID and PWD. Any other text is passed through.
/// Throws sifkit::Error when a database file is missing or of an unknown kind.
OdbcTarget translateConnectionString(const std::string& connectionString);

/// What a connection string opens: a database file read by a library of its own, or an ODBC
/// connection.
struct ConnectionTarget {
    enum class Kind { Odbc, SqliteFile, AccessFile };
    Kind kind = Kind::Odbc;
    std::string odbcConnectionString; ///< Odbc: as translateConnectionString gives it
    std::string path;                 ///< a file: its path
    int busyTimeoutMs = 5000;         ///< an SQLite file: how long a statement waits for a lock
};

/// The file form opens an SQLite 3 file through libsqlite3 and an .mdb or .accdb file through
/// libmdb. So does the data source form when the data source's driver is the SQLite ODBC
/// driver or the MDB Tools driver and its database file (its Database attribute, else DBQ)
/// is such a file: the data source's Timeout becomes SQLite's busy timeout. Everything else
/// opens through ODBC. Throws as translateConnectionString.
ConnectionTarget resolveConnectionString(const std::string& connectionString);

/// True when the file starts with the SQLite 3 header ("SQLite format 3" and a NUL).
bool isSqliteFile(const std::string& path);

} // namespace sifkit::platform
