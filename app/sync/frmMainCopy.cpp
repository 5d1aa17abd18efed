// SPDX-License-Identifier: MIT
// Copying a record to the other database, or overwriting its counterpart there with a rollback
// entry for the undo list.
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"
#include "sync/RollbackSlots.h"

#include <sifkit/Sifcore.h>
#include <sifkit/SifkitError.h>

#include <QAction>
#include <QPushButton>
#include <QStyle>

namespace dbsift {

namespace {

constexpr const char* kWritten = "Successfully Completed";

} // namespace

QString frmMain::runAgainHint() const {
    return tr(" Run the comparison again (F5 or a click on the table) to see the new state.");
}

void frmMain::connectSyncView() {
    connect(cmdCopyRecord_, &QPushButton::clicked, this, &frmMain::cmdCopyRecord_Click);
    connect(mnuCopyTopToBottompopup_, &QAction::triggered, this, &frmMain::cmdCopyRecord_Click);
    connect(cmdCopyRecorUp_, &QPushButton::clicked, this, &frmMain::cmdCopyRecorUp_Click);
    connect(mnuCopyBottomToToppopup_, &QAction::triggered, this, &frmMain::cmdCopyRecorUp_Click);
    connect(cmdUndo_, &QPushButton::clicked, this, &frmMain::cmdUndo_Click);
    connect(cmdCreateHTMLReport_, &QPushButton::clicked, this, &frmMain::requestReport);
    // The two copy buttons share their caption; the arrows tell them apart.
    cmdCopyRecord_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    cmdCopyRecorUp_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    cmdUndo_->setEnabled(true);
}

void frmMain::cmdCopyRecord_Click() {
    if (isBusy())
        return;
    const int32_t selected = getSelectedRecordNumber();
    if (selected < 1) {
        showMessage(tr("Choose a differing record first."));
        return;
    }
    auto master = Sifcore1().getMasterDataManager();
    auto source = Sifcore1().getSourceDataManager();
    positionDataManagers(appVar_.getIsOriginal(), selected, getSelectedRelatedRecordNumber());
    // With a counterpart on the other side the counterpart is overwritten; without one the record
    // is added there.
    if (cmdCopyRecorUp_->isEnabled())
        updateRecordWithRollback(master, source);
    else
        copyRecordToOtherSide(master, source);
}

// The counterpart (below) is copied onto the selected record's side: the side flag is inverted
// for the write and restored after it, and the two record numbers change places with it, since
// the record to copy is now the counterpart.
void frmMain::cmdCopyRecorUp_Click() {
    if (isBusy() || !cmdCopyRecorUp_->isEnabled())
        return;
    const bool isOriginal = appVar_.getIsOriginal();
    auto master = Sifcore1().getMasterDataManager();
    auto source = Sifcore1().getSourceDataManager();
    appVar_.setIsOriginal(!isOriginal);
    positionDataManagers(!isOriginal, getSelectedRelatedRecordNumber(), getSelectedRecordNumber());
    updateRecordWithRollback(master, source);
    appVar_.setIsOriginal(isOriginal);
}

void frmMain::positionDataManagers(bool isOriginal, int32_t selectedRecord, int32_t relatedRecord) {
    auto master = Sifcore1().getMasterDataManager();
    auto source = Sifcore1().getSourceDataManager();
    master->setCurrentRecordNumber(isOriginal ? selectedRecord : relatedRecord);
    source->setCurrentRecordNumber(isOriginal ? relatedRecord : selectedRecord);
}

bool frmMain::copyRecordToOtherSide(const std::shared_ptr<sifkit::clsDBManager>& master,
                                    const std::shared_ptr<sifkit::clsDBManager>& source) {
    const bool isOriginal = appVar_.getIsOriginal();
    std::string outcome;
    const int shownBefore = engineMessagesShown();
    {
        BusyScope busy(*this);
        outcome = Sifcore1().copyRecordFromRecordNumber(master, source, isOriginal);
    }
    // The record went to the other side: the Modified database for an Original record.
    const bool toModified = isOriginal;
    if (outcome != kWritten) {
        frame_.setPanelText(2, tr("The record was not copied: nothing was changed."));
        if (engineMessagesShown() == shownBefore)
            showMessage((toModified ? tr("The record could not be copied to the Modified database: %1")
                                    : tr("The record could not be copied to the Original database: %1"))
                            .arg(QString::fromStdString(outcome)));
        return false;
    }
    frame_.setPanelText(2, (toModified ? tr("Record copied to the Modified database.")
                                       : tr("Record copied to the Original database.")) +
                               runAgainHint());
    return true;
}

bool frmMain::updateRecordWithRollback(const std::shared_ptr<sifkit::clsDBManager>& master,
                                       const std::shared_ptr<sifkit::clsDBManager>& source) {
    const bool isOriginal = appVar_.getIsOriginal();
    RollbackSlot slot;
    slot.table = master->getTableName();
    std::error_code ignored;
    std::filesystem::create_directories(paths_.rollbackFolder(), ignored);
    slot.fileName = rollbackFileName(paths_.rollbackFolder(), slot.table, isOriginal).string();
    currentRollbackFile_ = slot.fileName;
    // The connections the write goes through are the managers' (the entry keeps them without
    // the password, with the user ID); a manager not opened yet opens the side's.
    const std::string masterOpened = master->getConnectionString();
    const std::string sourceOpened = source->getConnectionString();
    slot.masterConnection = masterOpened.empty() ? getMasterConnectionString() : masterOpened;
    slot.sourceConnection = sourceOpened.empty() ? getSourceConnectionString() : sourceOpened;
    slot.isMaster = isOriginal;
    // The undo entry is written once the record is, before the write commits: an update whose
    // entry cannot be kept does not happen.
    const auto keepUndo = [&](const std::string& fileName, const std::string& id) {
        slot.fileName = fileName;
        slot.fileId = id;
        slot.sql = Sifcore1().getRollBackSQL();
        // The reason travels with the engine's own message of the refused update.
        if (const ProfileWrite saved = addRollbackEntry(settings_, slot); !saved)
            throw sifkit::Error(sifkit::ErrorNumber::FileError,
                                tr("The undo entry could not be written to the settings file (%1)")
                                    .arg(QString::fromStdString(saved.error))
                                    .toStdString());
        return true;
    };
    std::string outcome;
    const int shownBefore = engineMessagesShown();
    {
        BusyScope busy(*this);
        outcome = Sifcore1().updateRecordWithUndo(master, source, isOriginal, slot.fileName, keepUndo);
    }
    const bool toModified = isOriginal;
    if (outcome != kWritten) {
        frame_.setPanelText(2, tr("The record was not overwritten: nothing was changed."));
        if (engineMessagesShown() == shownBefore)
            showMessage((toModified ? tr("The Modified record could not be overwritten: %1")
                                    : tr("The Original record could not be overwritten: %1"))
                            .arg(QString::fromStdString(outcome)));
        return false;
    }
    const QString entry = QString::fromStdString(rollbackSection(slot.number));
    frame_.setPanelText(2, (toModified ? tr("The Modified record was overwritten (undo entry %1).")
                                       : tr("The Original record was overwritten (undo entry %1)."))
                                   .arg(entry) +
                               runAgainHint());
    return true;
}

} // namespace dbsift
