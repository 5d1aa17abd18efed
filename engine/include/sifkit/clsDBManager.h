// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataAccess.h>
#include <sifkit/Failure.h>
#include <sifkit/HostHooks.h>
#include <sifkit/ResultCollection.h>
#include <sifkit/clsData.h>
#include <sifkit/clsResultSet.h>
#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sifkit {

namespace detail {
struct Statement;
} // namespace detail

/// One database side (the Original or the Modified database): its connection wrapper, working
/// state (table, SQL, where clause, current record number, options), its result collection and
/// three message texts (connection, SQL, general) that report how the last operations went.
/// No operation throws except getAccessPrimaryKey, whose schema query failure propagates.
class SIFKIT_EXPORT clsDBManager {
public:
    clsDBManager();

    // --- accessors ---------------------------------------------------------------------------
    const std::string& getConnectionString() const { return connectionString_; }
    /// Stores the text; a non-empty text also sets isAccess: True when it contains both
    /// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" and ".mdb".
    void setConnectionString(const std::string& connectionStringIn);
    const std::shared_ptr<clsData>& getDataManager() const { return dataManager_; }
    void setDataManager(const std::shared_ptr<clsData>& dataManagerIn) { dataManager_ = dataManagerIn; }
    bool getNewTable() const { return newTable_; }
    void setNewTable(bool newTableIn) { newTable_ = newTableIn; }
    Recordset getDatabaseSchema() const { return databaseSchema_; }
    void setDatabaseSchema(const Recordset& databaseSchemaIn) { databaseSchema_ = databaseSchemaIn; }
    const ResultCollectionPtr& getResults() const { return results_; }
    void setResults(const ResultCollectionPtr& resultsIn) { results_ = resultsIn; }
    bool getIsMasterDatabase() const { return isMasterDatabase_; }
    void setIsMasterDatabase(bool isMasterDatabaseIn) { isMasterDatabase_ = isMasterDatabaseIn; }
    const std::string& getTableName() const { return tableName_; }
    void setTableName(const std::string& tableNameIn) { tableName_ = tableNameIn; }
    /// Always "": the catalogue is not used.
    const std::string& getTableCatalog() const { return tableCatalog_; }
    void setTableCatalog(const std::string&) { tableCatalog_.clear(); }
    const std::string& getTableSchema() const { return tableSchema_; }
    void setTableSchema(const std::string&) { tableSchema_.clear(); }
    const std::string& getTableDataType() const { return tableDataType_; }
    void setTableDataType(const std::string& tableDataTypeIn) { tableDataType_ = tableDataTypeIn; }
    bool getIsSorted() const { return isSorted_; }
    void setIsSorted(bool isSortedIn) { isSorted_ = isSortedIn; }
    /// "True" or "False".
    std::string getIsRecordMatched() const { return isRecordMatched_ ? "True" : "False"; }
    void setIsRecordMatched(bool isRecordMatchedIn) { isRecordMatched_ = isRecordMatchedIn; }
    const std::string& getWhereClause() const { return whereClause_; }
    void setWhereClause(const std::string& whereClauseIn) { whereClause_ = whereClauseIn; }
    const std::string& getSql() const { return sSql_; }
    void setSQL(const std::string& sSqlIn) { sSql_ = sSqlIn; }
    const std::string& getFieldList() const { return fieldList_; }
    void setFieldList(const std::string& fieldListIn) { fieldList_ = fieldListIn; }
    /// The condition the data runs read this side's records under ("" for every record). Returns
    /// false, keeping the filter it had, when the text is not one condition (whyNotARowFilter).
    bool setRowFilter(const std::string& condition);
    const std::string& rowFilter() const { return rowFilter_; }
    int32_t getCurrentRecordNumber() const { return currentRecordNumber_; }
    void setCurrentRecordNumber(int32_t currentRecordNumberIn) {
        currentRecordNumber_ = currentRecordNumberIn;
    }
    int32_t getRecordCount() const { return recordCount_; }
    void setRecordCount(int32_t recordCountIn) { recordCount_ = recordCountIn; }
    bool getIsAccess() const { return isAccess_; }
    void setIsAccess(bool isAccessIn) { isAccess_ = isAccessIn; }
    const std::string& getXmlFileName() const { return xmlFileName_; }
    void setXmlFileName(const std::string& xmlFileNameIn) { xmlFileName_ = xmlFileNameIn; }
    bool getSaveToXml() const { return bsaveToXML_; }
    void setSaveToXml(bool bsaveToXMLIn) { bsaveToXML_ = bsaveToXMLIn; }
    bool getListDBObjectsOnly() const { return bListDBOjectsOnly_; }
    void setListDBObjectsOnly(bool bListDBOjectsOnlyIn) { bListDBOjectsOnly_ = bListDBOjectsOnlyIn; }
    const std::shared_ptr<clsResultSet>& getResultSetToCopy() const { return resultSetToCopy_; }
    void setResultSetToCopy(const std::shared_ptr<clsResultSet>& resultSetToCopyIn) {
        resultSetToCopy_ = resultSetToCopyIn;
    }
    bool getUseDSN() const { return useDSN_; }
    void setUseDSN(bool useDSNIn) { useDSN_ = useDSNIn; }
    const std::string& getUserID() const { return userID_; }
    void setUserID(const std::string& userIDIn) { userID_ = userIDIn; }
    const std::string& getPassWord() const { return passWord_; }
    void setPassWord(const std::string& passWordIn) { passWord_ = passWordIn; }
    const std::string& getReturnConnectionMessage() const { return returnConnectionMessage_; }
    void setReturnConnectionMessage(const std::string& messageIn) { returnConnectionMessage_ = messageIn; }
    const std::string& getReturnMessage() const { return returnMessage_; }
    void setReturnMessage(const std::string& messageIn) { returnMessage_ = messageIn; }
    const std::string& getReturnSQLMessage() const { return returnSQLMessage_; }
    void setReturnSQLMessage(const std::string& messageIn) { returnSQLMessage_ = messageIn; }
    bool getShowViews() const { return showViews_; }
    void setShowViews(bool showViewsIn) { showViews_ = showViewsIn; }
    int32_t getFieldCount() const { return fieldCount_; }
    void setFieldCount(int32_t fieldCountIn) { fieldCount_ = fieldCountIn; }

