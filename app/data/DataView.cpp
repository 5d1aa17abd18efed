// SPDX-License-Identifier: MIT
// The data view: its controls, the choice of a table in a tree, and the data comparison run
// whose results the difference list and the grids then show.
#include "data/EventHook.h"
#include "data/EveryTableView.h"
#include "data/PairedView.h"
#include "data/frmFieldListForDataCompare.h"
#include "shell/Colours.h"
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/FieldList.h>
#include <sifkit/Sifcore.h>
#include <sifkit/clsDBManager.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStringList>
#include <QTabWidget>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace dbsift {

namespace {

constexpr int kTwips = kTwipsPerPixel;

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setEnabled(false);
    return button;
}

} // namespace

void frmMain::buildDataGrids() {
    frameDataGrids_ = new QWidget(lowerFrames_);
    frameDataGrids_->setObjectName("frameDataGrids");
    auto* dataLayout = new QVBoxLayout(frameDataGrids_);
    dataLayout->setContentsMargins(0, 0, 0, 0);
    tsDataDiff_ = new QTabWidget(frameDataGrids_);
    tsDataDiff_->setObjectName("tsDataDiff");
    for (int i = 0; i < 2; ++i) {
        frameDataDetail_[i] = new QWidget(tsDataDiff_);
        frameDataDetail_[i]->setObjectName(QStringLiteral("frameDataDetail(%1)").arg(i));
    }
    tsDataDiff_->addTab(frameDataDetail_[0], tr("Summary Of Changes"));
    tsDataDiff_->addTab(frameDataDetail_[1], tr("Record Change Details"));
    pairedView_ = new PairedView(tsDataDiff_);
    tsDataDiff_->addTab(pairedView_, tr("Paired View"));
    everyTableView_ = new EveryTableView(tsDataDiff_);
    tsDataDiff_->addTab(everyTableView_, tr("Every Table"));

    // Summary panel: the grid of differing records, the paging and report buttons below it.
    auto* summary = new QVBoxLayout(frameDataDetail_[0]);
    summary->setContentsMargins(50 / kTwips, 4, 50 / kTwips, 4);
    msFlexGridDataDiff_ = new FlexGrid(frameDataDetail_[0]);
    msFlexGridDataDiff_->setObjectName("msFlexGridDataDiff");
    msFlexGridDataDiff_->setSelectionBehavior(QAbstractItemView::SelectRows);
    msFlexGridDataDiff_->setFitColumnsToContents(true);
    summary->addWidget(msFlexGridDataDiff_, 1);
    auto* paging = new QHBoxLayout;
    cmdGetPrevious_ = makeButton("cmdGetPrevious", tr("Get Previous"), frameDataDetail_[0]);
    cmdGetMore_ = makeButton("cmdGetMore", tr("Get More"), frameDataDetail_[0]);
    cmdCreateHTMLReport_ = makeButton("cmdCreateHTMLReport", tr("Create HTML Report"), frameDataDetail_[0]);
    cmdGetPrevious_->setFixedSize(1800 / kTwips, 365 / kTwips);
    cmdGetMore_->setFixedSize(1800 / kTwips, 365 / kTwips);
    cmdCreateHTMLReport_->setFixedSize(1800 / kTwips, 335 / kTwips);
    paging->addWidget(cmdGetPrevious_);
    paging->addWidget(cmdGetMore_);
    paging->addStretch(1);
    paging->addWidget(cmdCreateHTMLReport_);
    summary->addLayout(paging);

    // Detail panel: the navigation and copy buttons with the drop-down of differences above the
    // detail grid.
    auto* detail = new QVBoxLayout(frameDataDetail_[1]);
    detail->setContentsMargins(50 / kTwips, 4, 50 / kTwips, 4);
    frameButtonHolder_ = new QWidget(frameDataDetail_[1]);
    frameButtonHolder_->setObjectName("frameButtonHolder");
    auto* holder = new QHBoxLayout(frameButtonHolder_);
    holder->setContentsMargins(0, 0, 0, 0);
    cmdFirstDiff_ = makeButton("cmdFirstDiff", tr("First"), frameButtonHolder_);
    cmdPrevious_ = makeButton("cmdPrevious", tr("Previous"), frameButtonHolder_);
    cmdNext_ = makeButton("cmdNext", tr("Next"), frameButtonHolder_);
    cmdLast_ = makeButton("cmdLast", tr("Last"), frameButtonHolder_);
    cmdCopyRecord_ = makeButton("cmdCopyRecord", tr("Copy Record"), frameButtonHolder_);
    cmdCopyRecorUp_ = makeButton("cmdCopyRecorUp", tr("Copy Record"), frameButtonHolder_);
    cmdUndo_ = makeButton("cmdUndo", tr("Undo Copy"), frameButtonHolder_);
    for (QPushButton* button :
         {cmdFirstDiff_, cmdPrevious_, cmdNext_, cmdLast_, cmdCopyRecord_, cmdCopyRecorUp_, cmdUndo_})
        holder->addWidget(button);
    cmdCopyRecord_->setToolTip(tr("Copy top to bottom"));
    cmdCopyRecorUp_->setToolTip(tr("Copy bottom to top"));
    cboDataDiffSummary_ = new QComboBox(frameButtonHolder_);
    cboDataDiffSummary_->setObjectName("cboDataDiffSummary");
    // The entry is chosen from the list or with the buttons; its text is never typed.
    cboDataDiffSummary_->setEditable(true);
    cboDataDiffSummary_->lineEdit()->setReadOnly(true);
    cboDataDiffSummary_->setInsertPolicy(QComboBox::NoInsert);
    cboDataDiffSummary_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboDataDiffSummary_->setMinimumContentsLength(20);
    holder->addWidget(cboDataDiffSummary_, 1);
    detail->addWidget(frameButtonHolder_);
    MSFlexGridDataDiffDetail_ = new FlexGrid(frameDataDetail_[1]);
    MSFlexGridDataDiffDetail_->setObjectName("MSFlexGridDataDiffDetail");
    MSFlexGridDataDiffDetail_->setFitColumnsToContents(true);
    detail->addWidget(MSFlexGridDataDiffDetail_, 1);

    dataLayout->addWidget(tsDataDiff_);
}

