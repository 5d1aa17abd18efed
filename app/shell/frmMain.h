// SPDX-License-Identifier: MIT
#pragma once

#include "Comparison.h"
#include "shell/AppPaths.h"
#include "shell/CommandLine.h"
#include "shell/ProfileFile.h"
#include "shell/clsAppVar.h"

#include <QWidget>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QTextBrowser;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace sifkit {
class Sifcore;
class clsDBManager;
enum class SyncDirection;
struct SyncPlan;
struct SyncNames;
struct EveryTableSettings;
struct HostHooks;
} // namespace sifkit

namespace dbsift {

class FlexGrid;
class EveryTableView;
class PairedView;
class Prompter;
class frmFieldListForDataCompare;
class frmMainMDI;
class frmOptions;
class frmSelectConn;
class frmUndo;
class frmSyncScript;
struct ReportContext;
class frmDispMessage;
struct RollbackSlot;

/// The comparison window: the toolbar, the connection bar with the two recent-connection lists,
/// the two object trees over a divider, and below it the three frames that take turns (the
/// quick-start description, the structure grids, the data view). It hosts the engine control
/// Sifcore1 and owns the application variables.
///
/// Its operations carry the names the rest of the application and the tests use; they are
/// spread over one source file per area (shell, connect, structure, data).
class frmMain final : public QWidget {
    Q_OBJECT
public:
    frmMain(frmMainMDI& frame, const AppPaths& paths, Prompter& prompter);
    ~frmMain() override;

    // --- start-up, layout, progress --------------------------------------------------------
    void Form_Load();
    /// The databases named on the command line, set before Form_Load: the window loads with
    /// them chosen, each for its side, and with both sides set runs the compare ("&Run Compare").
    void setStartingDatabases(const StartingDatabases& databases) { startingDatabases_ = databases; }
    /// (Re)creates the window state: new application variables, grid widths, connection strings
    /// from the recent lists, colours, the description frame in front.
    void initializeMainWindow();
    /// Gives the four columns of both structure grids the application variables' widths.
    void applyGridWidths();
    void enableControls();
    void StartTimer();
    void StopTimer();
    /// Lays the progress bar over status panel 4 and shows it; resetProgressBar hides it.
    void setProgressBar();
    void resetProgressBar();
    /// The engine's progress event: lets pending window events run, then a positive maxCount
    /// becomes the bar's maximum, a positive count its value (clamped to the maximum) and a
    /// non-empty readFrom the text of status panel 2.
    void UpdateCount(int32_t count, int32_t maxCount, const std::string& readFrom);
    double getdRatioTopEditor() const { return dRatioTopEditor_; }
    void setdRatioTopEditor(double ratio);
    int getlMiddleSpacer() const { return lMiddleSpacer_; }
    void setlMiddleSpacer(int spacer) { lMiddleSpacer_ = spacer; }
    int64_t activityCounter() const { return activityCounter_; }
    bool timerRunning() const;
    /// True while an engine run holds the window (clicks and keys are then refused).
    bool isBusy() const { return busyDepth_ > 0; }
    /// Asks the running comparison to stop (the status bar's Cancel, Esc).
    void requestCancel();
    /// Whether the user cancelled the last run.
    bool wasCancelled() const;

    sifkit::Sifcore& Sifcore1() { return *sifcore_; }
    const sifkit::Sifcore& Sifcore1() const { return *sifcore_; }
    frmMainMDI& frame() { return frame_; }
    Prompter& prompter() { return prompter_; }
    const AppPaths& paths() const { return paths_; }
    ProfileFile& settingsFile() { return settings_; }
    /// A message box titled with the application's name.
    void showMessage(const QString& text);
    /// How many messages the engine has shown so far: a failure it has not shown itself is the
    /// window's to tell.
    int engineMessagesShown() const { return engineMessagesShown_; }
    /// After an engine run that returned False: shows the connection and database messages the
    /// run left on either side, if any (an empty database is not a failure). True when it showed.
    bool reportEngineFailure();
    /// The engine's failures of its last run, by side, as a message shows them; "" without any.
    QString engineFailures() const;

