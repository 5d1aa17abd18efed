// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataAccess.h>
#include <sifkit/DataResult.h>
#include <sifkit/DataSummary.h>
#include <sifkit/Failure.h>
#include <sifkit/HostHooks.h>
#include <sifkit/ResultCollection.h>
#include <sifkit/SifkitError.h>
#include <sifkit/StructureResult.h>
#include <sifkit/clsDBManager.h>
#include <sifkit/clsResultSet.h>
#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sifkit {

/// The engine control: owns the master side (the Original database) and the source side (the
/// Modified database), runs the structure and data comparisons, and answers look-ups on their
/// results. Operations report failures as their result (False, "" or 0) and as messages in the
/// side managers' message texts (getErrorLogs); none throws, except the two integer accessors
/// getResultChangeType and getResultFieldLength for an index past the end (ConversionError),
/// the positional result accessors getResult... for an index below 1 (Error, subscript out of
/// range; getResultSet returns null instead) and getODBCConnection for an index outside the list
/// (Error, subscript out of range).
class SIFKIT_EXPORT Sifcore {
public:
    /// Creates the control and lists the machine's ODBC data sources.
    Sifcore();
    /// The same with the host's callbacks in place from the start, so that a failure to list the
    /// data sources reaches the host's message box.
    explicit Sifcore(HostHooks hooks);
    ~Sifcore();
    Sifcore(const Sifcore&) = delete;
    Sifcore& operator=(const Sifcore&) = delete;

    /// A collection the control keeps for its host; the engine itself does not use it.
    ResultCollectionPtr results;

    // --- host callbacks -----------------------------------------------------------------------
    /// The UpdateCount event: raised synchronously by setCurrentProgressCount. Changes the
    /// handler makes to its arguments are ignored.
    void setUpdateCountHandler(
        std::function<void(int32_t& count, int32_t& maxCount, std::string& readFrom)> handler);
    /// Shows the engine's message boxes.
    void setMessageBoxHandler(std::function<void(const std::string& text)> handler);
    /// Lets pending window events run (once at the start of a data run, and now and then during
    /// the long parts of a run).
    void setDoEventsHandler(std::function<void()> handler);
    /// Asked with the events whether the user cancelled the running comparison.
    void setCancelHandler(std::function<bool()> handler);

    // --- settings and stored values ---------------------------------------------------------
    /// Exchanges the two side managers; result collections are not touched.
    void swapValues();
    bool showDifferencesOnly() const { return showDifferencesOnly_; }
    void showDifferencesOnly(bool value) { showDifferencesOnly_ = value; }
    void setshowDifferencesOnly(bool showDifferecesIn) { showDifferencesOnly_ = showDifferecesIn; }
    /// Whether the structure comparison counts field types of one family (integers of any
    /// width, texts of any kind and length, ...) as the same type: a database moved to another
    /// product then shows no type differences where only the spelling changed. Off by default.
    bool typesByFamily() const { return typesByFamily_; }
    void setTypesByFamily(bool byFamily) { typesByFamily_ = byFamily; }
    bool showDataOnly() const { return showDataOnly_; }
    void showDataOnly(bool value) { showDataOnly_ = value; }
    void setShowDataOnly(bool showDataOnlyIn) { showDataOnly_ = showDataOnlyIn; }
    /// The master manager, created on first request.
    std::shared_ptr<clsDBManager> getMasterDataManager();
    void setMasterResultsFromDataManager(const std::shared_ptr<clsDBManager>& masterDataManagerIn);
    void setMasterResultSets(const ResultCollectionPtr& masterResultsIn) { masterResults_ = masterResultsIn; }
    const std::string& pathForErrLog() const { return pathForErrLog_; }
    void pathForErrLog(const std::string& value) { pathForErrLog_ = value; }
    void setPathForErrLog(const std::string& pathforErrLogIn) { pathForErrLog_ = pathforErrLogIn; }
    bool logErrors() const { return logErrors_; }
    void logErrors(bool value) { logErrors_ = value; }
    void setLogErrors(bool m_logErrorsIn) { logErrors_ = m_logErrorsIn; }
    void setMasterDataManager(const std::shared_ptr<clsDBManager>& masterDataManagerIn);
    /// The source manager, created on first request.
    std::shared_ptr<clsDBManager> getSourceDataManager();
    void setSourceResultsFromDataManager(const std::shared_ptr<clsDBManager>& sourceDataManagerIn);
    void setSourceResults(const ResultCollectionPtr& sourceResultsIn) { sourceResults_ = sourceResultsIn; }
    void setSourceDataManager(const std::shared_ptr<clsDBManager>& sourceDataManagerIn);

