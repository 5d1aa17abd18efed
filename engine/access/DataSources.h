// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/OdbcDataSources.h"

#include <sifkit/HostHooks.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sifkit::detail {

// The machine's ODBC data sources as entries "DSN=<name> | <driver description>", and the
// connection strings users see for a data source or a database file. The list and the
// file-based flag are shared by every engine control of the process.

/// Appends the machine's data sources to its argument; see platform::listDataSources.
using DataSourceLister = std::function<void(std::vector<platform::DataSourceEntry>& into)>;

/// Replaces the process-wide list with the data sources the lister gives, in its order.
/// Without an ODBC environment (platform::NoOdbcEnvironment) the list is empty and nothing is
/// shown; any other failure shows "No ODBC connections were found on this system" through the
/// host's message box and keeps the entries gathered before it.
void loadOdbcDataSources(const HostHooks& hooks, const DataSourceLister& lister = platform::listDataSources);

/// Number of entries in the list.
int32_t dataSourceCount();
/// Entry number index (1-based); throws sifkit::Error (subscript out of range) outside 1..count.
std::string dataSourceEntry(int32_t index);
/// Whether the last connectionStringFromDsn saw an Access, FoxPro or dBase driver.
bool isFileBasedSource();

/// The data source name of an entry: with "DSN=" in it, the entry itself loses its first four
/// characters and surrounding blanks, and the name is the trimmed text before the first "|".
/// "" without "DSN=" or without "|".
std::string dataSourceName(std::string& entry);
/// The trimmed text after the first "|"; "" without one.
std::string driverOfEntry(const std::string& entry);
/// The connection string for an entry: the Jet form on the source's database file for an
/// Access driver, the MSDASQL form on the name otherwise. Sets isFileBasedSource; the entry
/// loses its "DSN=" as dataSourceName does.
std::string connectionStringFromDsn(std::string& entry);
/// The database file of a data source: its Database attribute, else its DBQ attribute; "" when
/// neither is set.
std::string databaseFileOfDataSource(const std::string& name);
/// Appends " ;User ID=" + userID unless connectionString holds ";User ID="; the argument is
/// updated and returned.
std::string appendUserID(const std::string& userID, std::string& connectionString);
/// Appends " ;Password=" + password unless connectionString holds ";Password="; the argument is
/// updated and returned.
std::string appendPassword(const std::string& password, std::string& connectionString);
/// With useDSN, connectionStringFromDsn(path); otherwise the Jet form on the path.
std::string connectionStringFromPath(std::string& path, bool useDSN);

} // namespace sifkit::detail
