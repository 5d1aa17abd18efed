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

bool isListed(const clsDBManager& side) {
    const std::string& type = side.getTableDataType();
    if (type == "ACCESS TABLE" || type == "SYSTEM TABLE")
        return false;
    return type == "TABLE" || side.getShowViews();
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

} // namespace

void addTableItem(clsDBManager& side, const DeclaredForeignKeys* declared) {
    if (!isListed(side))
        return;
    const std::string primaryKey = side.getAccessPrimaryKey(side.getTableName());
    auto item = std::make_shared<clsResultSet>();
    item->setDatabaseObjName(side.getTableName());
    item->setDataType(side.getTableDataType());
    item->setPrimaryKey(primaryKey);
    fillForeignKeyInfo(*item, side, declared);
    side.getResults()->add(std::move(item));
    if (!side.getListDBObjectsOnly())
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
        std::optional<DeclaredForeignKeys> declared;
        if (catalogue.state() == 1)
            declared = DeclaredForeignKeys::collect(side.getDatabaseConnection(), objectNames(catalogue));
        for (; !catalogue.eof(); catalogue.moveNext()) {
            side.setTableName(text(catalogue, "TABLE_NAME"));
            side.setTableDataType(text(catalogue, "TABLE_TYPE"));
            // An object that cannot be read (a view over a dropped table, say) is reported by
            // name; the objects after it are still listed.
            try {
                addTableItem(side, declared ? &*declared : nullptr);
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
