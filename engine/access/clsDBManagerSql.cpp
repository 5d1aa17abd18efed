// SPDX-License-Identifier: MIT
#include "RollbackFile.h"
#include "SqlLiterals.h"

#include "dataaccess/Text.h"
#include "legacy/StatementText.h"
#include "model/Messages.h"
#include "model/Statement.h"

#include <sifkit/Credentials.h>
#include <sifkit/SifkitError.h>
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
    statement_ = std::make_shared<detail::Statement>(detail::Statement{tableName_, {}, {}, {}, {}});
    statementText_ = sSql_;
}

void clsDBManager::createSQLStatement(const std::string& whereClauseIn, const std::string& tableNameIn) {
    sSql_ = "Select * from [" + tableNameIn + "]" + whereClauseIn;
    statement_.reset();
    // Only a clause this side built stands for conditions; any other text runs as it is.
    if (whereStatement_ && whereText_ == whereClauseIn)
        statement_ = std::make_shared<detail::Statement>(
            detail::Statement{tableNameIn, {}, whereStatement_->conditions, {}, {}});
    else if (whereClauseIn.empty())
        statement_ = std::make_shared<detail::Statement>(detail::Statement{tableNameIn, {}, {}, {}, {}});
    statementText_ = statement_ ? sSql_ : std::string();
}

void clsDBManager::formatInsertClauseFromRecordSet(const std::string& tableNameIn) {
    Recordset records = dataManager_->rsAccess;
    sSql_ = "insert into '" + tableNameIn + "'";
    statement_.reset(); // the text is only shown: the copy writes the row through the record set
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
    // Every field of the record is a condition, a Null one as Null, exactly; the text shows the
    // first with "=", the later non-Null ones with LIKE.
    detail::Statement record{tableName_, {}, {}, {}, {}};
    const ResultCollection& items = *results_;
    for (int32_t position = 1; position <= items.count(); ++position) {
        const clsResultSet& item = *items.item(position);
        if (item.getDatabaseObjName() != tableName_ || item.getRecordNumber() != currentRecordNumber_)
            continue;
        const int32_t typeCode = detail::typeCodeOf(item.getDataType());
        record.conditions.push_back(
            {item.getFieldName(),
             item.getIsNull() ? Value() : detail::valueForTypeCode(item.getDataValue(), typeCode), typeCode});
    }
    whereClause_ = detail::recordWhereText(record, isAccess_);
    // A record without items has no conditions: its clause selects nothing rather than every row.
    whereStatement_ =
        record.conditions.empty() ? nullptr : std::make_shared<detail::Statement>(std::move(record));
    whereText_ = whereClause_;
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
    } catch (const std::exception&) {
        returnSQLMessage_.clear();
        appendFailure(detail::writeFailure(detail::Cause::current(), tableName_));
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
        Recordset source = dataManager2.getDatabaseRecords();
        target.moveFirst();
        source.moveFirst();
        // The row as it will stand after the update: what finds it again for a roll back.
        RowLocator after;
        for (int32_t i = 0; i < target.fieldCount(); ++i)
            after.emplace_back(target.field(i).name(), target.field(i).value());
        std::vector<std::pair<int32_t, Value>> assignments;
        const std::string primaryKey = platform::trimmed(dataManager2.getAccessPrimaryKey(tableName_));
        for (int32_t i = 0; i < source.fieldCount(); ++i) {
            const std::string& name = source.field(i).name();
            const int32_t at = fieldIndexNamed(target, name);
            if (at < 0 || platform::trimmed(name) == primaryKey)
                continue;
            assignments.emplace_back(at, source.field(i).value());
            after[static_cast<std::size_t>(at)].second = source.field(i).value();
        }
        // Nothing is overwritten unless the row as it was is safely on disk first, with what
        // finds the record afterwards, the database it belongs to and an id of its own; the
        // file replaces an earlier one only once the update is written. The host keeps its undo
        // entry before the write commits, or nothing changes.
        FileNotes notes;
        notes.locator = std::move(after);
        notes.texts = {{detail::rollbackIdNote, detail::newRollbackId()},
                       {detail::rollbackDatabaseNote, withoutPassword(connectionString_)}};
        detail::StagedRollbackFile rollbackFile(target, FileName, notes);
        platform::TransactionScope write(platform::requireBackend(getDatabaseConnection()));
        for (const auto& [at, value] : assignments)
            target.field(at).setValue(value);
        target.update();
        if (beforeCommit_ && !beforeCommit_(FileName, notes.text(detail::rollbackIdNote)))
            throw Error(ErrorNumber::FileError,
                        "The undo entry of the update could not be kept; nothing was changed.");
        rollbackFile.commit();
        write.commit();
        updated = true;
    } catch (const std::exception&) {
        returnSQLMessage_.clear();
        appendFailure(detail::writeFailure(detail::Cause::current(), tableName_));
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