    // --- settings -------------------------------------------------------------------------
    clsAppVar& getApplicationVariables() { return appVar_; }
    void setApplicationVariables(const clsAppVar& appVar) { appVar_ = appVar; }
    void ReadIniFile();
    void SaveIniFile();
    const std::string& getReportPath() const { return reportPath_; }
    void setReportPath(const std::string& path) { reportPath_ = path; }
    bool getDisplayDataCompareMessageBox() const { return displayDataCompareMessageBox_; }
    /// False saves the settings file at once; true only stores the value.
    void setDisplayDataCompareMessageBox(bool display);
    void writeIniLong(const std::string& key, int32_t value);
    const std::string& getLastFileUsed() const { return lastFileUsed_; }
    void setLastFileUsed(const std::string& path) { lastFileUsed_ = path; }
    uint32_t getOriginalColor() const;
    void setOriginalColor(uint32_t colour);
    uint32_t getModifiedColor() const;
    void setModifiedColor(uint32_t colour);
    /// Paints the two recent-connection lists with the application variables' colours.
    void setDropDownBoxColors();
    /// "#RRGGBB" for a colour value with red in the low byte.
    static std::string ColorToHTML(uint32_t colour);
    /// Opens the options dialog (Settings menu, its popup twin, the Options button).
    void showOptions();
    frmOptions& optionsDialog();

    // --- recent connections -----------------------------------------------------------------
    void loadRecentConnFromIniFile();
    int32_t getLastSelectedOrigConnIndex() const { return lastSelectedOrigConnIndex_; }
    void setLastSelectedOrigConnIndex(int32_t index) { lastSelectedOrigConnIndex_ = index; }
    int32_t getLastSelectedModConnIndex() const { return lastSelectedModConnIndex_; }
    void setLastSelectedModConnIndex(int32_t index) { lastSelectedModConnIndex_ = index; }
    void cboMasterRecentConn_Click();
    void cboSourceRecentConn_Click();

    // --- connections ----------------------------------------------------------------------
    void cmdSelConn_Click();
    void cmdSourceSelConn_Click();
    frmSelectConn& connectionDialog();
    void setMasterConnectionString(const std::string& text, bool isConnectionString, bool fromRecentList);
    void setSourceConnectionString(const std::string& text, bool isConnectionString, bool fromRecentList);
    /// The stored Original connection string with the side's user ID and password appended
    /// (once); the engine's master manager receives both. A file's string goes without them.
    std::string getMasterConnectionString();
    std::string getSourceConnectionString();
    bool validConnections(bool isMaster);
    /// False while the side's database is a file: a file is opened without credentials.
    bool acceptsCredentials(bool isMaster) const;
    /// Stores both connection strings directly, without the setters' checks and side effects; a
    /// user ID a string names becomes its side's.
    void storeConnectionStrings(const std::string& master, const std::string& source);
    /// The databases changed: the results shown belong to the former pair, so they go (trees,
    /// field lists, grids, counts) and every write action waits for the new pair's comparison.
    void dropComparison();
    /// The data view's result goes: its lists, grids and count, and every action on its records.
    void clearDataResult();
    /// Compares the records of every table both databases hold and shows the counts per table
    /// in the Every Table tab.
    void compareEveryTable();
    /// A table of the Every Table tab chosen: its records compared over the columns the summary
    /// compared, then shown side by side.
    void compareChosenTable(const QString& table, const QStringList& columns);
    /// The connection the side's recent-connection box holds, as stored (user ID, no password).
    QString recentListText(bool isMaster) const;
    /// Puts a connection into the side's box: the box shows the file or data source name, its
    /// tooltip the whole string with the password masked.
    void setRecentListText(bool isMaster, const QString& text);