void frmMain::connectDataView() {
    connect(cmdFirstDiff_, &QPushButton::clicked, this, &frmMain::cmdFirstDiff_Click);
    connect(cmdPrevious_, &QPushButton::clicked, this, &frmMain::cmdPrevious_Click);
    connect(cmdNext_, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(cmdLast_, &QPushButton::clicked, this, &frmMain::cmdLast_Click);
    connect(mnuFirstpopup_, &QAction::triggered, this, &frmMain::cmdFirstDiff_Click);
    connect(mnuPreviouspopup_, &QAction::triggered, this, &frmMain::cmdPrevious_Click);
    connect(mnuNextpopup_, &QAction::triggered, this, &frmMain::cmdNext_Click);
    connect(mnuLastpopup_, &QAction::triggered, this, &frmMain::cmdLast_Click);
    connect(cmdGetMore_, &QPushButton::clicked, this, &frmMain::cmdGetMore_Click);
    connect(cmdGetPrevious_, &QPushButton::clicked, this, &frmMain::cmdGetPrevious_Click);
    connect(cboDataDiffSummary_, &QComboBox::activated, this, &frmMain::cboDataDiffSummary_Click);
    connect(tsDataDiff_, &QTabWidget::currentChanged, this,
            [this](int index) { tsDataDiff_Click(index + 1); });
    for (QAction* action : {mnuFirstpopup_, mnuPreviouspopup_, mnuNextpopup_, mnuLastpopup_,
                            mnuCopyTopToBottompopup_, mnuCopyBottomToToppopup_})
        action->setEnabled(false);

    // Typed keys never change the entry: both the key and its character are dropped.
    auto dropKeys = [](QEvent* event) {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key != Qt::Key_Tab && key != Qt::Key_Backtab;
    };
    EventHook::install(*cboDataDiffSummary_, dropKeys);
    EventHook::install(*cboDataDiffSummary_->lineEdit(), dropKeys);

    connect(msFlexGridDataDiff_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { msFlexGridDataDiff_Click(index.row()); });
    connect(msFlexGridDataDiff_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    msFlexGridDataDiff_RowColChange(current.row());
            });
    connect(msFlexGridDataDiff_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { msFlexGridDataDiff_Scroll(); });

    // A changed value explains itself: its tooltip names both sides' values.
    FlexGrid* detail = MSFlexGridDataDiffDetail_;
    EventHook::install(*detail->viewport(), [this, detail](QEvent* event) {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = detail->indexAt(help->pos());
        const QString tip = index.isValid() ? detailToolTip(index.row(), index.column()) : QString();
        if (tip.isEmpty())
            return false;
        QToolTip::showText(help->globalPos(), tip, detail->viewport());
        return true;
    });
}