    // --- data sources and connection strings ----------------------------------------------------
    /// Number of entries "DSN=<name> | <driver description>" in the data source list.
    int16_t getODBCConnectionCount() const;
    /// Entry number index (1-based); throws sifkit::Error outside 1..count.
    std::string getODBCConnection(int32_t index) const;
    /// The data source name of an entry; an argument holding "DSN=" is itself replaced by the
    /// trimmed text after its first four characters.
    std::string getDSNName(std::string& dsNameIn);
    /// The trimmed text after the first "|", or "".
    std::string getDriverName(const std::string& dsNameIn);
    /// The connection string for a data source entry (the argument loses its "DSN=").
    std::string getConncectionStringFromDSN(std::string& dsnIn);
    /// Appends " ;User ID=" + userID unless the string holds ";User ID="; updates the argument.
    std::string addUserIDToConnectionString(const std::string& userID, std::string& connectionString);
    /// Appends " ;Password=" + passWordIn unless the string holds ";Password="; updates the argument.
    std::string addPasswordToConnectionString(const std::string& passWordIn, std::string& connectionString);
    /// With useDSN, getConncectionStringFromDSN(pathtoDB); otherwise the database-file form.
    std::string getOLEDBConnectionFromPath(std::string& pathtoDB, bool useDSN);

    // --- comparison runs --------------------------------------------------------------------
    /// Lists both catalogues into the managers' collections; compares nothing.
    bool getTables(const std::string& masterConnectionString, const std::string& sourceConnectionString);
    /// Compares the structures of two databases (tables and views, with their fields unless
    /// listObjectsOnly). True when both sides have at least one item; the results are published.
    bool beginFullDatabaseCompare(const std::string& masterConnectionString,
                                  const std::string& sourceConnectionString, bool listObjectsOnly);
    /// Hands two open connections to the managers; runs no comparison and returns False.
    bool beginDatabaseCompareWithConnection(const Connection& masterConnection,
                                            const Connection& sourceConnection);
    /// Structure and ordered data pass for one table; publishes nothing.
    bool beginTableFullDataCompare(const std::string& masterConnectionString,
                                   const std::string& sourceConnectionString, const std::string& tableName,
                                   const std::string& tableType);
    /// Compares the structure of one table.
    bool beginTablebaseCompare(const std::string& masterConnectionString,
                               const std::string& sourceConnectionString, const std::string& tableName,
                               const std::string& tableType);
    /// The ordered data pass on the given managers (the control's own managers stay).
    bool beginTableCompareFromDBManagers(const std::shared_ptr<clsDBManager>& masterDatamanager,
                                         const std::shared_ptr<clsDBManager>& sourceDatamanager);
    /// Installs the two managers and runs the full data pass on them.
    bool beginTableCompareFromFieldListFromDBManager(const std::shared_ptr<clsDBManager>& masterDatamanager,
                                                     const std::shared_ptr<clsDBManager>& sourceDatamanager);
    /// The full data pass on the control's managers: every record of either side that has no
    /// record equal in all listed fields on the other side.
    bool beginTableCompareFromFieldListFromDbManagers();
    /// The window pass: the first bufferedAmount + 1 records of each side.
    bool getBufferedResults();
    bool beginTableCompareFromFieldList(const std::string& masterConnectionString,
                                        const std::string& sourceConnectionString,
                                        const std::string& tableName, const std::string& tableType,
                                        const std::string& fieldList);
    /// The columns the data runs pair records by (DataResult::keyColumns), in place of the
    /// table's primary key; empty (the default) for the primary key both sides share.
    void setPairingKey(const std::vector<std::string>& columns) { pairingKey_ = columns; }
    const std::vector<std::string>& pairingKey() const { return pairingKey_; }
    /// When the full data runs and compareEveryTable count two values as equal (exact by default).
    /// Where a side can only be answered record by record (a driver that rounds reals), a run
    /// with options that are not exact fails and says so; so does the window pass with a tolerance.
    void setValueOptions(const ValueOptions& options) { valueOptions_ = options; }
    const ValueOptions& valueOptions() const { return valueOptions_; }
    /// Told each table of compareEveryTable before its records are read: its number (1-based),
    /// how many tables there are and its name.
    using TableStarted = std::function<void(std::size_t number, std::size_t count, const std::string& table)>;
    /// Compares the records of every table both databases hold (and views, when settings say),
    /// one after the other, over every column both sides can compare, and counts what each
    /// table's run found. Tables of one side only, and those that cannot be compared, are
    /// listed with the reason. lastDataResult then holds the last table's run; onCompared is
    /// given each table's run that finished (with differences or none).
    using TableCompared = std::function<void(const DataResult& result)>;
    DataSummary compareEveryTable(const std::string& masterConnectionString,
                                  const std::string& sourceConnectionString,
                                  const EveryTableSettings& settings, const TableStarted& onTable = {},
                                  const TableCompared& onCompared = {});
    bool ShowSameTables() const { return showSameTables_; }
    void ShowSameTables(bool value) { showSameTables_ = value; }
    bool compareFieldLengths() const { return compareFieldLengths_; }
    void compareFieldLengths(bool value) { compareFieldLengths_ = value; }
    bool compareTableDataTypes() const { return compareTableDataTypes_; }
    void compareTableDataTypes(bool value) { compareTableDataTypes_ = value; }
    bool compareTables() const { return compareTables_; }
    void compareTables(bool value) { compareTables_ = value; }
    /// True when field index (0-based) has the same defined size in both record sets.
    bool checkFieldLength(const Recordset& recSet1, const Recordset& recSet2, int32_t index);

