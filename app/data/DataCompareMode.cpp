// SPDX-License-Identifier: MIT
// Entering data-compare mode: both databases' objects listed in the trees, and the hint that says
// how to start a data comparison.
#include "data/frmDispMessage.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QAction>
#include <QTreeWidget>

namespace dbsift {

void frmMain::do_TableCompare(bool firstTreeIsOriginal) {
    listObjectsIntoTrees(firstTreeIsOriginal);
    if (TreeView1_->topLevelItemCount() > 0 && TreeView2_->topLevelItemCount() > 0 &&
        getDisplayDataCompareMessageBox()) {
        // Modal to the window, but the window goes on loading behind it: at start-up the hint
        // comes over a window that is ready, and its settings are saved already.
        if (!frmDispMessage_)
            frmDispMessage_ = new frmDispMessage(this);
        frmDispMessage_->setMessageToDisplay(kDataCompareHint);
        frmDispMessage_->setFormToUse(*this);
        frmDispMessage_->loadForm();
        frmDispMessage_->open();
    }
}

void frmMain::listObjectsIntoTrees(bool firstTreeIsOriginal) {
    sifkit::Sifcore& engine = Sifcore1();
    runEngineCompare(true);
    auto masterManager = engine.getMasterDataManager();
    auto sourceManager = engine.getSourceDataManager();
    cmdViewReport_->setEnabled(true);

    // Both trees are refilled from this run: a tree left as it was would show the objects of a
    // database that may no longer be chosen.
    QTreeWidget& first = firstTreeIsOriginal ? *TreeView1_ : *TreeView2_;
    QTreeWidget& second = firstTreeIsOriginal ? *TreeView2_ : *TreeView1_;
    resetTree(first);
    populateTree(first, firstTreeIsOriginal);
    resetTree(second);
    populateTree(second, !firstTreeIsOriginal);
    enableControls();
    frame_.setPanelText(2, tr("Done"));
    masterManager->destroyValues();
    sourceManager->destroyValues();
}

} // namespace dbsift
