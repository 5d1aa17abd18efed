// Copying a record to the other database, or overwriting its counterpart there with a rollback
// entry for the undo list.
#include "FlexGrid.h"
#include "RollbackSlots.h"
#include "frmMain.h"
#include "frmMainMDI.h"

#include <sifkit/Sifcore.h>

namespace dbsift {

namespace {

constexpr const char* kWritten = "Successfully Completed";
constexpr const char* kRunAgain =
    " Run the comparison again (F5 or a click on the table) to see the new state.";

} // namespace

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
    {
        BusyScope busy(*this);
        outcome = Sifcore1().copyRecordFromRecordNumber(master, source, isOriginal);
    }
    const QString target = isOriginal ? "Modified" : "Original";
    if (outcome != kWritten) {
        frame_.setPanelText(2, "The record was not copied: nothing was changed.");
        showMessage(QString::fromStdString("The record could not be copied to the " + target.toStdString() +
                                           " database: " + outcome));
        return false;
    }
    frame_.setPanelText(2, "Record copied to the " + target + " database." + kRunAgain);
    return true;
}

bool frmMain::updateRecordWithRollback(const std::shared_ptr<sifkit::clsDBManager>& master,
                                       const std::shared_ptr<sifkit::clsDBManager>& source) {
    const bool isOriginal = appVar_.getIsOriginal();
    RollbackSlot slot;
    slot.number = nextRollbackNumber(settings_);
    slot.table = master->getTableName();
    std::error_code ignored;
    std::filesystem::create_directories(paths_.rollbackFolder(), ignored);
    slot.fileName = rollbackFileName(paths_.rollbackFolder(), slot.table, isOriginal).string();
    currentRollbackFile_ = slot.fileName;
    std::string outcome;
    {
        BusyScope busy(*this);
        outcome = Sifcore1().updateRecordFromRecordNumber(master, source, isOriginal, slot.fileName);
    }
    const QString target = isOriginal ? "Modified" : "Original";
    if (outcome != kWritten) {
        frame_.setPanelText(2, "The record was not overwritten: nothing was changed.");
        showMessage(QString::fromStdString("The " + target.toStdString() +
                                           " record could not be overwritten: " + outcome));
        return false;
    }
    slot.masterConnection = masterConnectionString_;
    slot.sourceConnection = sourceConnectionString_;
    slot.isMaster = isOriginal;
    slot.sql = Sifcore1().getRollBackSQL();
    slot.fileStamp = fileStamp(slot.fileName);
    if (!saveRollbackEntry(settings_, slot)) {
        frame_.setPanelText(2, "The " + target + " record was overwritten." + kRunAgain);
        showMessage("The record was overwritten, but the undo entry could not be written to the settings "
                    "file; the old record is kept in " +
                    QString::fromStdString(slot.fileName) + ".");
        return true;
    }
    frame_.setPanelText(2, "The " + target + " record was overwritten (undo entry " +
                               QString::fromStdString(rollbackSection(slot.number)) + ")." + kRunAgain);
    return true;
}

} // namespace dbsift
