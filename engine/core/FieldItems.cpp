// SPDX-License-Identifier: MIT
#include "FieldItems.h"

#include "access/Failure.h"
#include "access/FieldTypes.h"
#include "access/ManagerAccess.h"

#include <sifkit/FieldList.h>

namespace sifkit::detail {

std::string tableQuery(const clsDBManager& side) {
    const std::string& fields = side.getFieldList();
    return "select " + (fields.empty() ? std::string("*") : fields) + " from [" + side.getTableName() + "]";
}

void openTableQuery(clsDBManager& side, const clsDBManager& builtBy, const std::string& shownText,
                    const std::string& orderBy, int32_t maxRows) {
    auto columns = parseFieldList(builtBy.getFieldList());
    if (!columns) {
        side.closeRecordSet();
        side.setReturnSQLMessage(
            side.getReturnSQLMessage() + " " + std::to_string(ErrorNumber::NotAllowedInContext) +
            " The field list is not a list of column names: " + builtBy.getFieldList() +
            " #3 Error occured when attempting to open table using the following SQL" + shownText + " ||");
        return;
    }
    ManagerAccess::setBoundStatement(side, std::make_shared<BoundForm>(BoundForm{
                                               shownText, {builtBy.getTableName(), *columns, {}, orderBy}}));
    side.openDataBaseRecordsFromQuery(shownText, maxRows);
}

namespace {

/// One field item per named column of records (the table query's columns and at most its
/// first row), as addFieldItems describes them.
void appendFieldItemsOf(clsDBManager& side, const Recordset& records, const std::string& table,
                        const std::string& primaryKey, int32_t& column) {
    const int32_t count = records.fieldCount();
    const bool hasRow = !records.eof();
    for (column = 0; column < count; ++column) {
        Field field = records.field(column);
        if (field.name().empty())
            continue;
        auto item = std::make_shared<clsResultSet>();
        item->setDatabaseObjName(table);
        item->setFieldName(field.name());
        item->setFieldCount(static_cast<int16_t>(count));
        item->setPrimaryKey(primaryKey);
        // A property that cannot be read is left at its default; the item is still added.
        skippingFailure([&] { item->setDataType(fieldTypeDescription(records.field(column).type())); });
        skippingFailure([&] { item->setShow(isComparableTypeCode(records.field(column).type())); });
        skippingFailure([&] { item->setFieldDefinedSize(std::to_string(field.definedSize())); });
        skippingFailure([&] { item->setFieldActualSize(std::to_string(hasRow ? field.actualSize() : 0)); });
        item->setIsDataValue(false);
        item->setIsFieldDesc(true);
        side.getResults()->add(std::move(item));
    }
}

template <typename PrimaryKey> void appendFieldItems(clsDBManager& side, PrimaryKey primaryKeyOf) {
    side.setReturnSQLMessage("Successfully Completed");
    const std::string query = tableQuery(side);
    int32_t column = 0;
    try {
        // The columns and one row (for the actual sizes) are all that is needed here.
        openTableQuery(side, side, query, "", 1);
        Recordset records = side.getDatabaseRecords();
        if (records.state() != 1)
            throw Error(ErrorNumber::ObjectClosed, "Operation is not allowed when the object is closed.");
        const std::string table = side.getTableName();
        appendFieldItemsOf(side, records, table, primaryKeyOf(table), column);
        side.closeRecordSet();
    } catch (...) {
        side.setReturnSQLMessage(
            side.getReturnSQLMessage() +
            " #11 Error occurred while attempting to add table fields to the result set" + " SQL used was " +
            query + " Main index = " + std::to_string(column) + " ||");
    }
}

} // namespace

void addFieldItems(clsDBManager& side) {
    appendFieldItems(side, [&](const std::string& table) { return side.getAccessPrimaryKey(table); });
}

void addFieldItems(clsDBManager& side, const std::string& primaryKey) {
    appendFieldItems(side, [&](const std::string&) { return primaryKey; });
}

void addFieldItems(clsDBManager& side, const std::string& primaryKey, const Recordset& firstRow) {
    // The messages the table query leaves when it opens.
    side.setReturnSQLMessage("Successfully Completed");
    side.setReturnSQLMessage(side.getReturnSQLMessage() + " Successfully Completed ||");
    int32_t column = 0;
    try {
        appendFieldItemsOf(side, firstRow, side.getTableName(), primaryKey, column);
    } catch (...) {
        side.setReturnSQLMessage(
            side.getReturnSQLMessage() +
            " #11 Error occurred while attempting to add table fields to the result set" + " SQL used was " +
            tableQuery(side) + " Main index = " + std::to_string(column) + " ||");
    }
}

void loadFieldStructure(clsDBManager& side) {
    side.setReturnMessage("Successfully Completed");
    try {
        addFieldItems(side);
        side.setFieldCount(getRecordFieldCount(side));
        side.closeRecordSet();
    } catch (...) {
        side.setReturnMessage(side.getReturnMessage() +
                              " #18 Error occurred while opeing the structure for " + side.getTableName() +
                              " using the folloiwng fieldList " + side.getFieldList() + " ||");
    }
}

} // namespace sifkit::detail
