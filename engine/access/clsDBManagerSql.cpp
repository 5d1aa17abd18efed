// SPDX-License-Identifier: MIT
#include "ExactQuery.h"
#include "Failure.h"
#include "RollbackFile.h"
#include "SqlLiterals.h"

#include "dataaccess/Text.h"

#include <sifkit/clsDBManager.h>

namespace sifkit {

namespace {

/// The position of the field named exactly so, -1 when the record set has none.
int32_t fieldIndexNamed(const Recordset& records, const std::string& name) {
    for (int32_t i = 0; i < records.fieldCount(); ++i)
        if (records.field(i).name() == name)
            return i;
    return -1;
}

} // namespace

std::string clsDBManager::formatWhereClauseFromRecordSet(const Recordset& recset, int32_t loopCount) {
    Field field = recset.field(loopCount);
    return detail::sqlLiteral(field.value(), field.type(), isAccess_, detail::LiteralUse::WhereClause);
}

void clsDBManager::formatSQLClause() {
    sSql_ = "Select * From [" + tableName_ + "]";
    boundStatement_ = std::make_shared<detail::BoundForm>(detail::BoundForm{sSql_, {tableName_, {}, {}, {}}});
}

void clsDBManager::createSQLStatement(const std::string& whereClauseIn, const std::string& tableNameIn) {
    sSql_ = "Select * from [" + tableNameIn + "]" + whereClauseIn;
    boundStatement_.reset();
    if (boundWhere_ && boundWhere_->shownText == whereClauseIn)
        boundStatement_ = std::make_shared<detail::BoundForm>(
            detail::BoundForm{sSql_, {tableNameIn, {}, boundWhere_->query.conditions, {}}});
    else if (whereClauseIn.empty())
        boundStatement_ =
            std::make_shared<detail::BoundForm>(detail::BoundForm{sSql_, {tableNameIn, {}, {}, {}}});
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
    detail::ExactQuery exact{tableName_, {}, {}, {}};
    bool first = true;
    const ResultCollection& items = *results_;
    for (int32_t position = 1; position <= items.count(); ++position) {
        const clsResultSet& item = *items.item(position);
        if (item.getDatabaseObjName() != tableName_ || item.getRecordNumber() != currentRecordNumber_)
            continue;
        const bool isNull = item.getIsNull();
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
        // Fields pair by name: the two tables may hold their columns in different orders. A
        // column the receiving table lacks cannot be written and is left out.
        for (int32_t i = 0; i < source.fieldCount(); ++i) {
            const int32_t at = fieldIndexNamed(target, source.field(i).name());
            if (at >= 0)
                target.field(at).setValue(source.field(i).value());
        }
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

bool clsDBManager::adoUpdateRecord(clsDBManager& dataManager2, bool /*isMaster*/,
                                   const std::string& FileName) {
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
        // Nothing is overwritten unless the row as it was is safely on disk first; the file
        // replaces an earlier one only once the update has committed.
        detail::StagedRollbackFile rollbackFile(*this, target, FileName);

        Recordset source = dataManager2.getDatabaseRecords();
        target.moveFirst();
        source.moveFirst();
        const std::string primaryKey = platform::trimmed(dataManager2.getAccessPrimaryKey(tableName_));
        for (int32_t i = 0; i < source.fieldCount(); ++i) {
            const std::string& name = source.field(i).name();
            const int32_t at = fieldIndexNamed(target, name);
            if (at < 0 || platform::trimmed(name) == primaryKey)
                continue;
            target.field(at).setValue(source.field(i).value());
        }
        target.update();
        rollbackFile.commit();
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
