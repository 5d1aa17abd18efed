#pragma once

#include <string>
#include <vector>

namespace sifkit::platform {

struct DataSourceEntry {
    std::string name;
    std::string description; ///< the driver's description, as the driver manager gives it
};

/// The data sources the driver manager knows (user and system), in its order. Throws
/// sifkit::Error when no ODBC environment can be had or the listing fails.
std::vector<DataSourceEntry> listDataSources();

/// An attribute of a data source from odbc.ini (user file first, then the system file);
/// "" when the source or the attribute does not exist.
std::string dataSourceAttribute(const std::string& dataSource, const std::string& attribute);

} // namespace sifkit::platform