    // --- result look-ups --------------------------------------------------------------------
    // isMaster picks the published collection; positions are 1-based. Table, field and value
    // comparisons are exact. Every table-based look-up answers with the first match of a scan
    // from position 1 (or from the given start); the scans are served by an index of the
    // collection, kept up to date as items or the collection change.
    /// Returns "" (the master item at index is fetched but its name is not returned).
    std::string getDatabaseObjectName(int32_t index);
    ResultCollectionPtr getMasterDatabaseResults() const { return masterResults_; }
    ResultCollectionPtr getSourceDatabaseResults() const { return sourceResults_; }
    /// The item itself (shared); null when the position does not exist.
    std::shared_ptr<clsResultSet> getResultSet(int32_t index, bool isMaster);
    /// Number of items; 0 before a collection is published, which appends message 72 (master
    /// manager) and 73 (source manager) to the general messages.
    int32_t getResultCount(bool isMaster);
    /// The text accessors answer "Error index is greater then results returned" and the Boolean
    /// ones False for an index past the end, or when the side has no collection yet (which
    /// appends message 70 to the master manager's and 71 to the source manager's general
    /// messages).
    std::string getResultDatabaseObjectName(int32_t index, bool isMaster);
    std::string getResultPrimaryKey(int32_t index, bool isMaster);
    /// primaryKey of the table's first item; "" without one.
    std::string getPrimaryKeyFromTableName(const std::string& tableName, bool isMaster);
    std::string getResultForeignKeyName(int32_t index, bool isMaster);
    std::string getResultForeignKeyColumnName(int32_t index, bool isMaster);
    std::string getResultForeignKeyPrimaryKeyName(int32_t index, bool isMaster);
    std::string getResultFKeyPrimaryTableName(int32_t index, bool isMaster);
    std::string getResultDataType(int32_t index, bool isMaster);
    std::string getResultFieldName(int32_t index, bool isMaster);
    std::string getResultFieldDefinedSize(int32_t index, bool isMaster);
    std::string getResultFieldActualSize(int32_t index, bool isMaster);
    bool getResultIsDataValue(int32_t index, bool isMaster);
    bool getResultIsFieldDesc(int32_t index, bool isMaster);
    bool getResultIsFieldComparable(int32_t index, bool isMaster);
    std::string getResultFieldValue(int32_t index, bool isMaster);
    /// The item's change code; throws sifkit::ConversionError for an index past the end.
    int16_t getResultChangeType(int32_t index, bool isMaster);
    /// The item's length; throws sifkit::ConversionError for an index past the end.
    int16_t getResultFieldLength(int32_t index, bool isMaster);
    /// fieldCount of the table's first item; for a table without items, the side manager's field
    /// count (0 when the collection is empty).
    int16_t getResultFieldCount(bool isMaster, const std::string& tableName);
    std::string getConstantNewField() const { return "2"; }
    void setMasterFieldList(const std::string& fieldListIn);
    /// recordCount of the table's first item plus 1; -1 without one.
    int32_t getResultRecordCountForTable(const std::string& tableName, bool isMaster);
    /// dataValue of the first field description (isFieldDesc) of the table and field at or after
    /// currIndex; "".
    std::string getResultFieldValueFromFieldName(const std::string& tableName, bool isMaster,
                                                 const std::string& fieldName, int32_t currIndex);
    /// recordNumber of the table's first item at or after currIndex; 0.
    int32_t getResultRecordNumber(const std::string& tableName, bool isMaster, int32_t currIndex);
    /// Position of the table's first item with that record number; 0.
    int32_t getIndexForRecordNumber(const std::string& tableName, int32_t recordNumber, bool isMaster);
    /// currentCount + the table's field count (the position of the next record); 0 without items.
    int32_t incrementRecordCount(const std::string& tableName, bool isMaster, int32_t currentCount);
    /// currentCount - the table's field count (0 without items), or 1 when that is below 1.
    int32_t DecrementRecordCount(const std::string& tableName, bool isMaster, int32_t currentCount);
    /// getResultRecordCountForTable when the table has an item, else 0.
    int32_t getLastRecordForTable(const std::string& tableName, bool isMaster);
    bool saveToXML() const { return saveToXML_; }
    void saveToXML(bool value) { saveToXML_ = value; }
    /// "No Change", "New Table", "New Field", "Different Datatype", "Different Size",
    /// "New Record", "Different Data Value" for 0 to 6, "N/A" otherwise.
    std::string getChangeDesciption(int16_t changeType) const;
    /// The table's first item with that record number (shared); a new default item without one.
    std::shared_ptr<clsResultSet> getResultSetFromRecordNumber(const std::string& tableName,
                                                               int32_t recordNumber, bool isMaster);
    /// The field's value in the record: getResultFieldValueFromFieldName from the record's first
    /// item of that field; "" when the record has no item of that field.
    std::string getFieldValueFromRecordNumber(const std::string& tableName, const std::string& fieldName,
                                              int32_t recordNumber, bool isMaster);
    /// The change code of the record's first item of that field; "" without one or for a record
    /// number below 1.
    std::string getFieldChangeTypeFromRecordNumber(const std::string& tableName, const std::string& fieldName,
                                                   int32_t recordNumber, bool isMaster);
    /// 1 + the number of data items of the table. Cached per table name in
    /// getTotalRecordsForTable (master) and getTotalRecordsForSourceTable (source): counted again
    /// when the name differs from getCurrentTableName or either total is below 1. Counting raises
    /// UpdateCount every 50 items ("Compiling Differences") and once with the item count for both
    /// numbers ("Done").
    int32_t getRecordCountInResultsForTable(const std::string& tableName, bool isMaster);
    /// True when currentIndex is greater than getRecordCountInResultsForTable.
    bool lastRecord(const std::string& tableName, int32_t currentIndex, bool isMaster);

