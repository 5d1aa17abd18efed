// SPDX-License-Identifier: MIT
#include "RollbackFile.h"
#include "RollbackStore.h"

#include "model/Messages.h"
#include "model/Statement.h"

#include "dataaccess/Text.h"

#include <sifkit/SifkitError.h>
#include <sifkit/clsDBManager.h>

#include <optional>

namespace sifkit {

std::string clsDBManager::getRollbackFileName() const {
    return detail::RollbackStore::instance().fileName;
}

void clsDBManager::setRollbackFileName(const std::string& fileNameIn) {
    detail::RollbackStore::instance().fileName = fileNameIn;
}

std::string clsDBManager::getRollbackFileId() const {
    return detail::RollbackStore::instance().fileId;
}

void clsDBManager::setRollbackFileId(const std::string& idIn) {
    detail::RollbackStore::instance().fileId = idIn;
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
        detail::writeRollbackFile(recset, FileName);
    } catch (const Error&) {
        // Documented to pass its failure over: a roll back then finds no file and says so.
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
    } catch (const std::exception&) {
        const detail::Cause cause = detail::Cause::current();
        returnSQLMessage_.clear();
        appendFailure(detail::writeFailure(cause, tableName_));
        showMessage(cause.text());
        return false;
    }
}

bool clsDBManager::checkFileExist(bool isMaster) {
    return getRollbackFileName().find(isMaster ? "ORIGINAL" : "MODIFIED") != std::string::npos;
}

namespace {

/// The record a rollback file was saved for, as it stands after its update: the file's own
/// locator; for a file written without one, the saved row's primary key (an update never
/// changes it). Nothing when neither is there.
std::optional<detail::Statement> savedRecord(const Recordset& file, const std::string& table,
                                             const std::string& primaryKey) {
    detail::Statement record{table, {}, {}, {}, {}};
    for (const auto& [column, value] : file.notes().locator)
        record.conditions.push_back({column, value, 0});
    if (record.conditions.empty() && file.state() == 1 && !file.eof()) {
        for (int32_t i = 0; i < file.fieldCount(); ++i)
            if (platform::trimmed(file.field(i).name()) == primaryKey)
                record.conditions.push_back({file.field(i).name(), file.field(i).value(), 0});
    }
    if (record.conditions.empty())
        return std::nullopt;
    return record;
}

/// Throws unless the record found holds the saved row's value of the primary key column (the
/// key column an update never writes): a roll back restores only the record it was saved for.
void requireSameKey(const Recordset& target, const Recordset& saved, const std::string& primaryKey) {
    if (primaryKey.empty() || primaryKey == "No primary key Defined")
        return;
    Value found;
    Value kept;
    try {
        found = target.field(primaryKey).value();
        kept = saved.field(primaryKey).value();
    } catch (const Error&) {
        return; // a key column the saved row lacks cannot tell them apart
    }
    if (!(found == kept))
        throw Error(ErrorNumber::RowNotLocated, "The record found holds " + primaryKey + " = " +
                                                    found.toString() + ", the saved one " + kept.toString() +
                                                    ": it is another record; nothing was restored.");
}

} // namespace

bool clsDBManager::rollback(bool isMaster, const std::string& rollbackSql) {
    closeRecordSet();
    if (!checkFileExist(isMaster))
        return false;
    returnSQLMessage_ = "Successfully Completed";
    Recordset& target = dataManager_->rsAccess;
    bool restored = false;
    try {
        // The file says which record it was saved for: that runs, exactly, and the text is only
        // shown. A host's own text runs only for a file that says nothing of its record.
        Recordset file;
        try {
            file.openFile(getRollbackFileName());
        } catch (const Error&) {
            // A host's own text finds its record first, as ever; otherwise the file's failure is
            // what there is to say.
            if (rollbackSql.empty()) {
                openRollbackRecord();
                closeRecordSet();
                return false;
            }
        }
        const std::string primaryKey = platform::trimmed(getAccessPrimaryKey(tableName_));
        std::optional<detail::Statement> record = file.notes().locator.empty() && !rollbackSql.empty()
                                                      ? std::nullopt
                                                      : savedRecord(file, tableName_, primaryKey);
        if (record)
            openBuilt(target, *record);
        else if (!rollbackSql.empty())
            openStatement(target, rollbackSql);
        else
            throw Error(ErrorNumber::RowNotLocated,
                        "The rollback file \"" + getRollbackFileName() +
                            "\" does not say which record it was saved for; nothing "
                            "was restored.");
        if (target.eof()) {
            closeRecordSet();
            return false;
        }
        detail::requireSingleRow(target, rollbackSql.empty() ? "the record the rollback file was saved for"
                                                             : rollbackSql);
        target.moveFirst();
        if (!openRollbackRecord()) {
            closeRecordSet();
            return false;
        }
        Recordset saved = getRollbackRecordset();
        detail::requireRollbackFileOf(tableName_, connectionString_, saved);
        requireSameKey(target, saved, primaryKey);
        for (int32_t i = 0; i < saved.fieldCount() && i < target.fieldCount(); ++i) {
            const std::string name = platform::trimmed(target.field(i).name());
            if (name == primaryKey || name != platform::trimmed(saved.field(i).name()))
                continue;
            target.field(i).setValue(saved.field(i).value());
        }
        target.update();
        restored = true;
    } catch (const std::exception&) {
        returnSQLMessage_.clear();
        appendFailure(detail::writeFailure(detail::Cause::current(), tableName_));
        if (target.state() == 1)
            target.cancelUpdate();
    }
    closeRecordSet();
    return restored;
}

} // namespace sifkit
