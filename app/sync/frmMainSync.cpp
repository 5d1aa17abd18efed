// SPDX-License-Identifier: MIT
// Bringing the chosen rows of the paired view into line: the script that would do it, and the
// apply that does it in one step with an undo file, taken back from the undo list.
#include "Prompter.h"
#include "connect/ConnectionNames.h"
#include "data/EveryTableView.h"
#include "data/PairedView.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"
#include "sync/RollbackSlots.h"
#include "sync/frmSyncScript.h"

#include <sifkit/Sifcore.h>
#include <sifkit/SyncRun.h>

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

} // namespace

void frmMain::connectSyncPlan() {
    connect(pairedView_, &PairedView::syncScriptRequested, this,
            [this] { showSyncScript(pairedView_->chosenPlan(), SyncOrigin::Table); });
    connect(pairedView_, &PairedView::applySyncRequested, this, &frmMain::applyChosenSync);
    connect(everyTableView_, &EveryTableView::syncScriptRequested, this,
            [this] { showSyncScript(everyTableView_->plan(), SyncOrigin::EveryTable); });
    connect(everyTableView_, &EveryTableView::applySyncRequested, this,
            [this] { applySyncPlan(everyTableView_->plan(), SyncOrigin::EveryTable); });
}

bool frmMain::applyChosenSync() {
    return applySyncPlan(pairedView_->chosenPlan(), SyncOrigin::Table);
}

void frmMain::hideSyncScript() {
    if (frmSyncScript_)
        frmSyncScript_->hide();
}

frmMain::SyncDatabases frmMain::syncDatabases(SyncOrigin origin) {
    // A table's result came through the engine's side managers; a comparison of every table
    // through the window's two connections.
    if (origin == SyncOrigin::Table)
        return {Sifcore1().getMasterDataManager()->getConnectionString(),
                Sifcore1().getSourceDataManager()->getConnectionString()};
    return {getMasterConnectionString(), getSourceConnectionString()};
}

const std::string& frmMain::SyncDatabases::target(sifkit::SyncDirection direction) const {
    return direction == sifkit::SyncDirection::ToModified ? modified : original;
}

sifkit::SyncNames frmMain::SyncDatabases::names() const {
    return {connectionDisplayName(original).toStdString(), connectionDisplayName(modified).toStdString()};
}

void frmMain::showSyncScript(const sifkit::SyncPlan& plan, SyncOrigin origin) {
    if (isBusy())
        return;
    const SyncDatabases databases = syncDatabases(origin);
    const std::string& target = databases.target(plan.direction);
    QString script;
    try {
        sifkit::Connection connection;
        connection.open(target);
        script = QString::fromStdString(sifkit::syncScript(plan, connection, databases.names()));
    } catch (const sifkit::Error& error) {
        showMessage(tr("No script can be written for these changes: %1")
                        .arg(QString::fromStdString(error.description())));
        return;
    }
    if (!frmSyncScript_)
        frmSyncScript_ = new frmSyncScript(*this);
    const bool toModified = plan.direction == sifkit::SyncDirection::ToModified;
    QString summary = (toModified ? tr("Makes the Modified database %1 like the Original.")
                                  : tr("Makes the Original database %1 like the Modified."))
                          .arg(connectionDisplayName(target)) +
                      QLatin1Char(' ') + countsText(plan);
    if (const QString left = leftOutText(plan); !left.isEmpty())
        summary += QLatin1Char('\n') + left;
    // Apply makes exactly the changes the script shows; the dialog closes when the result it
    // was made from goes.
    frmSyncScript_->showScript(summary, script, [this, plan, origin] { return applySyncPlan(plan, origin); });
    frmSyncScript_->show();
    frmSyncScript_->raise();
}

bool frmMain::applySyncPlan(const sifkit::SyncPlan& plan, SyncOrigin origin) {
    if (isBusy())
        return false;
    const bool toModified = plan.direction == sifkit::SyncDirection::ToModified;
    if (plan.empty()) {
        QString text = tr("The records need no change.");
        if (const QString left = leftOutText(plan); !left.isEmpty())
            text += QLatin1Char('\n') + left;
        showMessage(text);
        return false;
    }
    const SyncDatabases databases = syncDatabases(origin);
    const std::string& target = databases.target(plan.direction);
    QString question = (toModified ? tr("Apply these changes to the Modified database %1?")
                                   : tr("Apply these changes to the Original database %1?"))
                           .arg(connectionDisplayName(target)) +
                       QStringLiteral("\n\n") + countsText(plan);
    const int32_t deletes = plan.count(sifkit::SyncKind::Delete);
    if (deletes > kDeletesThatWarn)
        question += QStringLiteral("\n\n") + tr("This deletes %1 rows of the database.").arg(deletes);
    question += QStringLiteral("\n\n") + tr("Undo Copy can take the whole apply back.");
    if (!prompter_.confirm(this, tr("Apply"), question))
        return false;

    std::error_code ignored;
    std::filesystem::create_directories(paths_.rollbackFolder(), ignored);
    const std::string undoFile = sifkit::newUndoFileName(paths_.rollbackFolder().string());
    sifkit::SyncRecord applied;
    try {
        BusyScope busy(*this);
        sifkit::Connection connection;
        connection.open(target);
        applied = sifkit::applySync(plan, connection, databases.names(), undoFile);
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
    slot.masterConnection = databases.original;
    slot.sourceConnection = databases.modified;
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
    // What the window showed is from before the apply: it is compared again, so that nothing of
    // the earlier result can be applied twice and the view shows what is left.
    if (origin == SyncOrigin::Table)
        compareTableOnCurrentDatabases(appVar_.getSelectedTableName(), getFieldList());
    else
        compareEveryTable();
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
