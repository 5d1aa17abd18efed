// SPDX-License-Identifier: MIT
// Loading the comparison window: the start-up order and the window state it (re)creates.
#include "shell/Colours.h"
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTreeWidget>

#include <algorithm>
#include <cstdint>

namespace dbsift {

void frmMain::Form_Load() {
    resetTree(*TreeView1_);
    resetTree(*TreeView2_);
    cmdViewReport_->setEnabled(false);
    initializeMainWindow();
    ReadIniFile();
    applyGridWidths();
    storeConnectionStrings(recentListText(true).toStdString(), recentListText(false).toStdString());
    loadRecentConnFromIniFile();
    fillRecentComparisons();
    // The recent lists have set both connections; with both known, list their objects. Databases
    // named on the command line replace them and are compared once the window is ready.
    const bool compareNamed = chooseCommandLineDatabases();
    const bool bothKnown = !masterConnectionString_.empty() && !sourceConnectionString_.empty();
    if (bothKnown && !compareNamed)
        do_TableCompare(true);

    QFile quickStart(QString::fromStdString(paths_.quickStartPath().string()));
    if (quickStart.open(QIODevice::ReadOnly))
        richTxtBoxProgDesc_->setHtml(QString::fromUtf8(quickStart.readAll()));
    tsDataDiff_->setCurrentIndex(0);
    showLowerFrame(frameRichTextBox_);
    SaveIniFile();
    StopTimer();
    applyDividerRatio();
    // The keyboard starts in the Original tree once it lists the tables, else on its button.
    if (TreeView1_->isEnabled())
        TreeView1_->setFocus();
    else
        cmdSelConn_->setFocus();
    if (bothKnown && compareNamed)
        mnuRun_Click();
}

void frmMain::initializeMainWindow() {
    // The grids' widths are the user's, read from the settings file or set by hand: a window
    // reinitialised by a save keeps them, so that the save does not put the defaults in their
    // place.
    const bool gridsLaidOut = MSFlexGrid1_->cols() >= 4;
    int16_t widths[4] = {};
    for (int i = 0; i < 4; ++i)
        widths[i] = static_cast<int16_t>(std::clamp(MSFlexGrid1_->colWidth(i), 0, int{INT16_MAX}));
    appVar_ = clsAppVar();
    setCanRunReport(false);
    appVar_.initializeValues(*this);
    if (gridsLaidOut) {
        appVar_.setGridCol0(widths[0]);
        appVar_.setGridCol1(widths[1]);
        appVar_.setGridCol2(widths[2]);
        appVar_.setGridCol3(widths[3]);
    }
    MSFlexGrid1_->setCols(std::max(MSFlexGrid1_->cols(), 4));
    MSFlexGrid2_->setCols(std::max(MSFlexGrid2_->cols(), 4));
    applyGridWidths();
    storeConnectionStrings(recentListText(true).toStdString(), recentListText(false).toStdString());
    for (QAction* action : {mnuCreateDataReport_, mnuCreateReportpopup_, mnuRunDataComparepopup_})
        action->setEnabled(false);
    showLowerFrame(frameRichTextBox_);
    // Light green and white on a light desktop; on a dark one, colours of the same kind that
    // its light text reads on.
    appVar_.setOriginalColor(defaultOriginalColour(palette()));
    appVar_.setModifiedColor(defaultModifiedColour(palette()));
    setDropDownBoxColors();
    // Entering data-compare mode here is left to Form_Load, once the stored settings are read:
    // listing both catalogues twice at start-up would double the wait for nothing.
}

// All four columns: a save before the first structure run writes the grids' widths, which must
// be the configured ones.
void frmMain::applyGridWidths() {
    for (FlexGrid* grid : {MSFlexGrid1_, MSFlexGrid2_}) {
        grid->setColWidth(0, appVar_.getGridCol0());
        grid->setColWidth(1, appVar_.getGridCol1());
        grid->setColWidth(2, appVar_.getGridCol2());
        grid->setColWidth(3, appVar_.getGridCol3());
    }
}

} // namespace dbsift