    // --- life cycle and connection ----------------------------------------------------------
    /// Gives every field its initial value, with a new connection wrapper, schema record set,
    /// empty result collection and result item to copy.
    void initializeValues();
    void clearMessages();
    /// Replaces the result collection with a new, empty one.
    void resetResult();
    void destroyValues();
    /// Opens the connection string and appends the outcome to the connection message.
    void openDatabaseConnection();
    /// Closes the main record set and the connection; failures are ignored.
    void closeConnection();
    Connection getDatabaseConnection() const;

    // --- record sets ------------------------------------------------------------------------
    /// Opens the main record set on the SQL text (at most maxRows rows when above 0) and
    /// appends the outcome to the SQL message.
    void openDataBaseRecordsFromQuery(const std::string& sSql, int32_t maxRows = 0);
    /// The same on the second record set.
    void openSecondDataBaseRecordsFromQuery(const std::string& sSql);
    Recordset getDatabaseRecords() const;
    Recordset getDatabaseRecords2() const;
    void closeRecordSet();
    void closeRecordSet2();
    void closeSecondConnection();
    /// Saves the main record set as XML; failures are ignored.
    void saveToXML(const std::string& xmlFileName);
    /// Runs sSql on the connection. On failure returns false and replaces the SQL message by
    /// "<number> <description> #6 Application attempted using the following SQL <sql> ||".
    bool executeSQL();
    std::string toString() const;

    // --- schema catalogue -------------------------------------------------------------------
    /// databaseSchema becomes the connection's table catalogue; on failure the connection
    /// message is extended by a #5 text.
    void openDatabaseSchema();
    /// The first primary-key column of the table, or "No primary key Defined". Throws
    /// sifkit::Error when the schema query fails.
    std::string getAccessPrimaryKey(const std::string& tableNameIn);
    /// The foreign keys that reference the table; a failure ends quietly with whatever record
    /// set was obtained.
    Recordset getAccessForeignKey(const std::string& tableNameIn);

    // --- SQL building and record writes -----------------------------------------------------
    /// The literal of field loopCount (0-based) of recset by its type code.
    std::string formatWhereClauseFromRecordSet(const Recordset& recset, int32_t loopCount);
    /// sSql becomes "Select * From [" + tableName + "]".
    void formatSQLClause();
    /// sSql becomes "Select * from [" + tableNameIn + "]" followed by whereClauseIn.
    void createSQLStatement(const std::string& whereClauseIn, const std::string& tableNameIn);
    /// Builds "insert into 'T'(A,B)VALUES (1,'x')" from the current row of the main record set.
    void formatInsertClauseFromRecordSet(const std::string& tableNameIn);
    /// Builds the where clause of the record currentRecordNumber from this side's result items.
    void formatWhereClauseFromRecordNumber();
    /// Appends the current row of dataManager2's main record set to this side's table.
    bool adoAddNewRecord(clsDBManager& dataManager2);
    /// Overwrites the row sSql selects with dataManager2's current row (the primary key column
    /// excepted), after saving the old row to FileName for a rollback.
    bool adoUpdateRecord(clsDBManager& dataManager2, bool isMaster, const std::string& FileName);

