// Entering data-compare mode: both databases' objects listed in the trees, and the hint that says
// how to start a data comparison.
#include "frmDispMessage.h"
#include "frmMain.h"
#include "frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QAction>
#include <QTreeWidget>

namespace dbsift {

void frmMain::do_TableCompare(bool firstTreeIsOriginal) {
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
    frame_.setPanelText(2, "Done");

    if (TreeView1_->topLevelItemCount() > 0 && TreeView2_->topLevelItemCount() > 0 &&
        getDisplayDataCompareMessageBox()) {
        frmDispMessage hint(this);
        hint.setMessageToDisplay(kDataCompareHint);
        hint.setFormToUse(*this);
        hint.loadForm();
        hint.exec();
    }
    masterManager->destroyValues();
    sourceManager->destroyValues();
}

} // namespace dbsift
