// SPDX-License-Identifier: MIT
#include "Failure.h"

#include <sifkit/Credentials.h>

#include <sifkit/clsDBManager.h>

namespace sifkit {

void clsDBManager::openDatabaseSchema() {
    try {
        Recordset catalogue = getDatabaseConnection().openSchema(Connection::SchemaTables, {});
        if (catalogue.recordCount() > 0)
            catalogue.moveFirst();
        databaseSchema_ = catalogue;
    } catch (...) {
        returnConnectionMessage_ += detail::currentFailureText() +
                                    " #5 Error when attempting to open the database schema for the following "
                                    "connection :" +
                                    maskCredentials(connectionString_) + " ||";
    }
}

std::string clsDBManager::getAccessPrimaryKey(const std::string& tableNameIn) {
    Recordset keys = getDatabaseConnection().openSchema(Connection::SchemaPrimaryKeys, {"", "", tableNameIn});
    std::string key = "No primary key Defined";
    if (!keys.eof())
        key = keys.field("COLUMN_NAME").value().toString();
    keys.close();
    return key;
}

Recordset clsDBManager::getAccessForeignKey(const std::string& tableNameIn) {
    Recordset keys;
    try {
        keys = getDatabaseConnection().openSchema(Connection::SchemaForeignKeys, {"", "", tableNameIn});
    } catch (...) {
    }
    return keys;
}

} // namespace sifkit
