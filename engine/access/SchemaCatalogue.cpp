#include "SchemaCatalogue.h"

namespace sifkit::detail {

namespace {

const char* const noForeignKey = "No Foreign(s) key Defined";

std::string keyText(const Recordset& keys, const char* column) {
    Value value = keys.field(column).value();
    std::string text = value.toString();
    return text.empty() ? noForeignKey : text;
}

} // namespace

void fillForeignKeyInfo(clsResultSet& item, clsDBManager& manager) {
    Recordset keys = manager.getAccessForeignKey(manager.getTableName());
    // A catalogue that could not be read counts as one without foreign keys: the table is
    // still listed.
    if (keys.state() == 1 && !keys.eof()) {
        item.setFKeyColumnName(keyText(keys, "FK_COLUMN_NAME"));
        item.setFKeyName(keyText(keys, "FK_NAME"));
        item.setFKeyPrimaryColName(keyText(keys, "PK_COLUMN_NAME"));
        item.setFKeyPrimaryTable(keyText(keys, "PK_TABLE_NAME"));
        item.setPKeyName(keyText(keys, "PK_NAME"));
    } else {
        item.setFKeyPrimaryTable("Not Defined");
        item.setFKeyName("FKey name not defined");
        item.setFKeyPrimaryColName("Key was not defined");
        item.setFKeyColumnName(noForeignKey);
    }
    if (keys.state() == 1)
        keys.close();
}

} // namespace sifkit::detail
