// SPDX-License-Identifier: MIT
#include "shell/frmMain.h"

#include "Prompter.h"
#include "data/EventHook.h"
#include "data/EveryTableView.h"
#include "shell/FlexGrid.h"
#include "shell/RecentConnections.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Credentials.h>
#include <sifkit/DataAccess.h>
#include <sifkit/Sifcore.h>
#include <sifkit/Version.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace dbsift {

namespace {

QAction* namedAction(QObject* owner, const char* name, const QString& text) {
    auto* action = new QAction(text, owner);
    action->setObjectName(name);
    return action;
}

QTreeWidget* makeTree(const char* name, QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setHeaderHidden(true);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    tree->setUniformRowHeights(true);
    tree->setEnabled(false);
    return tree;
}

FlexGrid* makeGrid(const char* name, QWidget* parent) {
    auto* grid = new FlexGrid(parent);
    grid->setObjectName(name);
    grid->setFitColumnsToContents(true);
    return grid;
}

} // namespace

frmMain::frmMain(frmMainMDI& frame, const AppPaths& paths, Prompter& prompter)
    : QWidget(&frame), frame_(frame), paths_(paths), prompter_(prompter), settings_(paths.iniFilePath) {
    setObjectName("frmMain");

    // Timer1 counts activity while the window loads; it is on from the window's creation.
    Timer1_ = new QTimer(this);
    Timer1_->setObjectName("Timer1");
    Timer1_->setInterval(1);
    connect(Timer1_, &QTimer::timeout, this, [this] {
        ++activityCounter_;
        frame_.setPanelText(2, QString::number(activityCounter_));
    });
    Timer1_->start();

    sifcore_ = std::make_unique<sifkit::Sifcore>(engineHooks());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolbar();
    layout->addWidget(tbMain_);

    lblDividerH_ = new QSplitter(Qt::Vertical, this);
    lblDividerH_->setObjectName("lblDividerH");
    lblDividerH_->setChildrenCollapsible(false);
    lblDividerH_->setHandleWidth(6);
    lblDividerH_->setToolTip(tr("Click and Drag to move"));
    layout->addWidget(lblDividerH_, 1);

    upperPane_ = new QWidget(lblDividerH_);
    auto* upper = new QVBoxLayout(upperPane_);
    upper->setContentsMargins(4, 4, 4, 0);
    upper->setSpacing(4);
    auto* connectionBar = new QWidget(upperPane_);
    buildConnectionBar(connectionBar);
    upper->addWidget(connectionBar);
    treeSplitter_ = new QSplitter(Qt::Horizontal, upperPane_);
    treeSplitter_->setChildrenCollapsible(false);
    TreeView1_ = makeTree("TreeView1", treeSplitter_);
    TreeView2_ = makeTree("TreeView2", treeSplitter_);
    upper->addWidget(treeSplitter_, 1);
    lblDividerH_->addWidget(upperPane_);

    buildLowerFrames();
    lblDividerH_->addWidget(lowerFrames_);
    // The divider never rises above the connection bar: the upper pane keeps room for it.
    upperPane_->setMinimumHeight(connectionBar->sizeHint().height() + 8);

    buildMenus();
    buildPopupMenus();
    buildDataMenu();
    connectSignals();
    connectStructureView();
    connectDataView();
    connect(&frame_.cancelRunButton(), &QPushButton::clicked, this, &frmMain::requestCancel);
    connectSyncView();
    connectSyncPlan();
    setFocusOrder();
}

