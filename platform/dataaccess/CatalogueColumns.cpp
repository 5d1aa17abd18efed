// SPDX-License-Identifier: MIT
#include "CatalogueColumns.h"

namespace sifkit::platform {

namespace {

ColumnInfo catalogueColumn(const char* name, int32_t typeCode, int32_t size) {
    ColumnInfo info;
    info.name = name;
    info.typeCode = typeCode;
    info.definedSize = size;
    info.storage = typeCode == 2 ? Value::Kind::Integer : Value::Kind::Text;
    return info;
}

} // namespace

std::vector<ColumnInfo> tableCatalogueColumns() {
    return {catalogueColumn("TABLE_CAT", 200, 50), catalogueColumn("TABLE_SCHEM", 200, 50),
            catalogueColumn("TABLE_NAME", 200, 255), catalogueColumn("TABLE_TYPE", 200, 50),
            catalogueColumn("REMARKS", 200, 50)};
}

std::vector<ColumnInfo> primaryKeyCatalogueColumns() {
    return {catalogueColumn("TABLE_CAT", 200, 50),   catalogueColumn("TABLE_SCHEM", 200, 50),
            catalogueColumn("TABLE_NAME", 200, 255), catalogueColumn("COLUMN_NAME", 200, 255),
            catalogueColumn("KEY_SEQ", 2, 50),       catalogueColumn("PK_NAME", 200, 50)};
}

std::vector<ColumnInfo> foreignKeyCatalogueColumns() {
    return {catalogueColumn("PKTABLE_CAT", 200, 50),   catalogueColumn("PKTABLE_SCHEM", 200, 50),
            catalogueColumn("PKTABLE_NAME", 200, 255), catalogueColumn("PKCOLUMN_NAME", 200, 255),
            catalogueColumn("FKTABLE_CAT", 200, 50),   catalogueColumn("FKTABLE_SCHEM", 200, 50),
            catalogueColumn("FKTABLE_NAME", 200, 255), catalogueColumn("FKCOLUMN_NAME", 200, 255),
            catalogueColumn("KEY_SEQ", 2, 5),          catalogueColumn("UPDATE_RULE", 2, 5),
            catalogueColumn("DELETE_RULE", 2, 5),      catalogueColumn("FK_NAME", 200, 255),
            catalogueColumn("PK_NAME", 200, 255),      catalogueColumn("DEFERRABILITY", 2, 5)};
}

} // namespace sifkit::platform
