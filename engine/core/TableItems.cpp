// SPDX-License-Identifier: MIT
#include "TableItems.h"

#include "FieldItems.h"
#include "access/FieldTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sifkit::detail {

namespace {

const char* const successText = "Successfully Completed";

bool isListedType(const std::string& type, bool showViews) {
    if (type == "ACCESS TABLE" || type == "SYSTEM TABLE")
        return false;
    return type == "TABLE" || showViews;
}

bool isListed(const clsDBManager& side) {
    return isListedType(side.getTableDataType(), side.getShowViews());
}

std::string text(const Recordset& rows, const char* column) {
    return rows.field(column).value().toString();
}

/// Every object name of the catalogue; the catalogue is left on its first row again.
std::vector<std::string> objectNames(Recordset& catalogue) {
    std::vector<std::string> names;
    for (; !catalogue.eof(); catalogue.moveNext())
        names.push_back(text(catalogue, "TABLE_NAME"));
    catalogue.moveFirst();
    return names;
}

/// The server catalogue of the objects the walk lists, where the connection reads it at once.
/// First rows are read for the listed tables (not views, whose first row a row limit may change)
/// except the last object listed, whose table query stays open on the side afterwards as the
/// table-by-table walk leaves it.
std::optional<ServerCatalogue> readServerCatalogue(clsDBManager& side, Recordset& catalogue) {
    std::vector<std::string> listed;
    std::vector<std::string> rowTables;
    for (; !catalogue.eof(); catalogue.moveNext()) {
        const std::string type = text(catalogue, "TABLE_TYPE");
        if (!isListedType(type, side.getShowViews()))
            continue;
        listed.push_back(text(catalogue, "TABLE_NAME"));
        if (type == "TABLE" && !side.getListDBObjectsOnly())
            rowTables.push_back(listed.back());
    }
    catalogue.moveFirst();
    if (!rowTables.empty() && rowTables.back() == listed.back())
        rowTables.pop_back();
    if (listed.empty())
        return std::nullopt;
    return ServerCatalogue::read(side.getDatabaseConnection(), listed, rowTables);
}

} // namespace

void addTableItem(clsDBManager& side, const DeclaredForeignKeys* declared, const ServerCatalogue* server) {
    if (!isListed(side))
        return;
    const std::string table = side.getTableName();
    const std::optional<std::string> knownKey = server ? server->primaryKey(table) : std::nullopt;
    const std::string primaryKey = knownKey ? *knownKey : side.getAccessPrimaryKey(table);
    auto item = std::make_shared<clsResultSet>();
    item->setDatabaseObjName(table);
    item->setDataType(side.getTableDataType());
    item->setPrimaryKey(primaryKey);
    if (!server || !server->fillForeignKey(*item, table))
        fillForeignKeyInfo(*item, side, declared);
    side.getResults()->add(std::move(item));
    if (side.getListDBObjectsOnly())
        return;
    if (std::optional<Recordset> firstRow = server ? server->firstRow(table) : std::nullopt)
        addFieldItems(side, primaryKey, *firstRow);
    else
        addFieldItems(side, primaryKey);
}

namespace {

void reportWalkFailure(clsDBManager& side) {
    side.setReturnMessage(side.getReturnMessage() +
                          " #19 Error occurred while opeing the structure for all of the tables" +
                          " Error occurred while attempting to open " + side.getTableName() + " ||");
}

} // namespace

void readAllTables(clsDBManager& side) {
    side.setReturnMessage(successText);
    try {
        side.openDatabaseConnection();
        side.openDatabaseSchema();
        Recordset catalogue = side.getDatabaseSchema();
        // A catalogue that did not open is still walked, so that its failure is reported here.
        std::optional<ServerCatalogue> server;
        std::optional<DeclaredForeignKeys> declared;
        if (catalogue.state() == 1)
            server = readServerCatalogue(side, catalogue);
        if (catalogue.state() == 1 && !server)
            declared = DeclaredForeignKeys::collect(side.getDatabaseConnection(), objectNames(catalogue));
        for (; !catalogue.eof(); catalogue.moveNext()) {
            side.setTableName(text(catalogue, "TABLE_NAME"));
            side.setTableDataType(text(catalogue, "TABLE_TYPE"));
            // An object that cannot be read (a view over a dropped table, say) is reported by
            // name; the objects after it are still listed.
            try {
                addTableItem(side, declared ? &*declared : nullptr, server ? &*server : nullptr);
            } catch (...) {
                reportWalkFailure(side);
            }
        }
        catalogue.close();
    } catch (...) {
        reportWalkFailure(side);
    }
}

void loadTableStructure(clsDBManager& side) {
    try {
        side.openDatabaseConnection();
        side.setReturnMessage(successText);
        side.openDatabaseSchema();
        addTableItem(side);
        side.setFieldCount(getRecordFieldCount(side));
        side.closeRecordSet();
    } catch (...) {
        side.setReturnMessage(side.getReturnMessage() +
                              " #17 Error occurred while opeing the structure for " + side.getTableName() +
                              " ||");
    }
}

} // namespace sifkit::detail
