// SPDX-License-Identifier: MIT
#include "model/Messages.h"

#include <sifkit/clsDBManager.h>

namespace sifkit {

void clsDBManager::openDatabaseSchema() {
    try {
        Recordset catalogue = getDatabaseConnection().openSchema(Connection::SchemaTables, {});
        if (catalogue.recordCount() > 0)
            catalogue.moveFirst();
        databaseSchema_ = catalogue;
    } catch (const std::exception&) {
        appendFailure(detail::catalogueFailure(detail::Cause::current(), connectionString_));
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
    } catch (const Error&) {
        // Documented to end quietly: the keys are only shown, and a closed record set shows none.
    }
    return keys;
}

} // namespace sifkit