    // --- rollback store ---------------------------------------------------------------------
    /// Keeps a copy of recset and saves this side's main record set as the rollback file.
    void saveRollBackInformation(const Recordset& recset, bool isMaster, const std::string& FileName);
    /// Shows "test 777 <name> = <value>" for every field of the rollback record set.
    void tempReadRollBackInformation();
    /// Opens the rollback record set on the rollback file.
    bool openRollbackRecord();
    /// Whether the rollback file name carries "ORIGINAL" (isMaster) or "MODIFIED".
    bool checkFileExist(bool isMaster);
    /// Writes the values saved in the rollback file over the row rollbackSql selects.
    bool rollback(bool isMaster, const std::string& rollbackSql);
    /// The rollback file name shared by every manager of the process.
    std::string getRollbackFileName() const;
    void setRollbackFileName(const std::string& fileNameIn);
    /// The id of the rollback file, shared like its name: the one the last update wrote, or the
    /// one a host's undo entry names. While an id is set, a rollback refuses a file of another id
    /// (a later update that wrote the file again).
    std::string getRollbackFileId() const;
    void setRollbackFileId(const std::string& idIn);
    /// Called by adoUpdateRecord once the row is written but before the write commits, with the
    /// rollback file's name and id, so that the host can keep its undo entry first; returning
    /// false, or throwing sifkit::Error (whose text then says why), undoes the write: nothing
    /// changes. Empty: the write commits at once.
    void setBeforeCommit(std::function<bool(const std::string& fileName, const std::string& id)> step) {
        beforeCommit_ = std::move(step);
    }
    /// The rollback record set shared by every manager of the process.
    Recordset getRollbackRecordset() const;
    void setRollbackRecordset(const Recordset& recordsetIn);

    // --- typed failures ----------------------------------------------------------------------
    /// Appends the failure's text to the message text of its kind and keeps the failure typed.
    void appendFailure(const Failure& failure);
    /// The failures reported on this side since its messages were last cleared, in order. The
    /// message texts may since have dropped some (each routine starts its text afresh); these
    /// are all kept.
    const std::vector<Failure>& getFailures() const { return failures_; }

    /// The host's message box and event hooks; the engine control installs its own.
    void setHostHooks(const std::shared_ptr<const HostHooks>& hooks) { hooks_ = hooks; }
    const std::shared_ptr<const HostHooks>& getHostHooks() const { return hooks_; }

private:
    /// Opens text on the record set: the statement this side built when the text is the one it
    /// shows of it, the text itself otherwise (a host's own SQL).
    void openStatement(Recordset& recordset, const std::string& text, int32_t maxRows = 0) const;
    /// Opens a statement this side built, in its exact form.
    void openBuilt(Recordset& recordset, const detail::Statement& statement, int32_t maxRows = 0) const;
    void showMessage(const std::string& text) const;

    std::string connectionString_;
    std::string userID_;
    std::string passWord_;
    std::shared_ptr<clsData> dataManager_;
    Recordset databaseSchema_;
    ResultCollectionPtr results_;
    bool isMasterDatabase_ = false;
    std::string tableName_;
    std::string tableDataType_;
    bool isSorted_ = false;
    bool isRecordMatched_ = false;
    std::string whereClause_;
    std::string sSql_;
    bool newTable_ = false;
    std::string tableCatalog_;
    std::string tableSchema_;
    std::string fieldList_;
    std::string rowFilter_;
    int32_t currentRecordNumber_ = -1;
    std::shared_ptr<clsResultSet> resultSetToCopy_;
    int32_t recordCount_ = -1;
    bool isAccess_ = false;
    std::string xmlFileName_;
    bool bsaveToXML_ = false;
    bool bListDBOjectsOnly_ = false;
    bool useDSN_ = true;
    std::string returnConnectionMessage_;
    std::string returnSQLMessage_;
    std::string returnMessage_;
    bool showViews_ = false;
    int32_t fieldCount_ = 0;

    /// The record whose conditions whereClause shows, when this side built it.
    std::shared_ptr<const detail::Statement> whereStatement_;
    std::string whereText_;
    /// The statement this side built last, and the text it shows of it (sSql as it was then).
    std::shared_ptr<const detail::Statement> statement_;
    std::string statementText_;
    std::vector<Failure> failures_;
    std::function<bool(const std::string&, const std::string&)> beforeCommit_;
    std::shared_ptr<const HostHooks> hooks_;
};

} // namespace sifkit