    // --- saved comparisons ----------------------------------------------------------------
    /// File > Open Comparison: asks for a comparison file, then opens it.
    void openComparison();
    /// Opens a comparison file: its databases become the two sides, its settings (key, ignored
    /// columns, value options, row filters) those of the window's data runs, and it runs. False,
    /// with a message and the window's databases as they were, when the file cannot be read or a
    /// database cannot be chosen.
    bool openComparisonFile(const QString& path);
    /// File > Save Comparison: asks where, then saves the comparison the window shows.
    void saveComparison();
    bool saveComparisonFile(const QString& path);
    /// File > Export Result as JSON: asks where, then runs the comparison the window shows and
    /// writes its result as dbsift-compare --format json prints it.
    void exportResultAsJson();
    bool exportResultAsJsonFile(const QString& path);
    /// The comparison the window shows: its two databases, what its view compares (the table
    /// and fields of the data view, every table, or the structure), with the settings of the
    /// comparison opened. Nothing while a side has no database a comparison can name.
    std::optional<cli::SavedComparison> currentComparison() const;
    /// The settings the opened comparison brings; a plain comparison without one opened.
    const cli::SavedComparison& heldComparison() const { return heldComparison_; }
    /// Data > Comparison Settings: the value options, key, ignored columns and row filters of the
    /// window's data comparisons; what is shown is compared again under new ones.
    void showComparisonSettings();
    /// The key that pairs a table's records over a field list: the one chosen for the table in
    /// its field list, else the opened comparison's for the table, else the opened comparison's;
    /// empty (its own key) when a column of it is not compared.
    std::vector<std::string> tableKey(const std::string& tableName, const std::string& fieldList) const;
    /// The key chosen for a table in its field list (empty: the table's own key), kept until the
    /// databases change.
    void chooseTableKey(const std::string& tableName, const std::vector<std::string>& key);
    /// The recent comparisons' menu (File > Recent Comparisons).
    QMenu& recentComparisonsMenu() const { return *mnuRecentComparisons_; }

    // --- object trees -----------------------------------------------------------------------
    /// Clears a tree and its picture list and loads the database picture.
    void resetTree(QTreeWidget& tree);
    /// Fills one tree from the engine's results of one side.
    void populateTree(QTreeWidget& tree, bool isMaster);

    // --- structure view ---------------------------------------------------------------------
    /// The compare run: lists both databases' objects into the trees and, with "Show Structure"
    /// on, compares their fields into the structure grids.
    void do_Compare();
    /// Refresh (toolbar; the tree popup's "&Run Structure Compare"): the compare run when both
    /// connections are set; the report button ends disabled either way.
    void tbRefresh_Click();
    /// "&Run Compare" (F5): the refresh run and the structure grids under the progress bar, then
    /// the settings are saved.
    void mnuRun_Click();
    /// Swap (F9): crosses the two sides, shows them in the recent lists and runs again.
    void tbSwap_Click();
    /// Compares the two structures with their fields and fills the structure grids; counts the
    /// changes into status panel 4.
    void doStructureCompare();
    /// Change classes of a change code given as decimal text.
    bool isNew(const std::string& changeType);
    bool isDifferentDataType(const std::string& changeType);
    bool isChanged(const std::string& changeType);
    /// Number of items of one side whose change code counts as changed.
    int32_t getChangeCount(bool isMaster);
    void refreshStructureGrids();
    void fillStructureGrid(FlexGrid& grid, bool isMaster);
    /// Writes result item row of one side into its grid row; colour is a colour value as
    /// decimal text.
    void writeStructureRow(FlexGrid& grid, bool isMaster, int32_t row, const std::string& colour,
                           bool changed);
    /// Writes one cell, unless the item is unchanged and only differences are shown.
    void writeStructureCell(FlexGrid& grid, bool isMaster, int32_t row, int32_t col, const QString& text,
                            bool changed);
    /// Where the last run through the structure view spent its time, in seconds: in the engine's
    /// compare calls, and in filling the trees and the grids from their results.
    struct StructureRunTiming {
        double engineSeconds = 0;
        double treeSeconds = 0;
        double gridSeconds = 0;
    };
    const StructureRunTiming& lastStructureRunTiming() const { return structureTiming_; }

private:
    void connectStructureView();
    /// True when both connections are chosen; otherwise says so in a message box.
    bool requireConnections();
    /// The compare run; withStructure false leaves the structure comparison to the caller.
    void runObjectCompare(bool withStructure);
    /// The refresh run; false when a connection is missing (the message has been shown).
    bool refreshRun(bool withStructure);
    /// The structure comparison; objectsListed skips the object listing a run just made.
    void runStructureCompare(bool objectsListed);
    /// One engine compare run, timed, with the window held. A run that fails still publishes
    /// what each side read, and a side that reported an error has its messages shown.
    bool runEngineCompare(bool listObjectsOnly);

public:
    // --- data-compare mode ----------------------------------------------------------------
    /// Lists both databases' objects into the trees and shows the data-compare hint.
    void do_TableCompare(bool firstTreeIsOriginal);
    /// Lists both databases' objects into the trees, without the hint.
    void listObjectsIntoTrees(bool firstTreeIsOriginal);
    const std::string& getTableName() const { return tableName_; }
    void setTableName(const std::string& name) { tableName_ = name; }
    const std::string& getFieldList() const { return fieldList_; }
    void setFieldList(const std::string& list) { fieldList_ = list; }
    bool getCanRunReport() const { return canRunReport_; }
    void setCanRunReport(bool canRun) { canRunReport_ = canRun; }