void frmMain::enableReportControls(bool enabled) {
    cmdCreateHTMLReport_->setEnabled(enabled);
    cmdViewReport_->setEnabled(enabled);
}

frmFieldListForDataCompare& frmMain::fieldListDialog() {
    if (!frmFieldListForDataCompare_)
        frmFieldListForDataCompare_ = new frmFieldListForDataCompare(*this);
    return *frmFieldListForDataCompare_;
}

void frmMain::chooseTableForDataCompare(QTreeWidget& tree) {
    QTreeWidgetItem* selected = tree.currentItem();
    // A field node names no table: its table is the node at the top.
    while (selected && selected->parent())
        selected = selected->parent();
    setTableName(selected ? selected->text(0).toStdString() : std::string());
    if (getTableName().empty())
        return;
    sifkit::Sifcore& engine = Sifcore1();
    frmFieldListForDataCompare& dialog = fieldListDialog();
    if (dialog.compareTableFromName(getTableName(), engine.getMasterDataManager(),
                                    engine.getSourceDataManager()))
        dialog.exec();
}

void frmMain::showPairedView() {
    const QColor original = toQColor(getOriginalColor());
    const QColor modified = toQColor(getModifiedColor());
    pairedView_->showResult(Sifcore1().lastDataResult(), original, modified,
                            changedTint(palette().color(QPalette::Base)));
}

void frmMain::showCollationNote() {
    const std::vector<std::string>& columns = Sifcore1().lastDataResult().exactDespiteCollation;
    QStringList names;
    for (const std::string& column : columns)
        names << QString::fromStdString(column);
    const QString note =
        names.isEmpty()
            ? QString()
            : tr("%1: compared exactly; the database's collation would call 'Paris' and 'PARIS' equal")
                  .arg(names.join(QStringLiteral(", ")));
    frame_.setPanelText(4, note);
}

