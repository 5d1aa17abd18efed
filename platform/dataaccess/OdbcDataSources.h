// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/SifkitError.h>

#include <string>
#include <vector>

namespace sifkit::platform {

struct DataSourceEntry {
    std::string name;
    /// The data source's driver as the driver manager names it. unixODBC reports the DSN's
    /// Driver attribute here (not its Description): normally the driver's name in odbcinst.ini
    /// ("SQLite3", "PostgreSQL Unicode", "Microsoft Access Driver (*.mdb)"). A DSN that names
    /// the driver library by path is given the registered driver's name instead, when one is
    /// registered with that library.
    std::string description;
};

/// Raised when the driver manager cannot give an ODBC environment at all.
class NoOdbcEnvironment : public Error {
public:
    using Error::Error;
};

/// Appends the data sources the driver manager knows (user, then system) to `into`, in its
/// order. Throws NoOdbcEnvironment without an environment, and sifkit::DatabaseError when the
/// listing fails part way; the entries appended before the failure stay in `into`.
void listDataSources(std::vector<DataSourceEntry>& into);

/// An attribute of a data source from odbc.ini (user file first, then the system file);
/// "" when the source or the attribute does not exist.
///
/// unixODBC caches what SQLGetPrivateProfileString read for about 20 seconds per data source
/// and attribute, so an edit of odbc.ini may be seen that much later.
std::string dataSourceAttribute(const std::string& dataSource, const std::string& attribute);

/// The path of the driver library a data source uses: its Driver attribute when that names a
/// library, else the library odbcinst.ini registers under that driver name; "" when neither
/// is known.
std::string dataSourceDriverLibrary(const std::string& dataSource);

} // namespace sifkit::platform
