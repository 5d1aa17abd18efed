// SPDX-License-Identifier: MIT
#include "DatabaseServer.h"

#include "TestEnvironment.h"

#include <unistd.h>

namespace sifkit::test {

std::string DatabaseServer::connectionString(const std::string& database) const {
    return "Provider=MSDASQL;Persist Security Info=False;Data Source=" + dataSourceName(database);
}

void DatabaseServer::releaseDatabase(const std::string& database) const {
    OdbcConfig::instance().removeUserDataSource(dataSourceName(database));
}

std::string DatabaseServer::newDatabaseName() {
    databases_.push_back("db" + std::to_string(getpid()) + "_" + std::to_string(databases_.size() + 1));
    return databases_.back();
}

} // namespace sifkit::test
