// SPDX-License-Identifier: MIT
#include "EngineAccess.h"
#include "access/ManagerAccess.h"
#include "access/MatchQuery.h"
#include "access/RollbackFile.h"

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
    detail::buildMatchQuery(taking, receiving);
    if (detail::matchingRecordExists(taking, receiving))
        return refusedCopy;
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
    rollBackForm_ = detail::ManagerAccess::boundStatement(taking);
    const bool updated = receiving.adoUpdateRecord(taking, isMaster, FileName);
    std::string outcome = writeOutcome(updated, receiving, !isMaster, *hooks_);
    receiving.clearMessages();
    taking.closeRecordSet();
    return outcome;
}

std::string Sifcore::restore(clsDBManager& masterSide, clsDBManager& sourceSide, bool isMaster,
                             const std::string& statement,
                             const std::shared_ptr<const detail::BoundForm>& exactForm) {
    clsDBManager& receiving = isMaster ? sourceSide : masterSide;
    if (!receiving.checkFileExist(isMaster))
        return "The rollback file \"" + receiving.getRollbackFileName() + "\" is not one of the " +
               (isMaster ? "Modified" : "Original") + " side: nothing was restored.";
    // The statement finds the changed record by the values written over it; when the engine
    // built it, its exact form runs on the receiving side.
    if (exactForm)
        detail::ManagerAccess::setBoundStatement(
            receiving, std::make_shared<detail::BoundForm>(detail::BoundForm{statement, exactForm->query}));
    const bool restored = receiving.rollback(isMaster, statement);
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
    // The changed record now holds the values of the record that was written over it.
    clsDBManager& taking = isMaster ? masterSide : sourceSide;
    const std::string statement = taking.getSql();
    auto form = detail::ManagerAccess::boundStatement(taking);
    masterSide.closeRecordSet();
    sourceSide.closeRecordSet();
    return restore(masterSide, sourceSide, isMaster, statement, form);
}

std::string Sifcore::rollBackFromSQL(const std::shared_ptr<clsDBManager>& masterDatamananger,
                                     const std::shared_ptr<clsDBManager>& sourceDatamanager, bool isMaster,
                                     const std::string& /*FileName*/, const std::string& rollbackSql) {
    auto form = rollbackSql == rollBackSQL_ ? rollBackForm_ : nullptr;
    return restore(*masterDatamananger, *sourceDatamanager, isMaster, rollbackSql, form);
}

} // namespace sifkit
