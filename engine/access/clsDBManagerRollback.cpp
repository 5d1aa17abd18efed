// SPDX-License-Identifier: MIT
#include "Failure.h"
#include "RollbackFile.h"
#include "RollbackStore.h"

#include "dataaccess/Text.h"

#include <sifkit/clsDBManager.h>

namespace sifkit {

std::string clsDBManager::getRollbackFileName() const {
    return detail::RollbackStore::instance().fileName;
}

void clsDBManager::setRollbackFileName(const std::string& fileNameIn) {
    detail::RollbackStore::instance().fileName = fileNameIn;
}

Recordset clsDBManager::getRollbackRecordset() const {
    return detail::RollbackStore::instance().recordset;
}

void clsDBManager::setRollbackRecordset(const Recordset& recordsetIn) {
    detail::RollbackStore::instance().recordset = recordsetIn;
}

void clsDBManager::saveRollBackInformation(const Recordset& recset, bool /*isMaster*/,
                                           const std::string& FileName) {
    try {
        detail::writeRollbackFile(*this, recset, FileName);
    } catch (...) {
    }
}

void clsDBManager::tempReadRollBackInformation() {
    Recordset saved = getRollbackRecordset();
    for (int32_t i = 0; i < saved.fieldCount(); ++i) {
        Field field = saved.field(i);
        showMessage("test 777 " + field.name() + " = " +
                    (saved.state() == 1 && !saved.eof() ? field.value().toString() : ""));
    }
}

bool clsDBManager::openRollbackRecord() {
    try {
        Recordset saved;
        saved.openFile(getRollbackFileName());
        saved.moveFirst();
        setRollbackRecordset(saved);
        return true;
    } catch (...) {
        returnSQLMessage_ = detail::recordWriteFailureText(tableName_);
        showMessage(detail::currentFailureText());
        return false;
    }
}

bool clsDBManager::checkFileExist(bool isMaster) {
    return getRollbackFileName().find(isMaster ? "ORIGINAL" : "MODIFIED") != std::string::npos;
}

bool clsDBManager::rollback(bool isMaster, const std::string& rollbackSql) {
    closeRecordSet();
    if (!checkFileExist(isMaster))
        return false;
    returnSQLMessage_ = "Successfully Completed";
    Recordset& target = dataManager_->rsAccess;
    // Without a statement of its own the rollback restores the record this side located last.
    const std::string statement = rollbackSql.empty() ? sSql_ : rollbackSql;
    bool restored = false;
    try {
        openStatement(target, statement);
        if (target.eof()) {
            closeRecordSet();
            return false;
        }
        detail::requireSingleRow(target, statement);
        target.moveFirst();
        if (!openRollbackRecord()) {
            closeRecordSet();
            return false;
        }
        Recordset saved = getRollbackRecordset();
        detail::requireRollbackFileOf(*this, saved);
        const std::string primaryKey = platform::trimmed(getAccessPrimaryKey(tableName_));
        for (int32_t i = 0; i < saved.fieldCount() && i < target.fieldCount(); ++i) {
            const std::string name = platform::trimmed(target.field(i).name());
            if (name == primaryKey || name != platform::trimmed(saved.field(i).name()))
                continue;
            target.field(i).setValue(saved.field(i).value());
        }
        target.update();
        restored = true;
    } catch (...) {
        returnSQLMessage_ = detail::recordWriteFailureText(tableName_);
        if (target.state() == 1)
            target.cancelUpdate();
    }
    closeRecordSet();
    return restored;
}

} // namespace sifkit