void frmMain::showDataDiffResultsForTableName(const std::string& tableName, const std::string& chosenFields) {
    appVar_.setDoStructure(false);
    const std::string fieldList = withoutHeldIgnoredColumns(chosenFields);
    setFieldList(fieldList);
    const std::optional<std::vector<std::string>> names = sifkit::parseFieldList(fieldList);
    dataFieldCount_ = names ? static_cast<int32_t>(names->size()) : 0;
    cmdViewReport_->setEnabled(true);
    mnuCreateDataReport_->setEnabled(true);
    mnuCreateReportpopup_->setEnabled(true);
    showLowerFrame(frameDataGrids_);
    appVar_.setSelectedTableName(tableName);
    // Until this run's result is shown nothing of the earlier one can be written.
    pairedView_->clear();
    hideSyncScript();
    cmdCopyRecord_->setEnabled(false);
    mnuCopyTopToBottompopup_->setEnabled(false);
    CopyUpButtonsEnabled(false);

    const bool found = runDataCompare(tableName, fieldList);
    const sifkit::DataOutcome outcome = Sifcore1().lastDataResult().outcome;
    // Cancel during a wait for a locked file ends the run with the file's "database is locked".
    if (outcome == sifkit::DataOutcome::Cancelled ||
        (outcome == sifkit::DataOutcome::Failed && wasCancelled())) {
        // Nothing of the stopped run is shown, and nothing of an earlier one can be acted on.
        clearDataResult();
        cmdViewReport_->setEnabled(false);
        cmdCreateHTMLReport_->setEnabled(false);
        resetProgressBar();
        frame_.setPanelText(2, tr("Compare cancelled."));
        return;
    }
    showCollationNote();
    if (Sifcore1().lastDataResult().outcome == sifkit::DataOutcome::Failed) {
        // A failed run is never shown as a run without differences.
        showMessage(tr("The records of %1 could not be compared.").arg(QString::fromStdString(tableName)) +
                    "\n\n" + engineFailures());
        cmdViewReport_->setEnabled(false);
        resetProgressBar();
        frame_.setPanelText(2, tr("Compare failed."));
        cmdCreateHTMLReport_->setEnabled(false);
        return;
    }
    if (!found && Sifcore1().lastDataResult().sharedCopies() > 0) {
        // Every record has an equal one on the other side, so none is listed; the copies one
        // side lacks still differ, and the paired view lists them.
        showLowerFrame(frameDataGrids_);
        tsDataDiff_->setCurrentWidget(pairedView_);
        showPairedView();
        showMessage(tr("Every record of %1 has an equal record in the other database, but not as many "
                       "copies of every one: the Paired View lists the records whose copies differ.")
                        .arg(QString::fromStdString(tableName)));
        resetProgressBar();
        frame_.setPanelText(2, tr("Done"));
        frame_.setPanelText(3, heldSettingsNote(true));
        return;
    }
    if (!found) {
        showMessage(tr("There are no differences to display"));
        cmdViewReport_->setEnabled(false);
        resetProgressBar();
        frame_.setPanelText(2, tr("No changes found."));
        cmdCreateHTMLReport_->setEnabled(false);
        return;
    }
    showLowerFrame(frameDataGrids_);
    // The compared fields in column order, named by a side that reported records.
    sifkit::Sifcore& engine = Sifcore1();
    const bool namingSide = engine.getResultCount(true) > 0;
    const int16_t fields = engine.getResultFieldCount(namingSide, tableName);
    dataFieldNames_.clear();
    for (int32_t i = 1; i <= fields; ++i)
        dataFieldNames_.push_back(engine.getResultFieldName(i, namingSide));

    cboDataDiffSummary_->clear();
    appVar_.setRowTotal(1);
    prepareDiffGrid(*msFlexGridDataDiff_, tableName, true, false);
    prepareDiffGrid(*MSFlexGridDataDiffDetail_, tableName, true, true);
    startPaging();
    setCboDataDiffBox(tableName);
    fillSummaryGrid(*msFlexGridDataDiff_, tableName, 1);
    updatePagingButtons();
    // The grids are painted before the paired view is filled, so that a long result does not hold
    // the window still; a click waits until the result is fully shown.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    showPairedView();
    // A new result starts at its top: the earlier run's scroll position would show empty rows.
    msFlexGridDataDiff_->scrollToTop();
    MSFlexGridDataDiffDetail_->scrollToTop();
    // Writes act on the records of this result only.
    cmdCopyRecord_->setEnabled(true);
    mnuCopyTopToBottompopup_->setEnabled(true);
    resetProgressBar();
    // The keyboard goes on in the result: the arrow keys walk its records.
    (tsDataDiff_->currentIndex() == 0 ? static_cast<QWidget*>(msFlexGridDataDiff_)
                                      : static_cast<QWidget*>(MSFlexGridDataDiffDetail_))
        ->setFocus();
}