    // --- record copy, undo and report ------------------------------------------------------
    /// Writes the data difference report of the selected table to the report path (asking for
    /// one the first time) and opens it.
    void createHTMLReport();
    /// Writes the report of the last comparison of every table the same way.
    void createSummaryReport();
    /// The report buttons: the report when the last field selection had comparable fields.
    void requestReport();
    /// "Copy Record" (top to bottom): the selected record overwrites its counterpart, or is added
    /// to the other side when it has none.
    void cmdCopyRecord_Click();
    /// "Copy Record" (bottom to top): the counterpart overwrites the selected record.
    void cmdCopyRecorUp_Click();
    /// Sets both data managers' current record numbers for a copy: the selected record on its
    /// side (isOriginal: the Original), the related record on the other.
    void positionDataManagers(bool isOriginal, int32_t selectedRecord, int32_t relatedRecord);
    /// Inserts the current record of the side the side flag names on the other side; tells the
    /// user the outcome. True when the record was copied.
    bool copyRecordToOtherSide(const std::shared_ptr<sifkit::clsDBManager>& master,
                               const std::shared_ptr<sifkit::clsDBManager>& source);
    /// Overwrites the counterpart of the current record with it, keeping the old row in the
    /// side's rollback file and an undo entry in the settings file; tells the user the outcome.
    bool updateRecordWithRollback(const std::shared_ptr<sifkit::clsDBManager>& master,
                                  const std::shared_ptr<sifkit::clsDBManager>& source);
    const std::string& currentRollbackFile() const { return currentRollbackFile_; }
    /// "Undo Copy": the undo list, shown without blocking the window.
    void cmdUndo_Click();
    frmUndo& undoDialog();
    /// Restores the record an update overwrote, from the slot's rollback file, after asking.
    /// Refuses (with a message, changing nothing) a slot already rolled back, or whose file is
    /// missing, of another table, or written again since. True when the record was restored.
    bool rollBackSlot(const RollbackSlot& slot);
    /// Where the records brought into line come from: the paired view's chosen rows, or every
    /// table of the Every Table tab.
    enum class SyncOrigin { Table, EveryTable };
    /// "Script...": the script that would make the plan's changes, with Save, Copy and Apply.
    void showSyncScript(const sifkit::SyncPlan& plan, SyncOrigin origin);
    /// "Apply...": makes the plan's changes in the target database after asking, in one
    /// transaction, with an undo file and an undo entry, then compares again what it came from.
    /// Tells the user the outcome; true when the changes were made.
    bool applySyncPlan(const sifkit::SyncPlan& plan, SyncOrigin origin);
    /// Apply of the paired view's chosen rows.
    bool applyChosenSync();
    // --- data view --------------------------------------------------------------------------
    /// A table chosen in a tree: fills the field list dialog for it and shows the dialog.
    void chooseTableForDataCompare(QTreeWidget& tree);
    frmFieldListForDataCompare& fieldListDialog();
    /// Runs the data comparison of a table over a field list ("[A],[B C]") and shows the results.
    void showDataDiffResultsForTableName(const std::string& tableName, const std::string& fieldList);
    /// Names, in the status bar, the compared columns that the database's own collation would
    /// call equal where letter case or trailing blanks differ.
    void showCollationNote();
    /// Fills the paired view from the last data result.
    void showPairedView();

