// SPDX-License-Identifier: MIT
// Carrying out an undo: the record an update overwrote is put back from its rollback file, in
// this run or a later one.
#include "Prompter.h"
#include "connect/ConnectionNames.h"
#include "shell/FlexGrid.h"
#include "shell/RecentConnections.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"
#include "sync/RollbackSlots.h"
#include "sync/frmUndo.h"

#include <sifkit/Credentials.h>
#include <sifkit/Sifcore.h>

namespace dbsift {

namespace {

constexpr const char* kRestored = "Successfully Completed";

} // namespace

frmUndo& frmMain::undoDialog() {
    if (!frmUndo_)
        frmUndo_ = new frmUndo(*this);
    return *frmUndo_;
}

std::optional<std::string> frmMain::connectionForRollback(const std::string& stored, bool isMaster) {
    const std::string userID = splitUserID(stored).userID;
    // The connection of this session, with its password when one was given for it.
    const std::string current = isMaster ? getMasterConnectionString() : getSourceConnectionString();
    const std::string& password = isMaster ? appVar_.getMasterPassWord() : appVar_.getSourcePassWord();
    if (!stored.empty() && sifkit::withoutPassword(current) == stored &&
        (userID.empty() || !password.empty()))
        return current;
    // The entry keeps the user ID, never the password: ask for it, for this roll back only.
    if (userID.empty())
        return stored;
    const auto asked =
        prompter_.askPassword(this, tr("Password"),
                              tr("The password of user %1 for %2:")
                                  .arg(QString::fromStdString(userID), connectionDisplayName(stored)));
    if (!asked)
        return std::nullopt;
    std::string connection = stored;
    if (!asked->isEmpty())
        Sifcore1().addPasswordToConnectionString(asked->toStdString(), connection);
    return connection;
}

bool frmMain::rollBackSlot(const RollbackSlot& slot) {
    const QString file = QString::fromStdString(slot.fileName);
    if (slot.rolledBack) {
        showMessage(tr("This update has been rolled back already."));
        return false;
    }
    if (slot.fileName.empty() || !std::filesystem::exists(slot.fileName)) {
        showMessage(tr("The rollback file %1 is missing: nothing was changed.").arg(file));
        return false;
    }
    if (slot.sync)
        return undoSyncSlot(slot);
    if (!slot.table.empty() &&
        rollbackFileName(std::filesystem::path(slot.fileName).parent_path(), slot.table, slot.isMaster) !=
            std::filesystem::path(slot.fileName)) {
        showMessage(tr("The rollback file %1 does not belong to table %2: nothing was changed.")
                        .arg(file, QString::fromStdString(slot.table)));
        return false;
    }
    if (!slot.fileStamp.empty() && fileStamp(slot.fileName) != slot.fileStamp) {
        showMessage(tr("The rollback file %1 has been written again by a later update, so this entry can no "
                       "longer be rolled back: nothing was changed.")
                        .arg(file));
        return false;
    }
    const bool receivingIsOriginal = !slot.isMaster;
    const QString question =
        receivingIsOriginal
            ? tr("Put the record of table %1 on the Original database back as it was before the update?")
            : tr("Put the record of table %1 on the Modified database back as it was before the update?");
    if (!prompter_.confirm(this, tr("Roll Back"), question.arg(QString::fromStdString(slot.table))))
        return false;

    const std::string stored = receivingIsOriginal ? slot.masterConnection : slot.sourceConnection;
    const auto connection = connectionForRollback(stored, receivingIsOriginal);
    if (!connection)
        return false;

    // Managers of its own: the comparison's managers and results stay as they are.
    auto master = std::make_shared<sifkit::clsDBManager>();
    auto source = std::make_shared<sifkit::clsDBManager>();
    for (const auto& manager : {master, source}) {
        manager->initializeValues();
        manager->setTableName(slot.table);
    }
    auto& receiving = receivingIsOriginal ? master : source;
    receiving->setConnectionString(*connection);
    std::string outcome;
    const int shownBefore = engineMessagesShown();
    {
        BusyScope busy(*this);
        receiving->openDatabaseConnection();
        receiving->setRollbackFileName(slot.fileName);
        // The file must be the one this entry's update wrote (an entry written without an id
        // relies on the file stamp checked above).
        receiving->setRollbackFileId(slot.fileId);
        outcome = Sifcore1().rollBackFromSQL(master, source, slot.isMaster, slot.fileName, slot.sql);
        receiving->setRollbackFileId("");
        receiving->closeConnection();
    }
    if (outcome != kRestored) {
        frame_.setPanelText(2, tr("Roll back failed: nothing was changed."));
        if (engineMessagesShown() == shownBefore)
            showMessage(tr("The record could not be rolled back: %1").arg(QString::fromStdString(outcome)));
        return false;
    }
    noteRolledBack(slot.number);
    return true;
}

void frmMain::noteRolledBack(int slotNumber) {
    const QString entry = QString::fromStdString(rollbackSection(slotNumber));
    if (const ProfileWrite noted = markRolledBack(settings_, slotNumber); !noted)
        showMessage(tr("The changes were rolled back, but the settings file could not note it (%1): the undo "
                       "list still offers %2.")
                        .arg(QString::fromStdString(noted.error), entry));
    frame_.setPanelText(2, tr("Rolled back %1.").arg(entry) + runAgainHint());
}

void frmMain::cmdUndo_Click() {
    frmUndo& dialog = undoDialog();
    dialog.ReadRollBackIniFile();
    dialog.show();
    dialog.raise();
}

} // namespace dbsift