    // --- record writes and rollback ---------------------------------------------------------
    // Each side's current record is the one its manager's current record number names in the
    // published results. The writes return "Successfully Completed", or why nothing was changed
    // (also shown through the message-box handler). A write changes exactly one row or none.

    /// Restores the changed record (on the Modified side when isMaster) from the rollback file
    /// the last update wrote, finding it by the values the update wrote over it.
    std::string rollBackFromRecordNumber(const std::shared_ptr<clsDBManager>& masterDatamananger,
                                         const std::shared_ptr<clsDBManager>& sourceDatamanager,
                                         bool isMaster, const std::string& FileName);
    /// The same, finding the changed record with rollbackSql (as getRollBackSQL gave it).
    std::string rollBackFromSQL(const std::shared_ptr<clsDBManager>& masterDatamananger,
                                const std::shared_ptr<clsDBManager>& sourceDatamanager, bool isMaster,
                                const std::string& FileName, const std::string& rollbackSql);
    /// Overwrites the counterpart of the current record (isMaster: the master's record onto the
    /// source side), its primary key excepted, fields paired by name, after saving the old row;
    /// no file, no overwrite. The file replaces an earlier FileName only once the update has
    /// committed: a rejected update leaves the earlier file as it was. getRollBackSQL then gives
    /// the statement that finds the changed record.
    std::string updateRecordFromRecordNumber(const std::shared_ptr<clsDBManager>& masterDatamanager,
                                             const std::shared_ptr<clsDBManager>& sourceDatamanager,
                                             bool isMaster, const std::string& FileName);
    /// updateRecordFromRecordNumber with the host's undo entry kept first: keepUndo is called
    /// with the rollback file's name and id once the row is written but before the write
    /// commits; when it returns false (the entry could not be kept) the write is undone and
    /// nothing changes.
    std::string updateRecordWithUndo(
        const std::shared_ptr<clsDBManager>& masterDatamanager,
        const std::shared_ptr<clsDBManager>& sourceDatamanager, bool isMaster, const std::string& FileName,
        const std::function<bool(const std::string& fileName, const std::string& id)>& keepUndo);
    /// Adds the current record of one side (isMaster: the master's) to the other side. "Cannot
    /// copy record." when the results do not report it, it is not exactly one row, or the other
    /// side holds it already.
    std::string copyRecordFromRecordNumber(const std::shared_ptr<clsDBManager>& masterDatamanager,
                                           const std::shared_ptr<clsDBManager>& sourceDatamanager,
                                           bool isMaster);