    /// Paging of the drop-down and the summary grid: both list the same records, a page at a time.
    /// The first page starts where the result's listing starts now.
    void startPaging();
    /// Lists the next page in both, after the pages listed; selectItsFirst shows its first record.
    void appendNextPage(bool selectItsFirst);
    /// Whether records are left after the pages listed.
    bool recordsLeftToList();
    void updatePagingButtons();
    /// The engine's Original and Modified record indexes at which each listed page starts.
    std::vector<std::pair<int32_t, int32_t>> pageStarts_;
    bool summaryExtensionPending_ = false; ///< a scroll to the grid's end has asked for the next page
    /// The engine run of a data comparison; True when differences were found.
    bool runDataCompare(const std::string& tableName, const std::string& fieldList);
    /// After the sides were swapped: compares the shown table again, Original and Modified swapped.
    void swapDataResults();
    /// Sets both sides up for the table on the databases chosen now, then compares its records
    /// over the fields and shows the result.
    void compareTableOnCurrentDatabases(const std::string& tableName, const std::string& fieldList);
    /// The number of compared fields, at least 1.
    int32_t getFieldCount() const { return dataFieldCount_ > 0 ? dataFieldCount_ : 1; }
    /// Report controls follow whether a data report can be made.
    void enableReportControls(bool enabled);
    /// Appends one page of differing records to the drop-down; selects the first on the first page.
    void setCboDataDiffBox(const std::string& tableName);
    /// " " and the change description of the record's first changed field, or "".
    std::string getRecordDetailsForDropDown(const std::string& tableName, int32_t recordNumber,
                                            bool isMaster);
    /// The record number text of a drop-down entry; sets the side flag from the entry.
    std::string parseRecordNumberFromComboValue(const std::string& text);
    /// The record number of the other side's record with the same key (every key column), as the
    /// last data run paired them; 0 without one.
    int32_t counterpartNumber(bool isMaster, int32_t recordNumber) const;
    /// Shows an entry's record in the detail grid, with its counterpart when showRelated.
    void showSelectedDifference(const std::string& text, bool showRelated);
    /// Differing records' positions of the selected table on both sides.
    int32_t getTotalGridCount();
    void cmdFirstDiff_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    void cmdGetMore_Click();
    void cmdGetPrevious_Click();
    void cboDataDiffSummary_Click();
    /// Tab k (1-based) of the data view's tab strip chosen.
    void tsDataDiff_Click(int tab);
    /// The header of the summary grid (metadata False) or the detail grid (metadata True).
    void prepareDiffGrid(FlexGrid& grid, const std::string& tableName, bool isMaster, bool metadata);
    /// One page of differing records into the summary grid from row firstRow.
    void fillSummaryGrid(FlexGrid& grid, const std::string& tableName, int32_t firstRow);
    void writeSummaryRow(FlexGrid& grid, int32_t recordNumber, bool isMaster, int32_t row);
    /// The selected record into row 1 (first) or its counterpart into row 2, with the metadata rows.
    void writeDetailGrid(FlexGrid& grid, bool first);
    /// A summary row chosen: its record shown with its counterpart on the details tab.
    void msFlexGridDataDiff_Click(int row);
    /// The summary grid's current row moved: the detail grid follows.
    void msFlexGridDataDiff_RowColChange(int row);
    /// The summary grid scrolled to its last filled row: the next page is added.
    void msFlexGridDataDiff_Scroll();
    void CopyUpButtonsEnabled(bool enabled);
    /// "Original: x / Modified: y" for a detail value that differs from its counterpart, else "".
    QString detailToolTip(int row, int col) const;
    int32_t getSelectedRecordNumber() const { return appVar_.getSelectedRecordNumber(); }
    int32_t getSelectedRelatedRecordNumber() const { return selectedRelatedRecordNumber_; }
    void setSelectedReleatedRecordNumber(int32_t recordNumber) {
        selectedRelatedRecordNumber_ = recordNumber;
    }
    int32_t getPreviousMasterRecordIndex() const { return previousMasterRecordIndex_; }
    void setPreviousMasterRecordIndex(int32_t index) { previousMasterRecordIndex_ = index; }
    int32_t getPreviousSourceRecordIndex() const { return previousSourceRecordIndex_; }
    void setPreviousSourceRecordIndex(int32_t index) { previousSourceRecordIndex_ = index; }

signals:
    /// A data comparison's engine run has returned; its results are about to be shown.
    void dataRunFinished();

private:
    friend class BusyScope;