bool frmMain::runDataCompare(const std::string& tableName, const std::string& fieldList) {
    sifkit::Sifcore& engine = Sifcore1();
    engine.resetDataManagers();
    engine.setMasterFieldList(fieldList);
    const std::shared_ptr<sifkit::clsDBManager> master = engine.getMasterDataManager();
    const std::shared_ptr<sifkit::clsDBManager> source = engine.getSourceDataManager();
    master->setTableName(tableName);
    source->setTableName(tableName);
    master->setFieldList(fieldList);
    source->setFieldList(fieldList);
    applyHeldSettings(tableName, fieldList, *master, *source);
    QCoreApplication::processEvents();
    engine.setBufferedAmount(appVar_.getNumberofRecords());
    bool found = false;
    {
        BusyScope busy(*this);
        found = engine.beginTableCompareFromFieldListFromDBManager(master, source);
    }
    emit dataRunFinished();
    QCoreApplication::processEvents();
    engine.setMasterResultsFromDataManager(master);
    engine.setSourceResultsFromDataManager(source);
    // The engine keeps each side's count of reported records per table name; a new run of the
    // same table must count again.
    engine.setCurrentTableName("");
    engine.setTotalRecordsForTable(-1);
    engine.setTotalRecordsForSourceTable(0);
    frame_.setPanelText(2, wasCancelled() ? tr("Compare cancelled.") : tr("Done"));
    frame_.setPanelText(3, heldSettingsNote(true));
    return found;
}

void frmMain::swapDataResults() {
    const std::string tableName = appVar_.getSelectedTableName();
    if (lowerFrames_->currentWidget() != frameDataGrids_ || tableName.empty() || getFieldList().empty())
        return;
    // The side managers still hold the connections of the earlier run; they are opened again on
    // the swapped connection strings before the records are compared.
    compareTableOnCurrentDatabases(tableName, getFieldList());
}

void frmMain::compareTableOnCurrentDatabases(const std::string& tableName, const std::string& fieldList) {
    {
        BusyScope busy(*this);
        Sifcore1().beginTablebaseCompare(getMasterConnectionString(), getSourceConnectionString(), tableName,
                                         "TABLE");
    }
    appVar_.setCurrentMasterRecordIndex(1);
    appVar_.setCurrentSourceRecordIndex(1);
    setProgressBar();
    showDataDiffResultsForTableName(tableName, fieldList);
}

void frmMain::clearDataResult() {
    hideSyncScript();
    frame_.setPanelText(3, QString());
    cboDataDiffSummary_->clear();
    pairedView_->clear();
    // Emptied to no rows and columns: cleared cells alone would leave a grid of blank lines.
    for (FlexGrid* grid : {msFlexGridDataDiff_, MSFlexGridDataDiffDetail_}) {
        grid->setRows(0);
        grid->setCols(0);
    }
    appVar_.setSelectedRecordNumber(0);
    setSelectedReleatedRecordNumber(0);
    enableBackward(false);
    enableForward(false);
    for (QPushButton* button : {cmdGetMore_, cmdGetPrevious_, cmdCopyRecord_})
        button->setEnabled(false);
    mnuCopyTopToBottompopup_->setEnabled(false);
    CopyUpButtonsEnabled(false);
    for (int panel : {1, 2})
        frame_.setPanelText(panel, QString());
}

void frmMain::dropComparison() {
    for (QTreeWidget* tree : {TreeView1_, TreeView2_})
        resetTree(*tree);
    if (frmFieldListForDataCompare_)
        frmFieldListForDataCompare_->forgetTable();
    chosenTableKeys_.clear();
    clearDataResult();
    everyTableView_->clear();
    for (FlexGrid* grid : {MSFlexGrid1_, MSFlexGrid2_}) {
        grid->clear();
        grid->scrollToTop();
    }
    dataFieldNames_.clear();
    dataFieldCount_ = 0;
    setFieldList("");
    setTableName("");
    appVar_.setSelectedTableName("");
    setCanRunReport(false);
    enableReportControls(false);
    mnuCreateDataReport_->setEnabled(false);
    mnuCreateReportpopup_->setEnabled(false);
    frame_.setPanelText(4, QString());
    showLowerFrame(frameRichTextBox_);
}

void frmMain::CopyUpButtonsEnabled(bool enabled) {
    cmdCopyRecorUp_->setEnabled(enabled);
    mnuCopyBottomToToppopup_->setEnabled(enabled);
}

} // namespace dbsift