    // --- change codes ---------------------------------------------------------------------
    std::string getConstantForNoChange() const { return "0"; }
    std::string getConstantForNewTable() const { return "1"; }
    std::string getConstantForNewField() const { return "2"; }
    std::string getConstantForDifferentDataType() const { return "3"; }
    std::string getConstantForDifferentSize() const { return "4"; }
    std::string getConstantForNewRecord() const { return "5"; }
    std::string getConstantForDifferentDataValue() const { return "6"; }

    // --- messages ---------------------------------------------------------------------------
    const std::string& getErrorMessagesForLog() const { return errorMessagesForLog_; }
    void setErrorMessagesForLog(const std::string& errorMessagesForLogIn) {
        errorMessagesForLog_ = errorMessagesForLogIn;
    }
    /// "Connection issues =" + connection message + "Database issues " + SQL message +
    /// "General Issues " + general message, of the chosen side.
    std::string getErrorLogs(bool isMaster);
    /// The name of a field type code.
    std::string getFieldDataDescrition(int16_t dataType) const;
    /// Gives both managers new, empty result collections; published results stay.
    void resetDataManagers();

    // --- progress ---------------------------------------------------------------------------
    /// Records processed in the current data pass, or 1 while it is 0.
    int32_t getDataProgressStatus() const;
    /// The current data pass's total, or 100 while it is 0.
    int32_t getDataProgressStatusMax() const;
    void testEvent() {}
    /// Stores both numbers and raises UpdateCount.
    void setCurrentProgressCount(int32_t currentProgressCountIn, int32_t currentProgressCountMaxIn,
                                 const std::string& readingFrom);
    int32_t getCurrentProgressCountMax() const { return currentProgressCountMax_; }
    int32_t getCurrentProgressCount() const { return currentProgressCount_; }
    const std::string& getCurrentTableName() const { return currentTableName_; }
    void setCurrentTableName(const std::string& tableNameIn) { currentTableName_ = tableNameIn; }
    int32_t getTotalRecordsForTable() const { return totalRecordsForTable_; }
    void setTotalRecordsForTable(int32_t totalRecordsForTableIn) {
        totalRecordsForTable_ = totalRecordsForTableIn;
    }
    int32_t getTotalRecordsForSourceTable() const { return totalRecordsForSourceTable_; }
    void setTotalRecordsForSourceTable(int32_t totalRecordsForSourceTableIn) {
        totalRecordsForSourceTable_ = totalRecordsForSourceTableIn;
    }
    int32_t getCurrentRecordCountMaster() const { return currentRecordCountMaster_; }
    void setCurrentRecordCountMaster(int32_t currentRecordCountMasterIn) {
        currentRecordCountMaster_ = currentRecordCountMasterIn;
    }
    int32_t getCurrentRecordCountSource() const { return currentRecordCountSource_; }
    void setCurrentRecordCountSource(int32_t currentRecordCountSourceIn) {
        currentRecordCountSource_ = currentRecordCountSourceIn;
    }

