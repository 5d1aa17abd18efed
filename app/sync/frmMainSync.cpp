// SPDX-License-Identifier: MIT
// Bringing the chosen rows of the paired view into line: the script that would do it, and the
// apply that does it in one step with an undo file, taken back from the undo list.
#include "Prompter.h"
#include "connect/ConnectionNames.h"
#include "data/PairedView.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"
#include "sync/RollbackSlots.h"
#include "sync/frmSyncScript.h"

#include <sifkit/Sifcore.h>
#include <sifkit/SyncRun.h>

#include <QDateTime>

#include <filesystem>

namespace dbsift {

namespace {

/// Applies that delete more rows than this say so in their question.
constexpr int32_t kDeletesThatWarn = 100;

QString countsText(const sifkit::SyncPlan& plan) {
    return frmMain::tr("Inserts: %1, updates: %2, deletes: %3.")
        .arg(plan.count(sifkit::SyncKind::Insert))
        .arg(plan.count(sifkit::SyncKind::Update))
        .arg(plan.count(sifkit::SyncKind::Delete));
}

QString leftOutText(const sifkit::SyncPlan& plan) {
    QStringList lines;
    for (const sifkit::TableSync& table : plan.tables)
        for (const std::string& left : table.leftOut)
            lines << QString::fromStdString(left);
    return lines.join(QLatin1Char('\n'));
}

/// A new file in the folder for the undo file of an apply.
std::filesystem::path newUndoFile(const std::filesystem::path& folder) {
    const std::string stamp = QDateTime::currentDateTimeUtc().toString("yyyyMMdd-HHmmss-zzz").toStdString();
    for (int n = 1;; ++n) {
        const std::filesystem::path file =
            folder / ("sync-" + stamp + (n > 1 ? "-" + std::to_string(n) : "") + ".xml");
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            return file;
    }
}

} // namespace

void frmMain::connectSyncPlan() {
    connect(pairedView_, &PairedView::syncScriptRequested, this, &frmMain::showSyncScript);
    connect(pairedView_, &PairedView::applySyncRequested, this, &frmMain::applyChosenSync);
}

std::shared_ptr<sifkit::clsDBManager> frmMain::syncTargetManager(sifkit::SyncDirection direction) {
    return direction == sifkit::SyncDirection::ToModified ? Sifcore1().getSourceDataManager()
                                                          : Sifcore1().getMasterDataManager();
}

void frmMain::showSyncScript() {
    if (isBusy())
        return;
    const sifkit::SyncPlan plan = pairedView_->chosenPlan();
    const auto target = syncTargetManager(plan.direction);
    QString script;
    try {
        script = QString::fromStdString(sifkit::syncScript(
            plan, target->getDatabaseConnection(),
            {connectionDisplayName(Sifcore1().getMasterDataManager()->getConnectionString()).toStdString(),
             connectionDisplayName(Sifcore1().getSourceDataManager()->getConnectionString()).toStdString()}));
    } catch (const sifkit::Error& error) {
        showMessage(tr("No script can be written for the chosen rows: %1")
                        .arg(QString::fromStdString(error.description())));
        return;
    }
    if (!frmSyncScript_)
        frmSyncScript_ = new frmSyncScript(*this);
    const bool toModified = plan.direction == sifkit::SyncDirection::ToModified;
    QString summary = (toModified ? tr("Makes the Modified database %1 like the Original.")
                                  : tr("Makes the Original database %1 like the Modified."))
                          .arg(connectionDisplayName(target->getConnectionString())) +
                      QLatin1Char(' ') + countsText(plan);
    if (const QString left = leftOutText(plan); !left.isEmpty())
        summary += QLatin1Char('\n') + left;
    frmSyncScript_->showScript(summary, script);
    frmSyncScript_->show();
    frmSyncScript_->raise();
}

bool frmMain::applyChosenSync() {
    if (isBusy())
        return false;
    const sifkit::SyncPlan plan = pairedView_->chosenPlan();
    const bool toModified = plan.direction == sifkit::SyncDirection::ToModified;
    if (plan.empty()) {
        QString text = tr("The chosen rows need no change.");
        if (const QString left = leftOutText(plan); !left.isEmpty())
            text += QLatin1Char('\n') + left;
        showMessage(text);
        return false;
    }
    const auto target = syncTargetManager(plan.direction);
    const QString targetName = connectionDisplayName(target->getConnectionString());
    QString question = (toModified ? tr("Apply these changes to the Modified database %1?")
                                   : tr("Apply these changes to the Original database %1?"))
                           .arg(targetName) +
                       QStringLiteral("\n\n") + countsText(plan);
    const int32_t deletes = plan.count(sifkit::SyncKind::Delete);
    if (deletes > kDeletesThatWarn)
        question += QStringLiteral("\n\n") + tr("This deletes %1 rows of the database.").arg(deletes);
    question += QStringLiteral("\n\n") + tr("Undo Copy can take the whole apply back.");
    if (!prompter_.confirm(this, tr("Apply"), question))
        return false;

    std::error_code ignored;
    std::filesystem::create_directories(paths_.rollbackFolder(), ignored);
    const std::string undoFile = newUndoFile(paths_.rollbackFolder()).string();
    const sifkit::SyncNames names{
        connectionDisplayName(Sifcore1().getMasterDataManager()->getConnectionString()).toStdString(),
        connectionDisplayName(Sifcore1().getSourceDataManager()->getConnectionString()).toStdString()};
    sifkit::SyncRecord applied;
    try {
        BusyScope busy(*this);
        applied = sifkit::applySync(plan, target->getDatabaseConnection(), names, undoFile);
    } catch (const sifkit::Error& error) {
        frame_.setPanelText(2, tr("The changes were not applied: nothing was changed."));
        showMessage(
            tr("The changes could not be applied: %1").arg(QString::fromStdString(error.description())));
        return false;
    }
    RollbackSlot slot;
    slot.sync = true;
    slot.updateRecord = false;
    slot.isMaster = toModified;
    slot.masterConnection = Sifcore1().getMasterDataManager()->getConnectionString();
    slot.sourceConnection = Sifcore1().getSourceDataManager()->getConnectionString();
    slot.fileName = undoFile;
    slot.fileId = applied.id;
    slot.sql = applied.description();
    for (const sifkit::SyncedTable& table : applied.tables)
        slot.table += (slot.table.empty() ? "" : ", ") + table.table;
    const ProfileWrite saved = addRollbackEntry(settings_, slot);
    if (!saved)
        showMessage(
            tr("The changes were applied, but the undo entry could not be written to the settings file "
               "(%1). The undo file %2 takes them back: dbsift-compare --undo %2")
                .arg(QString::fromStdString(saved.error), QString::fromStdString(undoFile)));
    // What the window showed is from before the apply: the table is compared again, so that
    // nothing of the earlier result can be applied twice and the view shows what is left.
    compareTableOnCurrentDatabases(appVar_.getSelectedTableName(), getFieldList());
    const QString done = QString::fromStdString(applied.description());
    frame_.setPanelText(2, saved ? tr("Applied: %1 (undo entry %2).")
                                       .arg(done, QString::fromStdString(rollbackSection(slot.number)))
                                 : tr("Applied: %1.").arg(done));
    return true;
}

bool frmMain::undoSyncSlot(const RollbackSlot& slot) {
    const QString file = QString::fromStdString(slot.fileName);
    sifkit::SyncRecord record;
    try {
        record = sifkit::readSyncUndo(slot.fileName);
    } catch (const sifkit::Error& error) {
        showMessage(tr("The undo file %1 cannot be used: %2 Nothing was changed.")
                        .arg(file, QString::fromStdString(error.description())));
        return false;
    }
    if (!slot.fileId.empty() && record.id != slot.fileId) {
        showMessage(
            tr("The undo file %1 is not the one this entry's apply wrote: nothing was changed.").arg(file));
        return false;
    }
    const bool receivingIsOriginal = !slot.isMaster;
    if (!prompter_.confirm(
            this, tr("Roll Back"),
            tr("Take back the apply \"%1\"?").arg(QString::fromStdString(record.description()))))
        return false;
    const auto connectionString = connectionForRollback(
        receivingIsOriginal ? slot.masterConnection : slot.sourceConnection, receivingIsOriginal);
    if (!connectionString)
        return false;
    try {
        BusyScope busy(*this);
        sifkit::Connection connection;
        connection.open(*connectionString);
        sifkit::undoSync(connection, slot.fileName);
    } catch (const sifkit::Error& error) {
        frame_.setPanelText(2, tr("Roll back failed: nothing was changed."));
        showMessage(
            tr("The apply could not be taken back: %1").arg(QString::fromStdString(error.description())));
        return false;
    }
    noteRolledBack(slot.number);
    return true;
}

} // namespace dbsift
