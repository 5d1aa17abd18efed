#include "ExactQuery.h"
#include "Failure.h"
#include "RollbackFile.h"
#include "SqlLiterals.h"

#include "platform/dataaccess/Text.h"

#include <sifkit/clsDBManager.h>

namespace sifkit {

std::string clsDBManager::formatWhereClauseFromRecordSet(const Recordset& recset, int32_t loopCount) {
    Field field = recset.field(loopCount);
    return detail::sqlLiteral(field.value(), field.type(), isAccess_, detail::LiteralUse::WhereClause);
}

void clsDBManager::formatSQLClause() {
    sSql_ = "Select * From [" + tableName_ + "]";
    boundStatement_.reset();
}

void clsDBManager::createSQLStatement(const std::string& whereClauseIn, const std::string& tableNameIn) {
    sSql_ = "Select * from [" + tableNameIn + "]" + whereClauseIn;
    boundStatement_.reset();
    if (boundWhere_ && boundWhere_->shownText == whereClauseIn)
        boundStatement_ = std::make_shared<detail::BoundForm>(
            detail::BoundForm{sSql_, {tableNameIn, {}, boundWhere_->query.conditions}});
}

void clsDBManager::formatInsertClauseFromRecordSet(const std::string& tableNameIn) {
    Recordset records = dataManager_->rsAccess;
    sSql_ = "insert into '" + tableNameIn + "'";
    boundStatement_.reset();
    for (int32_t i = 0; i < records.fieldCount(); ++i) {
        sSql_ += (i == 0 ? "(" : ",") + records.field(i).name();
        std::string literal = formatWhereClauseFromRecordSet(records, i);
        whereClause_ = (i == 0 ? "VALUES (" : whereClause_ + ",") + literal;
    }
    sSql_ += ")";
    whereClause_ += ")";
    sSql_ += whereClause_;
}

void clsDBManager::formatWhereClauseFromRecordNumber() {
    whereClause_ = " Where ";
    detail::ExactQuery exact{tableName_, {}, {}};
    bool first = true;
    const ResultCollection& items = *results_;
    for (int32_t position = 1; position <= items.count(); ++position) {
        const clsResultSet& item = *items.item(position);
        if (item.getDatabaseObjName() != tableName_ || item.getRecordNumber() != currentRecordNumber_)
            continue;
        const bool isNull = item.getDataValue() == "Null";
        const int32_t typeCode = detail::typeCodeOf(item.getDataType());
        if (first) {
            // A first field that is Null has no literal to follow " = ": it is asked for as Null.
            whereClause_ += item.getFieldName() + (isNull ? " is null" : " = ");
        } else if (!isNull) {
            whereClause_ += " AND " + item.getFieldName() + " LIKE ";
        }
        if (!isNull)
            whereClause_ +=
                detail::sqlLiteral(item.getDataValue(), typeCode, isAccess_, detail::LiteralUse::WhereClause);
        // The exact form asks for every field, a Null one as Null, where the text leaves later
        // Null fields out and compares texts with LIKE.
        exact.conditions.push_back(
            {item.getFieldName(),
             isNull ? Value() : detail::valueForTypeCode(item.getDataValue(), typeCode)});
        first = false;
    }
    // A record without items has no exact form: its clause selects nothing rather than every row.
    boundWhere_ =
        exact.conditions.empty()
            ? nullptr
            : std::make_shared<detail::BoundForm>(detail::BoundForm{whereClause_, std::move(exact)});
}

bool clsDBManager::adoAddNewRecord(clsDBManager& dataManager2) {
    closeRecordSet();
    returnSQLMessage_ = "Successfully Completed";
    Recordset& target = dataManager_->rsAccess;
    try {
        // Only the table's columns are needed to add a row, not its rows.
        target.open("[" + tableName_ + "]", getDatabaseConnection(), Recordset::Source::Table, 1);
        target.addNew();
        Recordset source = dataManager2.getDatabaseRecords();
        source.moveFirst();
        for (int32_t i = 0; i < source.fieldCount(); ++i)
            target.field(i).setValue(source.field(i).value());
        target.update();
        closeRecordSet();
        return true;
    } catch (...) {
        returnSQLMessage_ = detail::recordWriteFailureText(tableName_);
        if (target.state() == 1)
            target.cancelUpdate();
        closeRecordSet();
        return false;
    }
}

bool clsDBManager::adoUpdateRecord(clsDBManager& dataManager2, bool isMaster, const std::string& FileName) {
    closeRecordSet();
    returnSQLMessage_ = "Successfully Completed";
    Recordset& target = dataManager_->rsAccess;
    bool updated = false;
    try {
        openStatement(target, sSql_);
        if (target.eof()) {
            closeRecordSet();
            return false;
        }
        detail::requireSingleRow(target, sSql_);
        // Nothing is overwritten unless the row as it was is safely on disk first.
        detail::writeRollbackFile(*this, target, isMaster, FileName);

        Recordset source = dataManager2.getDatabaseRecords();
        target.moveFirst();
        source.moveFirst();
        const std::string primaryKey = platform::trimmed(dataManager2.getAccessPrimaryKey(tableName_));
        for (int32_t i = 0; i < source.fieldCount(); ++i) {
            if (platform::trimmed(source.field(i).name()) == primaryKey ||
                platform::trimmed(target.field(i).name()) == primaryKey)
                continue;
            target.field(i).setValue(source.field(i).value());
        }
        target.update();
        updated = true;
    } catch (...) {
        returnSQLMessage_ = detail::recordWriteFailureText(tableName_);
        if (target.state() == 1)
            target.cancelUpdate();
    }
    closeRecordSet();
    Recordset saved = getRollbackRecordset();
    if (saved.state() == 1)
        saved.close();
    return updated;
}

} // namespace sifkit