    /// Chooses the databases named on the command line, each for its side, as the connection
    /// dialog does; true when one was chosen. A database that cannot be chosen (a file that does
    /// not exist, an unknown data source) is reported and its side keeps its remembered one.
    bool chooseCommandLineDatabases();
    StartingDatabases startingDatabases_;

    /// The connection string for rolling back on a side: this session's (with its credentials)
    /// when it is the stored one, otherwise the stored one, asking for the password when it names
    /// a user. Nothing when the user cancels.
    std::optional<std::string> connectionForRollback(const std::string& stored, bool isMaster);
    /// Both databases as the window names them and the time, for a report.
    ReportContext reportContext();
    /// Writes a report's lines to the report path (asking for one the first time) and opens it.
    void writeReport(const std::vector<std::string>& lines);
    /// " Run the comparison again ...": ends the status text of every write.
    QString runAgainHint() const;
    /// The connection strings of the databases a result to bring into line was compared on.
    struct SyncDatabases {
        std::string original;
        std::string modified;
        /// The one a sync in that direction changes.
        const std::string& target(sifkit::SyncDirection direction) const;
        sifkit::SyncNames names() const;
    };
    SyncDatabases syncDatabases(SyncOrigin origin);
    /// Takes back the sync a slot records, from its undo file, after asking.
    bool undoSyncSlot(const RollbackSlot& slot);
    /// Closes the script of a result that is no longer shown.
    void hideSyncScript();
    /// Marks a slot rolled back in the settings file and says so in the status bar.
    void noteRolledBack(int slotNumber);

    void buildToolbar();
    void buildConnectionBar(QWidget* parent);
    void buildLowerFrames();
    void buildMenus();
    void connectSyncView();
    void connectSyncPlan();
    void setSideConnectionString(bool isMaster, const std::string& text, bool isConnectionString,
                                 bool fromRecentList);
    /// A side's stored connection string with its user ID and password appended (once).
    std::string connectionWithCredentials(bool isMaster);
    /// Makes a connection string the side's: its database part becomes the stored string, the
    /// user ID it names the side's; the side's password stays only with the same database and user.
    void keepConnection(bool isMaster, const std::string& connection);
    /// The connection a recent-connection box's entry stands for.
    QString recentEntryConnection(bool isMaster, int index) const;
    void buildPopupMenus();
    /// The engine's ways to reach the window: progress, messages, events, Cancel.
    sifkit::HostHooks engineHooks();
    void buildComparisonMenu(QMenu& file, QAction* before);
    void fillRecentComparisons();
    /// Asks where to write a file of the comparison the window shows; "" while the window is
    /// busy, without a comparison (the user is told) or when the user cancels.
    QString askComparisonPath(const QString& title, const QString& initialFile);
    /// Puts a comparison file first in the recent comparisons.
    void rememberComparison(const QString& path);
    /// Runs the comparison opened: its structure, its table or every table.
    void runHeldComparison();
    /// The field list without the columns the held settings never compare; as it is when they
    /// are all of it (the user chose just those).
    std::string withoutHeldIgnoredColumns(const std::string& fieldList) const;
    /// Whether the held row filters apply to a table: the comparison is of that table.
    bool heldFiltersApply(const std::string& tableName) const;
    /// The opened comparison's settings for a data run of a table over a field list.
    void applyHeldSettings(const std::string& tableName, const std::string& fieldList,
                           sifkit::clsDBManager& master, sifkit::clsDBManager& source);
    /// "Values compared with ..." when the opened comparison's value options were in force, with
    /// the row filters of the last data run (withFilters); "" for an exact comparison.
    QString heldSettingsNote(bool withFilters) const;
    /// The opened comparison's settings for the comparison of every table.
    sifkit::EveryTableSettings heldEveryTableSettings() const;
    cli::SavedComparison heldComparison_;
    /// The keys of single tables: the opened comparison's, with those chosen since over them.
    std::map<std::string, std::vector<std::string>> tableKeys() const;
    std::map<std::string, std::vector<std::string>> chosenTableKeys_; ///< by table, see chooseTableKey
    std::string openedFieldList_; ///< the fields the opened comparison's table was compared over
    QString comparisonFile_;      ///< the comparison file last opened or saved
    QAction* mnuOpenComparison_ = nullptr;
    QAction* mnuSaveComparison_ = nullptr;
    QAction* mnuExportJson_ = nullptr;
    QAction* mnuComparisonSettings_ = nullptr;
    QMenu* mnuRecentComparisons_ = nullptr;
    void connectSignals();
    void applyDividerRatio();
    void showLowerFrame(QWidget* frame);
    void openHelp();
    void showAbout();
    void onTreeClicked(QTreeWidget& tree);
    void buildDataMenu();
    /// The tree whose table the Data menu compares: the one with the focus, else the one last
    /// moved in.
    QTreeWidget& selectedTree();
    /// The order Tab takes through the window: connection bar, trees, then the lower frames.
    void setFocusOrder();
    /// F2 and the report button: the data report when the data view is shown.
    void viewReport();

