// SPDX-License-Identifier: MIT
#include "DataMatch.h"

#include "legacy/StatementText.h"
#include "model/Messages.h"

#include <sifkit/Sifcore.h>

namespace sifkit {

namespace {

const char* const refusedCopy = "Cannot copy record.";

/// Builds the where clause and the statement of the side's current record and opens it.
void locateCurrentRecord(clsDBManager& side) {
    side.formatWhereClauseFromRecordNumber();
    side.createSQLStatement(side.getWhereClause(), side.getTableName());
    side.openDataBaseRecordsFromQuery(side.getSql());
}

/// The outcome of a write as the calls return it: "Successfully Completed" or the failure,
/// which is also shown to the user.
std::string writeOutcome(bool succeeded, clsDBManager& receiving, bool receivingIsMaster,
                         const HostHooks& hooks) {
    if (succeeded)
        return "Successfully Completed";
    std::string message = receiving.getReturnSQLMessage();
    if (message.empty() || message == "Successfully Completed")
        message = std::string("The record was not found on the ") +
                  (receivingIsMaster ? "Original" : "Modified") + " side: nothing was changed.";
    hooks.showMessage(message);
    return message;
}

/// The query that looks for the taking side's current record on the receiving side: every field
/// of the same name and position, as a data pass compares them, exactly.
detail::Statement matchOfCurrentRecord(const clsDBManager& taking, const clsDBManager& receiving) {
    Recordset record = taking.getDatabaseRecords();
    Recordset other = receiving.getDatabaseRecords();
    std::vector<platform::ColumnInfo> columns;
    std::vector<std::string> names;
    std::vector<std::string> otherNames;
    platform::Row values;
    for (int32_t i = 0; i < record.fieldCount(); ++i) {
        platform::ColumnInfo column;
        column.name = record.field(i).name();
        column.typeCode = record.field(i).type();
        names.push_back(column.name);
        columns.push_back(std::move(column));
        values.push_back(record.field(i).value());
    }
    for (int32_t i = 0; i < other.fieldCount(); ++i)
        otherNames.push_back(other.field(i).name());
    return detail::matchStatement(taking.getTableName(), columns, detail::matchedPositions(names, otherNames),
                                  values);
}

/// Whether the receiving side holds the record the match looks for. A look-up that cannot run
/// is reported on the receiving side (#4) and throws: nothing may be written blind.
bool receivingHolds(clsDBManager& receiving, const detail::Statement& match, bool takingIsAccess) {
    try {
        platform::Backend& backend = platform::requireBackend(receiving.getDatabaseConnection());
        std::vector<Value> parameters;
        const std::string sql = match.render(backend.dialect(), parameters);
        return backend.rowExists(sql, parameters);
    } catch (const Error&) {
        const detail::MatchQueryText text = detail::matchQueryText(match, takingIsAccess);
        receiving.setReturnSQLMessage("");
        receiving.appendFailure(detail::lookupFailure(detail::Cause::current(), text.select + text.where));
        throw;
    }
}

} // namespace

bool Sifcore::reportsRecord(const std::string& tableName, int32_t recordNumber, bool isMaster) {
    const int32_t index = getIndexForRecordNumber(tableName, recordNumber, isMaster);
    if (index < 1)
        return false;
    const std::string field = getResultFieldName(index, isMaster);
    return getFieldChangeTypeFromRecordNumber(tableName, field, recordNumber, isMaster) ==
           getConstantForNewRecord();
}

std::string Sifcore::copyRecordFromRecordNumber(const std::shared_ptr<clsDBManager>& masterDatamanager,
                                                const std::shared_ptr<clsDBManager>& sourceDatamanager,
                                                bool isMaster) {
    clsDBManager& taking = isMaster ? *masterDatamanager : *sourceDatamanager;
    clsDBManager& receiving = isMaster ? *sourceDatamanager : *masterDatamanager;
    const std::string& table = taking.getTableName();
    if (!reportsRecord(table, taking.getCurrentRecordNumber(), isMaster))
        return refusedCopy;
    taking.setSaveToXml(false);
    locateCurrentRecord(taking);
    Recordset record = taking.getDatabaseRecords();
    // Exactly the chosen record is copied, and only while the other side still lacks it: the
    // match query asks the receiving side for it again instead of rerunning the comparison.
    if (record.state() != 1 || record.recordCount() != 1)
        return refusedCopy;
    receiving.formatSQLClause();
    receiving.openDataBaseRecordsFromQuery(receiving.getSql(), 1);
    try {
        if (receivingHolds(receiving, matchOfCurrentRecord(taking, receiving), taking.getIsAccess()))
            return refusedCopy;
    } catch (const Error&) {
        std::string outcome = writeOutcome(false, receiving, !isMaster, *hooks_);
        receiving.clearMessages();
        return outcome;
    }
    receiving.setSQL(taking.getSql());
    const bool added = receiving.adoAddNewRecord(taking);
    std::string outcome = writeOutcome(added, receiving, !isMaster, *hooks_);
    receiving.clearMessages();
    taking.closeRecordSet();
    return outcome;
}

std::string Sifcore::updateRecordFromRecordNumber(const std::shared_ptr<clsDBManager>& masterDatamanager,
                                                  const std::shared_ptr<clsDBManager>& sourceDatamanager,
                                                  bool isMaster, const std::string& FileName) {
    clsDBManager& masterSide = *masterDatamanager;
    clsDBManager& sourceSide = *sourceDatamanager;
    masterSide.setSaveToXml(false);
    locateCurrentRecord(masterSide);
    locateCurrentRecord(sourceSide);
    clsDBManager& receiving = isMaster ? sourceSide : masterSide;
    clsDBManager& taking = isMaster ? masterSide : sourceSide;
    // The rollback statement finds the changed record by the values written over it: the taking
    // side's record. (The master's statement would find the old master row, which an update of
    // the master side has just changed, so that update could never be rolled back.)
    rollBackSQL_ = taking.getSql();
    const bool updated = receiving.adoUpdateRecord(taking, isMaster, FileName);
    std::string outcome = writeOutcome(updated, receiving, !isMaster, *hooks_);
    receiving.clearMessages();
    taking.closeRecordSet();
    return outcome;
}

std::string Sifcore::updateRecordWithUndo(
    const std::shared_ptr<clsDBManager>& masterDatamanager,
    const std::shared_ptr<clsDBManager>& sourceDatamanager, bool isMaster, const std::string& FileName,
    const std::function<bool(const std::string& fileName, const std::string& id)>& keepUndo) {
    clsDBManager& receiving = isMaster ? *sourceDatamanager : *masterDatamanager;
    // The step is the receiving side's for this one update only, whatever ends it.
    struct Step {
        clsDBManager& side;
        ~Step() { side.setBeforeCommit({}); }
    } step{receiving};
    receiving.setBeforeCommit(keepUndo);
    return updateRecordFromRecordNumber(masterDatamanager, sourceDatamanager, isMaster, FileName);
}

std::string Sifcore::restore(clsDBManager& masterSide, clsDBManager& sourceSide, bool isMaster) {
    clsDBManager& receiving = isMaster ? sourceSide : masterSide;
    if (!receiving.checkFileExist(isMaster))
        return "The rollback file \"" + receiving.getRollbackFileName() + "\" is not one of the " +
               (isMaster ? "Modified" : "Original") + " side: nothing was restored.";
    // The rollback file says which record it was saved for; no statement text is ever run here,
    // whatever text the caller holds.
    const bool restored = receiving.rollback(isMaster, "");
    std::string outcome = writeOutcome(restored, receiving, !isMaster, *hooks_);
    receiving.clearMessages();
    return outcome;
}

std::string Sifcore::rollBackFromRecordNumber(const std::shared_ptr<clsDBManager>& masterDatamananger,
                                              const std::shared_ptr<clsDBManager>& sourceDatamanager,
                                              bool isMaster, const std::string& /*FileName*/) {
    clsDBManager& masterSide = *masterDatamananger;
    clsDBManager& sourceSide = *sourceDatamanager;
    locateCurrentRecord(masterSide);
    locateCurrentRecord(sourceSide);
    masterSide.closeRecordSet();
    sourceSide.closeRecordSet();
    return restore(masterSide, sourceSide, isMaster);
}

std::string Sifcore::rollBackFromSQL(const std::shared_ptr<clsDBManager>& masterDatamananger,
                                     const std::shared_ptr<clsDBManager>& sourceDatamanager, bool isMaster,
                                     const std::string& /*FileName*/,
                                     const std::string& /*rollbackSql: shown only*/) {
    return restore(*masterDatamananger, *sourceDatamanager, isMaster);
}

} // namespace sifkit
