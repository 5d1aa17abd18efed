// SPDX-License-Identifier: MIT
#include "ResultItems.h"

#include <memory>

namespace sifkit::detail {

namespace {

const char* const noForeignKey = "No Foreign(s) key Defined";

std::string orNoForeignKey(const std::string& text) {
    return text.empty() ? noForeignKey : text;
}

std::shared_ptr<clsResultSet> tableItem(const TableSchema& table) {
    auto item = std::make_shared<clsResultSet>();
    item->setDatabaseObjName(table.name);
    item->setDataType(table.type);
    item->setPrimaryKey(primaryKeyText(table));
    // Only the first key that references the table is shown; a part it leaves empty says so.
    if (!table.referencedBy.empty()) {
        const ForeignKey& key = table.referencedBy.front();
        item->setFKeyColumnName(orNoForeignKey(key.column));
        item->setFKeyName(orNoForeignKey(key.name));
        item->setFKeyPrimaryColName(orNoForeignKey(key.referencedColumn));
        item->setFKeyPrimaryTable(orNoForeignKey(key.referencedTable));
        item->setPKeyName(orNoForeignKey(key.referencedKeyName));
    } else {
        item->setFKeyPrimaryTable("Not Defined");
        item->setFKeyName("FKey name not defined");
        item->setFKeyPrimaryColName("Key was not defined");
        item->setFKeyColumnName(noForeignKey);
    }
    return item;
}

std::shared_ptr<clsResultSet> fieldItem(const TableSchema& table, const ColumnSchema& column) {
    auto item = std::make_shared<clsResultSet>();
    item->setDatabaseObjName(table.name);
    item->setFieldName(column.name);
    item->setFieldCount(static_cast<int16_t>(table.columnCount));
    item->setPrimaryKey(primaryKeyText(table));
    item->setDataType(column.typeName);
    item->setShow(column.comparable);
    item->setFieldDefinedSize(std::to_string(column.definedSize));
    item->setFieldActualSize(std::to_string(column.actualSize));
    item->setIsDataValue(false);
    item->setIsFieldDesc(true);
    return item;
}

} // namespace

std::string primaryKeyText(const TableSchema& table) {
    return table.primaryKey.empty() ? "No primary key Defined" : table.primaryKey.front();
}

void appendStructureItems(ResultCollection& items, const SideStructure& side, bool differencesOnly) {
    for (const StructureEntry& entry : side.entries) {
        if (differencesOnly && entry.change == ChangeCode::NoChange)
            continue;
        const TableSchema& table = side.objectOf(entry);
        const ColumnSchema* column = side.columnOf(entry);
        std::shared_ptr<clsResultSet> item = column ? fieldItem(table, *column) : tableItem(table);
        item->setChangeCode(static_cast<int16_t>(entry.change));
        items.add(std::move(item));
    }
}

void removeUnchangedItems(ResultCollection& items) {
    ResultCollection kept;
    for (int32_t position = 1; position <= items.count(); ++position)
        if (items.item(position)->changeCode() != 0)
            kept.add(items.item(position));
    // One assignment instead of a removal per item: removals from the front of a long
    // collection would make this quadratic.
    items = kept;
}

void appendFieldItems(ResultCollection& items, const TableSchema& table) {
    for (const ColumnSchema& column : table.columns)
        items.add(fieldItem(table, column));
}

void appendDataItems(ResultCollection& items, const std::vector<ColumnSchema>& columns,
                     const platform::Row& values, int32_t recordNumber, const DataItemContext& context) {
    for (std::size_t i = 0; i < columns.size() && i < values.size(); ++i) {
        const Value& value = values[i];
        auto item = std::make_shared<clsResultSet>();
        item->setChangeCode(static_cast<int16_t>(ChangeCode::NewRecord));
        item->setDataValue(value.isNull() ? "Null" : value.toString());
        item->setIsNull(value.isNull());
        item->setIsDataValue(true);
        item->setIsFieldDesc(true);
        item->setRecordCount(context.recordCount);
        item->setRecordNumber(recordNumber);
        item->setFieldCount(static_cast<int16_t>(context.fieldCount));
        item->setFieldName(columns[i].name);
        item->setPrimaryKey(context.primaryKey);
        item->setDataType(std::to_string(columns[i].typeCode));
        // A size beyond the item's 16 bits is left at its default, as any unreadable property.
        const int32_t size = platform::actualSizeOf(value, columns[i].typeCode);
        item->setLengthValue(size <= INT16_MAX ? static_cast<int16_t>(size) : int16_t{0});
        item->setDatabaseObjName(context.table);
        items.add(std::move(item));
    }
}

} // namespace sifkit::detail