    frmMainMDI& frame_;
    const AppPaths& paths_;
    Prompter& prompter_;
    ProfileFile settings_;
    std::unique_ptr<sifkit::Sifcore> sifcore_;
    clsAppVar appVar_;

    // Layout state.
    double dRatioTopEditor_ = 0.35;
    int lMiddleSpacer_ = 10;
    int64_t activityCounter_ = 0;
    int busyDepth_ = 0;
    /// The user pressed Cancel during the run in progress (or the last one, once it ended); read
    /// by the lock wait, which may run on a reading thread.
    std::atomic<bool> cancelRequested_ = false;
    /// Says in the status bar that a database file is locked and how long the run has waited.
    void showLockWait(int32_t waitedMs, int32_t timeoutMs);
    int engineMessagesShown_ = 0; ///< messages the engine has shown through its message box

    // Settings held by the window.
    std::string reportPath_;
    bool displayDataCompareMessageBox_ = true;
    std::string lastFileUsed_;
    int32_t lastSelectedOrigConnIndex_ = 1;
    int32_t lastSelectedModConnIndex_ = 1;

    // Connections and the data view's selection.
    std::string masterConnectionString_;
    std::string sourceConnectionString_;
    QString masterListConnection_; ///< the connections the two recent-connection boxes show
    QString sourceListConnection_;
    std::string tableName_;
    std::string fieldList_;
    bool canRunReport_ = false;
    std::string currentRollbackFile_;

    // Controls, named as the rest of the application knows them.
    QToolBar* tbMain_ = nullptr;
    QAction* tbSwap_ = nullptr;
    QAction* cmdViewReport_ = nullptr;
    QAction* tbRefresh_ = nullptr;
    QAction* tbOptions_ = nullptr;
    QPushButton* cmdSelConn_ = nullptr;
    QLabel* picSelConn_ = nullptr;
    QComboBox* cboMasterRecentConn_ = nullptr;
    QPushButton* cmdSourceSelConn_ = nullptr;
    QLabel* picSourceSelConn_ = nullptr;
    QComboBox* cboSourceRecentConn_ = nullptr;
    QWidget* upperPane_ = nullptr;
    QSplitter* lblDividerH_ = nullptr;
    QSplitter* treeSplitter_ = nullptr;
    QTreeWidget* TreeView1_ = nullptr;
    QTreeWidget* TreeView2_ = nullptr;
    QStackedWidget* lowerFrames_ = nullptr;
    QWidget* frameRichTextBox_ = nullptr;
    QTextBrowser* richTxtBoxProgDesc_ = nullptr;
    QWidget* frameStructureGrids_ = nullptr;
    FlexGrid* MSFlexGrid1_ = nullptr;
    FlexGrid* MSFlexGrid2_ = nullptr;
    QWidget* frameDataGrids_ = nullptr;
    QTabWidget* tsDataDiff_ = nullptr;
    QWidget* frameDataDetail_[2] = {};
    FlexGrid* msFlexGridDataDiff_ = nullptr;
    FlexGrid* MSFlexGridDataDiffDetail_ = nullptr;
    PairedView* pairedView_ = nullptr;         ///< every difference of the last result, one row each
    EveryTableView* everyTableView_ = nullptr; ///< the counts of the last comparison of every table
    QComboBox* cboDataDiffSummary_ = nullptr;
    QTimer* Timer1_ = nullptr;