    // --- record pairing ---------------------------------------------------------------------
    /// The first record number of the chosen side whose field primaryKeyName holds
    /// primaryKeyValue (as getFieldValueFromRecordNumber reads it, so a record number without an
    /// item of that field holds ""), searched from 1 to the highest record number reported for
    /// the table on that side; 0 when none.
    int32_t getMatchingRecordNumber(bool isMaster, const std::string& tableName,
                                    const std::string& primaryKeyName, const std::string& primaryKeyValue);
    /// The record number, on the other side, of the record with the same primary key value, the
    /// primary key text of the table's items serving as one field name; 0 when the table has no
    /// item (or an empty key text) on this side or nothing matches.
    int32_t lookupRelatedRecordFromRecordNumber(const std::string& tableName, bool isMaster,
                                                int32_t recordNumber);
    const std::shared_ptr<clsResultSet>& getMatchingResultSet() const { return matchingResultSet_; }
    void setMatchingResultSet(const std::shared_ptr<clsResultSet>& matchingResultSetIn) {
        matchingResultSet_ = matchingResultSetIn;
    }
    bool getRecordsExistInSourceOnly() const { return recordsExistInSourceOnly_; }
    void setRecordsExistInSourceOnly(bool recordsExistInSourceOnlyIn) {
        recordsExistInSourceOnly_ = recordsExistInSourceOnlyIn;
    }
    bool getRecordsExistInMasterOnly() const { return recordsExistInMasterOnly_; }
    void setRecordsExistInMasterOnly(bool recordsExistInMasterOnlyIn) {
        recordsExistInMasterOnly_ = recordsExistInMasterOnlyIn;
    }
    int32_t getBufferedAmount() const { return bufferedAmount_; }
    void setBufferedAmount(int32_t bufferedAmountIn) { bufferedAmount_ = bufferedAmountIn; }
    int32_t getStartPoint() const { return startPoint_; }
    void setStartPoint(int32_t startPointIn) { startPoint_ = startPointIn; }
    /// The rollback file name shared by the process.
    std::string getSaveFile() const;
    /// The id of that rollback file, written into it by the update; a host's undo entry keeps
    /// it so that a roll back can tell the file from one a later update wrote under that name.
    std::string getSaveFileId() const;
    const std::string& getRollBackSQL() const { return rollBackSQL_; }
    void setRollBackSQL(const std::string& rollBackSQLIn) { rollBackSQL_ = rollBackSQLIn; }

    // --- typed results ------------------------------------------------------------------------
    // What the last runs found, as values: what the result collections and message texts show,
    // without reading them.