void frmMain::setFocusOrder() {
    // The reading pane passes Tab on instead of walking its links.
    richTxtBoxProgDesc_->setTabChangesFocus(true);
    const QList<QWidget*> order = {cmdSelConn_,
                                   cboMasterRecentConn_,
                                   cmdSourceSelConn_,
                                   cboSourceRecentConn_,
                                   TreeView1_,
                                   TreeView2_,
                                   richTxtBoxProgDesc_,
                                   MSFlexGrid1_,
                                   MSFlexGrid2_,
                                   tsDataDiff_,
                                   msFlexGridDataDiff_,
                                   cmdGetPrevious_,
                                   cmdGetMore_,
                                   cmdCreateHTMLReport_,
                                   cmdFirstDiff_,
                                   cmdPrevious_,
                                   cmdNext_,
                                   cmdLast_,
                                   cmdCopyRecord_,
                                   cmdCopyRecorUp_,
                                   cmdUndo_,
                                   cboDataDiffSummary_,
                                   MSFlexGridDataDiffDetail_};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

frmMain::~frmMain() = default;

void frmMain::buildToolbar() {
    tbMain_ = new QToolBar(this);
    tbMain_->setObjectName("tbMain");
    tbMain_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbMain_->setMovable(false);
    QStyle* style = this->style();
    tbSwap_ = namedAction(this, "tbSwap", tr("Swap"));
    tbSwap_->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    tbSwap_->setToolTip(tr("Swap the Original and Modified Documents (F9)"));
    cmdViewReport_ = namedAction(this, "cmdViewReport", tr("Report"));
    cmdViewReport_->setIcon(style->standardIcon(QStyle::SP_FileDialogDetailedView));
    cmdViewReport_->setToolTip(tr("Show differences in a report (F2)"));
    tbRefresh_ = namedAction(this, "tbRefresh", tr("Refresh"));
    tbRefresh_->setIcon(style->standardIcon(QStyle::SP_MediaPlay));
    tbRefresh_->setToolTip(tr("Refresh Display and show differences (F5)"));
    tbOptions_ = namedAction(this, "tbOptions", tr("Options"));
    tbOptions_->setIcon(style->standardIcon(QStyle::SP_FileDialogContentsView));
    tbOptions_->setToolTip(tr("Compare Options"));
    for (QAction* action : {tbSwap_, cmdViewReport_, tbRefresh_, tbOptions_})
        tbMain_->addAction(action);
}

void frmMain::buildConnectionBar(QWidget* parent) {
    auto* bar = new QHBoxLayout(parent);
    bar->setContentsMargins(0, 0, 0, 0);
    const QPixmap picture(QString::fromStdString(paths_.databasePicturePath().string()));
    auto side = [&](const char* buttonName, const QString& caption, const char* pictureName,
                    const char* listName, QPushButton*& button, QLabel*& pictureLabel, QComboBox*& list) {
        button = new QPushButton(caption, parent);
        button->setObjectName(buttonName);
        button->setMinimumWidth(90);
        pictureLabel = new QLabel(parent);
        pictureLabel->setObjectName(pictureName);
        pictureLabel->setPixmap(picture);
        list = new QComboBox(parent);
        list->setObjectName(listName);
        // The list shows any connection string as its text, listed or not, but is not typed in.
        list->setEditable(true);
        list->lineEdit()->setReadOnly(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(10);
        bar->addWidget(button);
        bar->addWidget(pictureLabel);
        bar->addWidget(list, 1);
    };
    side("cmdSelConn", tr("Original"), "picSelConn", "cboMasterRecentConn", cmdSelConn_, picSelConn_,
         cboMasterRecentConn_);
    bar->addSpacing(lMiddleSpacer_ * 2);
    side("cmdSourceSelConn", tr("Modified"), "picSourceSelConn", "cboSourceRecentConn", cmdSourceSelConn_,
         picSourceSelConn_, cboSourceRecentConn_);
}

void frmMain::buildLowerFrames() {
    lowerFrames_ = new QStackedWidget(lblDividerH_);

    frameRichTextBox_ = new QWidget(lowerFrames_);
    frameRichTextBox_->setObjectName("frameRichTextBox");
    auto* textLayout = new QVBoxLayout(frameRichTextBox_);
    textLayout->setContentsMargins(0, 0, 0, 0);
    richTxtBoxProgDesc_ = new QTextBrowser(frameRichTextBox_);
    richTxtBoxProgDesc_->setObjectName("richTxtBoxProgDesc");
    richTxtBoxProgDesc_->setOpenLinks(false);
    textLayout->addWidget(richTxtBoxProgDesc_);
    lowerFrames_->addWidget(frameRichTextBox_);

    frameStructureGrids_ = new QWidget(lowerFrames_);
    frameStructureGrids_->setObjectName("frameStructureGrids");
    auto* gridsLayout = new QHBoxLayout(frameStructureGrids_);
    gridsLayout->setContentsMargins(0, 0, 0, 0);
    gridsLayout->setSpacing(lMiddleSpacer_ * 2);
    MSFlexGrid1_ = makeGrid("MSFlexGrid1", frameStructureGrids_);
    MSFlexGrid2_ = makeGrid("MSFlexGrid2", frameStructureGrids_);
    // What changed and where: the type column gives way first when a grid is narrow.
    for (FlexGrid* grid : {MSFlexGrid1_, MSFlexGrid2_}) {
        grid->setColumnKeptWhole(1);
        grid->setColumnKeptWhole(3);
    }
    gridsLayout->addWidget(MSFlexGrid1_);
    gridsLayout->addWidget(MSFlexGrid2_);
    lowerFrames_->addWidget(frameStructureGrids_);

    buildDataGrids();
    lowerFrames_->addWidget(frameDataGrids_);
}

sifkit::HostHooks frmMain::engineHooks() {
    sifkit::HostHooks hooks;
    hooks.updateCount = [this](int32_t& count, int32_t& maxCount, std::string& readFrom) {
        UpdateCount(count, maxCount, readFrom);
    };
    hooks.messageBox = [this](const std::string& text) {
        ++engineMessagesShown_;
        showMessage(QString::fromStdString(text));
    };
    hooks.doEvents = [] { QCoreApplication::processEvents(); };
    hooks.cancelRequested = [this] { return cancelRequested_.load(); };
    return hooks;
}

void frmMain::buildMenus() {
    // Actions belong to the window (the menu bar moves to the frame), so they are found from it.
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName("mnuMain");
    auto add = [this](QMenu* menu, QAction*& action, const char* name, const QString& text) {
        action = namedAction(this, name, text);
        menu->addAction(action);
    };
    QMenu* file = menuBar_->addMenu(tr("&File"));
    file->setObjectName("mnuFile");
    QMenu* select = file->addMenu(tr("&Select Database"));
    select->setObjectName("mnuSelectDatabase");
    add(select, mnuOriginalDatabase_, "mnuOriginalDatabase", tr("&Original Database"));
    add(select, mnuModifiedDatabase_, "mnuModifiedDatabase", tr("&Modified Database"));
    add(file, mnuRun_, "mnuRun", tr("&Run Compare"));
    add(file, mnuCreateDataReport_, "mnuCreateDataReport", tr("&Create Data Report"));
    file->addSeparator();
    add(file, mnuExit_, "mnuExit", tr("E&xit"));
    buildComparisonMenu(*file, mnuRun_);
    QMenu* options = menuBar_->addMenu(tr("&Options"));
    options->setObjectName("mnuOptions");
    add(options, mnuSettings_, "mnuSettings", tr("&Settings"));
    QMenu* help = menuBar_->addMenu(tr("&Help"));
    help->setObjectName("mnuHelp");
    add(help, mnuHelpFile_, "mnuHelpFile", tr("Help &File"));
    add(help, mnuAbout_, "mnuAbout", tr("&About"));

    // The desktop's own keys for leaving the program and for its help.
    mnuExit_->setShortcuts(QKeySequence::Quit);
    if (mnuExit_->shortcuts().isEmpty())
        mnuExit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuHelpFile_->setShortcuts(QKeySequence::HelpContents);
    if (mnuHelpFile_->shortcuts().isEmpty())
        mnuHelpFile_->setShortcut(QKeySequence(Qt::Key_F1));
}

void frmMain::buildDataMenu() {
    // The data view's commands, with their keys: the popup menus' entries are the same actions.
    QMenu* dataMenu = new QMenu(tr("&Data"), menuBar_);
    dataMenu->setObjectName("mnuData");
    menuBar_->insertMenu(menuBar_->actions().value(1), dataMenu);
    mnuDataCompare_ = namedAction(this, "mnuDataCompare", tr("&Compare Data of Selected Table"));
    dataMenu->addAction(mnuDataCompare_);
    mnuCompareEveryTable_ = namedAction(this, "mnuCompareEveryTable", tr("Compare Data of &Every Table"));
    mnuCompareEveryTable_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    dataMenu->addAction(mnuCompareEveryTable_);
    mnuComparisonSettings_ = namedAction(this, "mnuComparisonSettings", tr("Comparison &Settings..."));
    dataMenu->addAction(mnuComparisonSettings_);
    connect(mnuComparisonSettings_, &QAction::triggered, this, &frmMain::showComparisonSettings);
    dataMenu->addSeparator();
    const std::pair<QAction*, QKeySequence> keys[] = {
        {mnuFirstpopup_, QKeySequence(Qt::CTRL | Qt::Key_Home)},
        {mnuPreviouspopup_, QKeySequence(Qt::CTRL | Qt::Key_Up)},
        {mnuNextpopup_, QKeySequence(Qt::CTRL | Qt::Key_Down)},
        {mnuLastpopup_, QKeySequence(Qt::CTRL | Qt::Key_End)},
        {mnuCopyTopToBottompopup_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
        {mnuCopyBottomToToppopup_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
    };
    for (const auto& [action, key] : keys) {
        action->setShortcut(key);
        dataMenu->addAction(action);
        if (action == mnuLastpopup_)
            dataMenu->addSeparator();
    }
    mnuUndo_ = namedAction(this, "mnuUndo", tr("&Undo Copy..."));
    mnuUndo_->setShortcuts(QKeySequence::Undo);
    dataMenu->addAction(mnuUndo_);
    // The keys work wherever the focus is in the window, menu open or not.
    addActions(dataMenu->actions());
    for (QAction* action : dataMenu->actions())
        action->setShortcutContext(Qt::WindowShortcut);
}

void frmMain::buildPopupMenus() {
    mnupopupTree_ = new QMenu(this);
    mnupopupTree_->setObjectName("mnupopupTree");
    QMenu* select = mnupopupTree_->addMenu(tr("&Select Database"));
    mnuOriginalpopup_ = namedAction(this, "mnuOriginalpopup", tr("&Original"));
    mnuModifiedpopup_ = namedAction(this, "mnuModifiedpopup", tr("&modified"));
    select->addAction(mnuOriginalpopup_);
    select->addAction(mnuModifiedpopup_);
    mnuRunStructureComparepopup_ =
        namedAction(this, "mnuRunStructureComparepopup", tr("&Run Structure Compare"));
    mnuRunDataComparepopup_ = namedAction(this, "mnuRunDataComparepopup", tr("&Run Data Compare"));
    mnuCreateReportpopup_ = namedAction(this, "mnuCreateReportpopup", tr("&Create Report"));
    mnupopupTree_->addAction(mnuRunStructureComparepopup_);
    mnupopupTree_->addAction(mnuRunDataComparepopup_);
    mnupopupTree_->addAction(mnuCreateReportpopup_);
    QMenu* options = mnupopupTree_->addMenu(tr("&Options"));
    mnuSettingspopup_ = namedAction(this, "mnuSettingspopup", tr("&Settings"));
    options->addAction(mnuSettingspopup_);

    mnupopupDetail_ = new QMenu(this);
    mnupopupDetail_->setObjectName("mnupopupDetail");
    mnuFirstpopup_ = namedAction(this, "mnuFirstpopup", tr("&First"));
    mnuPreviouspopup_ = namedAction(this, "mnuPreviouspopup", tr("&Previous"));
    mnuNextpopup_ = namedAction(this, "mnuNextpopup", tr("&Next"));
    mnuLastpopup_ = namedAction(this, "mnuLastpopup", tr("&Last"));
    for (QAction* action : {mnuFirstpopup_, mnuPreviouspopup_, mnuNextpopup_, mnuLastpopup_})
        mnupopupDetail_->addAction(action);
    QMenu* copy = mnupopupDetail_->addMenu(tr("&Copy"));
    mnuCopyTopToBottompopup_ = namedAction(this, "mnuCopyModifiedpopup", tr("Copy top to bottom"));
    mnuCopyBottomToToppopup_ = namedAction(this, "mnuCopyOriginalpopup", tr("Copy bottom to top"));
    copy->addAction(mnuCopyTopToBottompopup_);
    copy->addAction(mnuCopyBottomToToppopup_);
}

void frmMain::connectSignals() {
    connect(cmdSelConn_, &QPushButton::clicked, this, &frmMain::cmdSelConn_Click);
    connect(cmdSourceSelConn_, &QPushButton::clicked, this, &frmMain::cmdSourceSelConn_Click);
    for (QAction* action : {mnuOriginalDatabase_, mnuOriginalpopup_})
        connect(action, &QAction::triggered, this, &frmMain::cmdSelConn_Click);
    for (QAction* action : {mnuModifiedDatabase_, mnuModifiedpopup_})
        connect(action, &QAction::triggered, this, &frmMain::cmdSourceSelConn_Click);
    connect(cboMasterRecentConn_, &QComboBox::activated, this, &frmMain::cboMasterRecentConn_Click);
    connect(cboSourceRecentConn_, &QComboBox::activated, this, &frmMain::cboSourceRecentConn_Click);
    for (QAction* action : {mnuSettings_, mnuSettingspopup_, tbOptions_})
        connect(action, &QAction::triggered, this, &frmMain::showOptions);
    connect(mnuHelpFile_, &QAction::triggered, this, &frmMain::openHelp);
    connect(mnuUndo_, &QAction::triggered, this, &frmMain::cmdUndo_Click);
    // The menu entry is there when the button is.
    EventHook::install(*cmdUndo_, [this](QEvent* event) {
        if (event->type() == QEvent::EnabledChange)
            mnuUndo_->setEnabled(cmdUndo_->isEnabled());
        return false;
    });
    connect(mnuAbout_, &QAction::triggered, this, &frmMain::showAbout);
    connect(mnuExit_, &QAction::triggered, this, [this] {
        SaveIniFile();
        frame_.close();
    });
    connect(cmdViewReport_, &QAction::triggered, this, &frmMain::requestReport);
    for (QAction* action : {mnuCreateDataReport_, mnuCreateReportpopup_})
        connect(action, &QAction::triggered, this, &frmMain::createHTMLReport);

    for (QTreeWidget* tree : {TreeView1_, TreeView2_}) {
        connect(tree, &QTreeWidget::itemClicked, this, [this, tree] { onTreeClicked(*tree); });
        // Return on a table (or one of its fields) chooses it as a click does.
        EventHook::install(*tree, [this, tree](QEvent* event) {
            if (event->type() != QEvent::KeyPress)
                return false;
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || !tree->currentItem() ||
                (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
                return false;
            onTreeClicked(*tree);
            return true;
        });
        connect(tree, &QTreeWidget::currentItemChanged, this, [this, tree] { lastTree_ = tree; });
        connect(tree, &QWidget::customContextMenuRequested, this,
                [this, tree](const QPoint& at) { mnupopupTree_->popup(tree->viewport()->mapToGlobal(at)); });
    }
    connect(mnuRunDataComparepopup_, &QAction::triggered, this, [this] { onTreeClicked(*TreeView1_); });
    connect(mnuCompareEveryTable_, &QAction::triggered, this, &frmMain::compareEveryTable);
    connect(everyTableView_, &EveryTableView::tableChosen, this, &frmMain::compareChosenTable);
    connect(everyTableView_, &EveryTableView::reportRequested, this, &frmMain::createSummaryReport);
    connect(mnuDataCompare_, &QAction::triggered, this, [this] {
        QTreeWidget& tree = selectedTree();
        if (!tree.isEnabled() || !tree.currentItem()) {
            showMessage(tr("Choose a table in either tree first."));
            return;
        }
        onTreeClicked(tree);
    });
    connect(MSFlexGridDataDiffDetail_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        mnupopupDetail_->popup(MSFlexGridDataDiffDetail_->viewport()->mapToGlobal(at));
    });
    MSFlexGridDataDiffDetail_->setContextMenuPolicy(Qt::CustomContextMenu);

    // The divider keeps its share of the height; dragging it changes the share for this run.
    connect(lblDividerH_, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = lblDividerH_->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total > 0)
            dRatioTopEditor_ = static_cast<double>(sizes.value(0)) / total;
    });

    // Function keys reach the window whichever control has the focus (F1 is the help entry's).
    auto* reportKey = new QShortcut(QKeySequence(Qt::Key_F2), this);
    reportKey->setContext(Qt::WindowShortcut);
    connect(reportKey, &QShortcut::activated, this, &frmMain::viewReport);
    // Ctrl+Tab and Ctrl+Shift+Tab turn the data view's tabs from wherever the focus is.
    for (const auto& [key, step] : {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                                    std::pair{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                                    std::pair{QKeySequence(Qt::CTRL | Qt::Key_Backtab), -1}}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] {
            if (lowerFrames_->currentWidget() != frameDataGrids_)
                return;
            const int count = tsDataDiff_->count();
            tsDataDiff_->setCurrentIndex((tsDataDiff_->currentIndex() + step + count) % count);
        });
    }
    for (const auto& [key, action] : {std::pair{Qt::Key_F5, mnuRun_}, std::pair{Qt::Key_F9, tbSwap_}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
    }
}

void frmMain::setdRatioTopEditor(double ratio) {
    dRatioTopEditor_ = ratio;
    applyDividerRatio();
}

void frmMain::applyDividerRatio() {
    const int total = lblDividerH_->height() - lblDividerH_->handleWidth();
    if (total <= 0)
        return;
    const int top = std::max(static_cast<int>(total * dRatioTopEditor_), upperPane_->minimumHeight());
    lblDividerH_->setSizes({top, std::max(total - top, 1)});
}

void frmMain::enableControls() {
    TreeView1_->setEnabled(true);
    TreeView2_->setEnabled(true);
}

void frmMain::StartTimer() {
    if (!Timer1_->isActive())
        Timer1_->start(1);
}

void frmMain::StopTimer() {
    if (Timer1_->isActive())
        Timer1_->stop();
}

bool frmMain::timerRunning() const {
    return Timer1_->isActive();
}

void frmMain::setProgressBar() {
    // A new run starts empty, not where the last one ended.
    frame_.ProgressBar1().reset();
    frame_.SetProgressBarToStatusBar(frame_.ProgressBar1(), frame_.sbMain(), 4);
    frame_.ProgressBar1().show();
}

void frmMain::resetProgressBar() {
    frame_.ProgressBar1().hide();
}

void frmMain::UpdateCount(int32_t count, int32_t maxCount, const std::string& readFrom) {
    // Repainting on every event would cost more than the work; a few times a second keeps the
    // window alive.
    static QElapsedTimer sinceEvents;
    if (!sinceEvents.isValid() || sinceEvents.elapsed() >= 50) {
        QCoreApplication::processEvents();
        sinceEvents.restart();
    }
    // The bar would repaint itself at once on every visible step; it is painted with the window's
    // next events instead.
    QProgressBar& bar = frame_.ProgressBar1();
    bar.setUpdatesEnabled(false);
    if (maxCount > 0)
        bar.setMaximum(maxCount);
    if (count > 0)
        bar.setValue(std::min(count, bar.maximum()));
    bar.setUpdatesEnabled(true);
    if (!readFrom.empty())
        frame_.setPanelText(2, QString::fromStdString(readFrom));
}

void frmMain::showLowerFrame(QWidget* frame) {
    lowerFrames_->setCurrentWidget(frame);
}

void frmMain::showMessage(const QString& text) {
    prompter_.message(this, QApplication::applicationDisplayName(), text);
}

bool frmMain::reportEngineFailure() {
    const QString problems = engineFailures();
    if (problems.isEmpty())
        return false;
    showMessage(tr("The comparison could not read the databases.\n\n%1").arg(problems));
    return true;
}

QString frmMain::engineFailures() const {
    // The engine's failures as its messages word them, once each, by side; a connection string
    // in them never shows its password.
    QStringList problems;
    const std::vector<sifkit::Failure> failures = sifcore_->lastFailures();
    for (const sifkit::Side side : {sifkit::Side::Original, sifkit::Side::Modified}) {
        QStringList lines;
        for (const sifkit::Failure& failure : failures) {
            if (failure.side != side)
                continue;
            QString line = QString::fromStdString(sifkit::maskCredentials(failure.text)).trimmed();
            while (line.endsWith("||"))
                line = line.chopped(2).trimmed();
            if (!lines.contains(line))
                lines << line;
        }
        if (!lines.isEmpty())
            problems << (side == sifkit::Side::Original ? tr("Original database:\n%1")
                                                        : tr("Modified database:\n%1"))
                            .arg(lines.join('\n'));
    }
    return problems.join("\n\n");
}

void frmMain::openHelp() {
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(paths_.helpFilePath.string()));
    if (!prompter_.openWithDefaultHandler(url))
        showMessage(tr("The help page could not be opened: %1").arg(url.toLocalFile()));
}

void frmMain::showAbout() {
    showMessage(tr("%1 %2\nCompares two relational databases and helps bring them into line.\n"
                   "Engine: Sifkit %3")
                    .arg(QApplication::applicationDisplayName(), QApplication::applicationVersion(),
                         QString::fromStdString(sifkit::version())));
}

void frmMain::viewReport() {
    if (!frameDataGrids_->isVisible()) {
        showMessage(tr("Please select a table and do a data compare."));
        return;
    }
    createHTMLReport();
}

void frmMain::requestCancel() {
    if (busyDepth_ == 0)
        return;
    cancelRequested_ = true;
    frame_.setPanelText(2, tr("Cancelling..."));
}

bool frmMain::wasCancelled() const {
    return cancelRequested_.load();
}

void frmMain::showLockWait(int32_t waitedMs, int32_t timeoutMs) {
    frame_.setPanelText(2,
                        tr("A database file is locked by another program: waited %1 of %2 s. Cancel stops.")
                            .arg(waitedMs / 1000)
                            .arg((timeoutMs + 999) / 1000));
    QCoreApplication::processEvents();
}

BusyScope::BusyScope(frmMain& form) : form_(form) {
    if (form_.busyDepth_++ == 0) {
        form_.cancelRequested_ = false;
        form_.frame_.cancelRunButton().show();
        // A locked database file is waited for with the window alive: the status says so, and
        // Cancel ends the wait.
        sifkit::setLockWait(
            [&form = form_, mainThread = QThread::currentThread()](int32_t waitedMs, int32_t timeoutMs) {
                if (QThread::currentThread() == mainThread)
                    form.showLockWait(waitedMs, timeoutMs);
                return !form.cancelRequested_ && waitedMs < timeoutMs;
            });
        QApplication::setOverrideCursor(Qt::WaitCursor);
        form_.setEnabled(false);
        if (form_.menuBar_)
            form_.menuBar_->setEnabled(false);
    }
}

BusyScope::~BusyScope() {
    if (--form_.busyDepth_ == 0) {
        sifkit::setLockWait(nullptr);
        form_.frame_.cancelRunButton().hide();
        form_.setEnabled(true);
        if (form_.menuBar_)
            form_.menuBar_->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
}

} // namespace dbsift
