// SPDX-License-Identifier: MIT
// The compare run of the structure view: the refresh and run commands, the swap of the two
// sides, and the engine run they share.
#include "data/frmFieldListForDataCompare.h"
#include "shell/FlexGrid.h"
#include "shell/RecentConnections.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Credentials.h>
#include <sifkit/Sifcore.h>

#include <QAction>
#include <QTreeWidget>

#include <chrono>
#include <utility>

namespace dbsift {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

void frmMain::connectStructureView() {
    for (QAction* action : {tbRefresh_, mnuRunStructureComparepopup_})
        connect(action, &QAction::triggered, this, &frmMain::tbRefresh_Click);
    connect(mnuRun_, &QAction::triggered, this, &frmMain::mnuRun_Click);
    connect(tbSwap_, &QAction::triggered, this, &frmMain::tbSwap_Click);
}

bool frmMain::requireConnections() {
    if (!masterConnectionString_.empty() && !sourceConnectionString_.empty())
        return true;
    showMessage(tr("The master and source databases must be selected first"));
    return false;
}

bool frmMain::runEngineCompare(bool listObjectsOnly) {
    sifkit::Sifcore& engine = Sifcore1();
    const std::string master = getMasterConnectionString();
    const std::string source = getSourceConnectionString();
    const auto start = std::chrono::steady_clock::now();
    bool compared = false;
    {
        BusyScope busy(*this);
        compared = engine.beginFullDatabaseCompare(master, source, listObjectsOnly);
    }
    structureTiming_.engineSeconds += secondsSince(start);

    lastRunReportedError_ = false;
    if (!compared) {
        // A failed run leaves the previous run's results published; the views would then show
        // databases that may no longer be chosen. Each side shows what this run read instead
        // (nothing for a side that could not be read, every object for an empty other side).
        // A run the user stopped is no failure to report.
        auto masterSide = engine.getMasterDataManager();
        auto sourceSide = engine.getSourceDataManager();
        lastRunReportedError_ = wasCancelled() || reportEngineFailure();
        if (wasCancelled())
            frame_.setPanelText(2, tr("Compare cancelled."));
        engine.setMasterResultsFromDataManager(masterSide);
        engine.setSourceResultsFromDataManager(sourceSide);
    }
    return compared;
}

void frmMain::do_Compare() {
    runObjectCompare(true);
}

void frmMain::runObjectCompare(bool withStructure) {
    resetTree(*TreeView1_);
    resetTree(*TreeView2_);
    runEngineCompare(true);
    sifkit::Sifcore& engine = Sifcore1();
    auto masterManager = engine.getMasterDataManager();
    auto sourceManager = engine.getSourceDataManager();
    cmdViewReport_->setEnabled(true);

    const auto start = std::chrono::steady_clock::now();
    populateTree(*TreeView1_, true);
    populateTree(*TreeView2_, false);
    structureTiming_.treeSeconds += secondsSince(start);

    // A database that could not be read has been reported; comparing it again would only
    // report it again.
    if (withStructure && appVar_.getShowStructure() && !lastRunReportedError_)
        runStructureCompare(true);
    masterManager->destroyValues();
    sourceManager->destroyValues();
}

bool frmMain::refreshRun(bool withStructure) {
    if (!requireConnections()) {
        cmdViewReport_->setEnabled(false);
        return false;
    }
    runObjectCompare(withStructure);
    enableControls();
    cmdViewReport_->setEnabled(false);
    return true;
}

void frmMain::tbRefresh_Click() {
    if (isBusy())
        return;
    structureTiming_ = {};
    refreshRun(true);
}

void frmMain::mnuRun_Click() {
    if (isBusy())
        return;
    structureTiming_ = {};
    cmdViewReport_->setEnabled(false);
    setProgressBar();
    // The refresh run would compare the structure when "Show Structure" is on, and the run's
    // own structure step right after it would repeat the same comparison; it runs once, here.
    // A database that could not be read has been reported by the listing already.
    if (refreshRun(false) && !lastRunReportedError_)
        runStructureCompare(true);
    resetProgressBar();
    SaveIniFile();
}

void frmMain::tbSwap_Click() {
    if (isBusy())
        return;
    if (!requireConnections())
        return;
    structureTiming_ = {};
    sifkit::Sifcore& engine = Sifcore1();
    auto formerMaster = engine.getMasterDataManager();
    auto formerSource = engine.getSourceDataManager();
    engine.setMasterDataManager(formerSource);
    engine.setSourceDataManager(formerMaster);

    // Each database keeps its own credentials: they travel with it to the other side.
    const std::string masterUser = appVar_.getMasterUserID();
    const std::string masterPassword = appVar_.getMasterPassWord();
    appVar_.setMasterUserID(appVar_.getSourceUserID());
    appVar_.setMasterPassWord(appVar_.getSourcePassWord());
    appVar_.setSourceUserID(masterUser);
    appVar_.setSourcePassWord(masterPassword);
    std::swap(masterConnectionString_, sourceConnectionString_);
    // The boxes show each side's connection as stored: with its user ID, never its password.
    for (bool isMaster : {true, false})
        setRecentListText(
            isMaster, QString::fromStdString(sifkit::withoutPassword(connectionWithCredentials(isMaster))));
    // The sides are crossed: the field list of a table was read from the former Original side.
    if (frmFieldListForDataCompare_)
        frmFieldListForDataCompare_->forgetTable();

    do_Compare();
    if (appVar_.getDoStructure()) {
        // With "Show Structure" on, do_Compare has just compared the structure; otherwise the
        // structure step only brings the grids' frame forward over the objects just listed.
        if (!appVar_.getShowStructure())
            runStructureCompare(true);
    } else if (!appVar_.getSelectedTableName().empty() && !getFieldList().empty()) {
        swapDataResults();
    }
}

} // namespace dbsift
