#include "FieldItems.h"

#include "access/Failure.h"
#include "access/FieldTypes.h"
#include "access/ManagerAccess.h"

namespace sifkit::detail {

std::string tableQuery(const clsDBManager& side) {
    const std::string& fields = side.getFieldList();
    return "select " + (fields.empty() ? std::string("*") : fields) + " from [" + side.getTableName() + "]";
}

void openTableQuery(clsDBManager& side, const clsDBManager& builtBy, const std::string& shownText,
                    const std::string& orderBy, int32_t maxRows) {
    auto columns = fieldListColumns(builtBy.getFieldList());
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
        const int32_t count = records.fieldCount();
        const std::string table = side.getTableName();
        const std::string primaryKey = primaryKeyOf(table);
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
            skippingFailure([&] { item->setDataType(getFieldTypeDescription(side, column)); });
            skippingFailure([&] { item->setShow(isComparableFieldType(side, column)); });
            skippingFailure([&] { item->setFieldDefinedSize(std::to_string(field.definedSize())); });
            skippingFailure(
                [&] { item->setFieldActualSize(std::to_string(hasRow ? field.actualSize() : 0)); });
            item->setIsDataValue(false);
            item->setIsFieldDesc(true);
            side.getResults()->add(std::move(item));
        }
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
