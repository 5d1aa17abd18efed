// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace dbsift {

/// A connection string as a side of the window keeps it: the database part, and the user ID
/// appended to it (" ;User ID=ann", the form the engine appends). A password is never part of it.
struct SideConnection {
    std::string database;
    std::string userID;
};

/// Takes a connection string apart into its database part and the user ID appended to it; a
/// password in it is dropped. A string that names no user gives an empty user ID.
SideConnection splitUserID(const std::string& connection);

/// True for the connection string of a database file ("Provider=Microsoft.Jet.OLEDB..." or the
/// ACE provider): a file is opened without a user ID or password.
bool isFileConnection(const std::string& connection);

/// The database of a connection string as dbsift-compare and saved comparisons name it: the
/// file's path for a database file, dsn:NAME for a data source; "" for a string of another form.
std::string commandLineName(const std::string& connection);

/// What a connection box shows for a connection string: the file's name for a database file,
/// the data source's name for a data source, and any other string as it is with its password
/// masked. "" for "".
QString connectionDisplayName(const std::string& connection);

/// connectionDisplayName of each connection of a list, told apart where two would read the same:
/// a file's name then shows its folder, anything else its whole string with the password masked.
QStringList connectionDisplayNames(const std::vector<std::string>& connections);

/// The whole connection string for a tooltip, its password masked.
QString connectionToolTip(const std::string& connection);

} // namespace dbsift