    /// The last structure comparison (beginFullDatabaseCompare, beginTablebaseCompare), every
    /// entry included whatever showDifferencesOnly says.
    const StructureResult& lastStructureResult() const { return lastStructure_; }
    /// The last data comparison (beginTableCompareFromFieldListFromDbManagers and the runs that
    /// start it, getBufferedResults): its outcome, which tells no differences from a failure,
    /// and every record reported with its counterpart.
    const DataResult& lastDataResult() const { return lastData_; }
    /// The failures both side managers hold now (since their messages were last cleared), the
    /// Original's first, each with its side.
    std::vector<Failure> lastFailures() const;

private:
    clsDBManager& master();
    clsDBManager& source();
    std::shared_ptr<clsDBManager> adopt(const std::shared_ptr<clsDBManager>& manager);
    const ResultCollectionPtr& published(bool isMaster) const {
        return isMaster ? masterResults_ : sourceResults_;
    }
    bool indexIsValid(int32_t index, bool isMaster);
    std::shared_ptr<clsResultSet> itemAt(int32_t index, bool isMaster);
    template <typename Getter> std::string itemText(int32_t index, bool isMaster, Getter getter);
    template <typename Getter> bool itemFlag(int32_t index, bool isMaster, Getter getter);
    /// The control's own failure (#70 to #77), appended to the master manager's general message
    /// and then to the source manager's.
    void appendControlFailure(int32_t masterNumber, int32_t sourceNumber);
    void appendControlFailure(int32_t number) { appendControlFailure(number, number); }
    void clearManagerMessages();
    /// What a cancelled run leaves: its #78 failure, the typed results marked; returns False.
    bool cancelled();
    /// Whether the published results of a side report the record as a new record.
    bool reportsRecord(const std::string& tableName, int32_t recordNumber, bool isMaster);
    /// Restores the receiving side's record from the rollback file, as the file says where it is.
    std::string restore(clsDBManager& masterSide, clsDBManager& sourceSide, bool isMaster);
    /// Publishes both managers' collections when each holds an item; False otherwise.
    bool publishIfBothFilled(clsDBManager& masterSide, clsDBManager& sourceSide);
    /// Publishes a data run's collections and sets the one-side flags; False when neither
    /// side has an item.
    bool publishDataRun(clsDBManager& masterSide, clsDBManager& sourceSide);
    /// The full (no visits) or window passes of both directions on the control's managers,
    /// their XML output and publication; keeps the typed result. answerBothWays lets a full run
    /// answer both directions from one reading of each side.
    bool runCountedPasses(std::optional<int64_t> visits, bool answerBothWays);
    /// The one-table structure: both managers set up for the table (the Original's read as
    /// masterType, the Modified's as sourceType), each table's structure loaded, the change
    /// codes given; keeps the typed result.
    void compareOneTable(const std::string& masterConnectionString, const std::string& sourceConnectionString,
                         const std::string& tableName, const std::string& masterType,
                         const std::string& sourceType);
    int32_t highestRecordNumber(const std::string& tableName, bool isMaster);

    bool compareTables_ = false;
    bool compareTableDataTypes_ = false;
    bool compareFieldLengths_ = false;
    bool showSameTables_ = false;
    bool showDifferencesOnly_ = false;
    bool typesByFamily_ = false;
    bool showDataOnly_ = false;
    std::vector<std::string> pairingKey_;
    ValueOptions valueOptions_;
    bool saveToXML_ = false;
    ResultCollectionPtr masterResults_;
    ResultCollectionPtr sourceResults_;
    std::string indexErrorText_ = "Error index is greater then results returned";
    std::shared_ptr<clsDBManager> masterDataManager_;
    std::shared_ptr<clsDBManager> sourceDataManager_;
    std::string pathForErrLog_;
    std::string errorMessagesForLog_;
    bool logErrors_ = false;
    int32_t currentProgressCountMax_ = 1;
    int32_t currentProgressCount_ = 1;
    std::string currentTableName_;
    int32_t totalRecordsForTable_ = -1;
    int32_t totalRecordsForSourceTable_ = 0;
    int32_t currentRecordCountMaster_ = 0;
    int32_t currentRecordCountSource_ = 0;
    std::shared_ptr<clsResultSet> matchingResultSet_;
    bool recordsExistInSourceOnly_ = false;
    bool recordsExistInMasterOnly_ = false;
    int32_t bufferedAmount_ = 0;
    int32_t startPoint_ = 0;
    std::string rollBackSQL_;
    int32_t dataProgressStatus_ = 0;    ///< records processed in the current data pass
    int32_t dataProgressStatusMax_ = 0; ///< total of the current data pass
    std::shared_ptr<HostHooks> hooks_;
    StructureResult lastStructure_;
    DataResult lastData_;
};

} // namespace sifkit