    // Menus.
    QMenuBar* menuBar_ = nullptr;
    QAction* mnuOriginalDatabase_ = nullptr;
    QAction* mnuModifiedDatabase_ = nullptr;
    QAction* mnuRun_ = nullptr;
    QAction* mnuCreateDataReport_ = nullptr;
    QAction* mnuExit_ = nullptr;
    QAction* mnuSettings_ = nullptr;
    QAction* mnuHelpFile_ = nullptr;
    QAction* mnuAbout_ = nullptr;
    QAction* mnuDataCompare_ = nullptr;
    QAction* mnuCompareEveryTable_ = nullptr;
    QAction* mnuUndo_ = nullptr;
    QTreeWidget* lastTree_ = nullptr;
    QMenu* mnupopupTree_ = nullptr;
    QAction* mnuOriginalpopup_ = nullptr;
    QAction* mnuModifiedpopup_ = nullptr;
    QAction* mnuRunStructureComparepopup_ = nullptr;
    QAction* mnuRunDataComparepopup_ = nullptr;
    QAction* mnuCreateReportpopup_ = nullptr;
    QAction* mnuSettingspopup_ = nullptr;
    QMenu* mnupopupDetail_ = nullptr;
    QAction* mnuFirstpopup_ = nullptr;
    QAction* mnuPreviouspopup_ = nullptr;
    QAction* mnuNextpopup_ = nullptr;
    QAction* mnuLastpopup_ = nullptr;
    QAction* mnuCopyTopToBottompopup_ = nullptr;
    QAction* mnuCopyBottomToToppopup_ = nullptr;

    // Dialogs, created on first use and kept (they keep their state between openings).
    frmOptions* frmOptions_ = nullptr;
    frmSelectConn* frmSelectConn_ = nullptr;
    frmUndo* frmUndo_ = nullptr;
    frmSyncScript* frmSyncScript_ = nullptr;
    frmDispMessage* frmDispMessage_ = nullptr;

    // Structure view state.
    StructureRunTiming structureTiming_;
    /// Whether the last engine run reported a database that could not be read.
    bool lastRunReportedError_ = false;

    // Data view state.
    void buildDataGrids();
    void connectDataView();
    /// Marks the detail values that differ between the selected record and its counterpart.
    void markChangedDetailValues();
    /// Makes drop-down entry index the current one and shows it with its counterpart.
    void selectDifferenceEntry(int index);
    /// Positions both sides reported for a table (getTotalGridCount for the selected one).
    int32_t getTotalGridCountFor(const std::string& tableName);
    /// Steps of one page: the page size, or the positions both sides reported when fewer.
    int32_t differencePageLimit(const std::string& tableName);
    /// The record a summary row shows (-1 for a row without one) and, through isOriginal, its side.
    int32_t summaryRowRecord(int row, bool& isOriginal) const;
    /// First and Previous with their popup twins; Next and Last with theirs.
    void enableBackward(bool enabled);
    void enableForward(bool enabled);
    QWidget* frameButtonHolder_ = nullptr;
    QPushButton* cmdFirstDiff_ = nullptr;
    QPushButton* cmdPrevious_ = nullptr;
    QPushButton* cmdNext_ = nullptr;
    QPushButton* cmdLast_ = nullptr;
    QPushButton* cmdCopyRecord_ = nullptr;
    QPushButton* cmdCopyRecorUp_ = nullptr;
    QPushButton* cmdUndo_ = nullptr;
    QPushButton* cmdCreateHTMLReport_ = nullptr;
    QPushButton* cmdGetPrevious_ = nullptr;
    QPushButton* cmdGetMore_ = nullptr;
    frmFieldListForDataCompare* frmFieldListForDataCompare_ = nullptr;
    std::vector<std::string> dataFieldNames_; ///< compared fields, in grid column order
    int32_t dataFieldCount_ = 0;
    int32_t selectedRelatedRecordNumber_ = 0;
    int32_t previousMasterRecordIndex_ = 1;
    int32_t previousSourceRecordIndex_ = 1;
    bool detailTopIsOriginal_ = true; ///< side of the record in the detail grid's first row

public:
    QMenuBar* menuBar() const { return menuBar_; }
};

/// Holds the window for the length of an engine run: the window's controls refuse input, the
/// pointer shows the hourglass, and the progress handler may let events run without a click
/// starting a second run. Nests.
class BusyScope {
public:
    explicit BusyScope(frmMain& form);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    frmMain& form_;
};

} // namespace dbsift
