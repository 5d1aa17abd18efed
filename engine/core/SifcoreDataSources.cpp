// SPDX-License-Identifier: MIT
// The machine's ODBC data sources and the connection strings built from them.

#include "access/DataSources.h"

#include <sifkit/Sifcore.h>

#include <algorithm>
#include <limits>

namespace sifkit {

int16_t Sifcore::getODBCConnectionCount() const {
    return static_cast<int16_t>(
        std::min<int32_t>(detail::dataSourceCount(), std::numeric_limits<int16_t>::max()));
}

std::string Sifcore::getODBCConnection(int32_t index) const {
    return detail::dataSourceEntry(index);
}

std::string Sifcore::getDSNName(std::string& dsNameIn) {
    return detail::dataSourceName(dsNameIn);
}

std::string Sifcore::getDriverName(const std::string& dsNameIn) {
    return detail::driverOfEntry(dsNameIn);
}

std::string Sifcore::getConncectionStringFromDSN(std::string& dsnIn) {
    return detail::connectionStringFromDsn(dsnIn);
}

std::string Sifcore::addUserIDToConnectionString(const std::string& userID, std::string& connectionString) {
    return detail::appendUserID(userID, connectionString);
}

std::string Sifcore::addPasswordToConnectionString(const std::string& passWordIn,
                                                   std::string& connectionString) {
    return detail::appendPassword(passWordIn, connectionString);
}

std::string Sifcore::getOLEDBConnectionFromPath(std::string& pathtoDB, bool useDSN) {
    return detail::connectionStringFromPath(pathtoDB, useDSN);
}

} // namespace sifkit
