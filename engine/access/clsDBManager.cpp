// SPDX-License-Identifier: MIT
#include "model/Messages.h"
#include "model/Statement.h"

#include <sifkit/Credentials.h>
#include <sifkit/RowFilter.h>

#include <sifkit/clsDBManager.h>

namespace sifkit {

namespace {
const char* yesNo(bool value) {
    return value ? "True" : "False";
}
} // namespace

clsDBManager::clsDBManager() {
    initializeValues();
}

void clsDBManager::setConnectionString(const std::string& connectionStringIn) {
    connectionString_ = connectionStringIn;
    if (!connectionStringIn.empty())
        isAccess_ =
            connectionStringIn.find("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") != std::string::npos &&
            connectionStringIn.find(".mdb") != std::string::npos;
}

void clsDBManager::initializeValues() {
    connectionString_.clear();
    userID_.clear();
    passWord_.clear();
    dataManager_ = std::make_shared<clsData>();
    databaseSchema_ = Recordset();
    results_ = std::make_shared<ResultCollection>();
    isMasterDatabase_ = false;
    tableName_.clear();
    tableDataType_.clear();
    isSorted_ = false;
    isRecordMatched_ = false;
    whereClause_.clear();
    sSql_.clear();
    newTable_ = false;
    tableCatalog_.clear();
    tableSchema_.clear();
    fieldList_.clear();
    rowFilter_.clear();
    currentRecordNumber_ = -1;
    resultSetToCopy_ = std::make_shared<clsResultSet>();
    recordCount_ = -1;
    isAccess_ = false;
    xmlFileName_.clear();
    bsaveToXML_ = false;
    bListDBOjectsOnly_ = false;
    useDSN_ = true;
    returnConnectionMessage_.clear();
    returnSQLMessage_.clear();
    returnMessage_.clear();
    showViews_ = false;
    fieldCount_ = 0;
    whereStatement_.reset();
    whereText_.clear();
    statement_.reset();
    statementText_.clear();
    failures_.clear();
}

void clsDBManager::clearMessages() {
    returnConnectionMessage_.clear();
    returnSQLMessage_.clear();
    returnMessage_.clear();
    failures_.clear();
}

void clsDBManager::appendFailure(const Failure& failure) {
    std::string& text = failure.kind == MessageKind::Connection ? returnConnectionMessage_
                        : failure.kind == MessageKind::Sql      ? returnSQLMessage_
                                                                : returnMessage_;
    text += failure.text;
    failures_.push_back(failure);
}

void clsDBManager::resetResult() {
    results_ = std::make_shared<ResultCollection>();
}

void clsDBManager::destroyValues() {
    tableCatalog_.clear();
    tableSchema_.clear();
}

void clsDBManager::openDatabaseConnection() {
    try {
        dataManager_->getAccessConnection(connectionString_);
        returnConnectionMessage_ += " Successfully Completed||";
    } catch (const std::exception&) {
        appendFailure(detail::connectionFailure(detail::Cause::current(), connectionString_));
    }
}

void clsDBManager::closeConnection() {
    dataManager_->CloseAccess(); // closing cannot fail
}

Connection clsDBManager::getDatabaseConnection() const {
    return dataManager_->getConnection();
}

void clsDBManager::openBuilt(Recordset& recordset, const detail::Statement& statement,
                             int32_t maxRows) const {
    Connection connection = getDatabaseConnection();
    const platform::Backend& backend = platform::requireBackend(connection);
    std::vector<Value> parameters;
    const std::string sql = statement.render(backend.dialect(), parameters);
    // The rows are those of the statement's table, also where the driver names it without its
    // schema: writes must go to that table and no other of the same bare name.
    recordset.open(sql, parameters, connection, maxRows, statement.table);
}

void clsDBManager::openStatement(Recordset& recordset, const std::string& text, int32_t maxRows) const {
    if (statement_ && statementText_ == text)
        openBuilt(recordset, *statement_, maxRows);
    else
        recordset.open(text, getDatabaseConnection(), Recordset::Source::Text, maxRows);
}

void clsDBManager::openDataBaseRecordsFromQuery(const std::string& sSql, int32_t maxRows) {
    try {
        openStatement(dataManager_->rsAccess, sSql, maxRows);
        returnSQLMessage_ += " Successfully Completed ||";
    } catch (const std::exception&) {
        appendFailure(detail::openFailure(3, detail::Cause::current(), sSql));
    }
}

void clsDBManager::openSecondDataBaseRecordsFromQuery(const std::string& sSql) {
    try {
        dataManager_->rsAccess2 = Recordset();
        openStatement(dataManager_->rsAccess2, sSql);
        returnSQLMessage_ += " Successfully Completed ||";
    } catch (const std::exception&) {
        appendFailure(detail::openFailure(4, detail::Cause::current(), sSql));
    }
}

Recordset clsDBManager::getDatabaseRecords() const {
    return dataManager_->rsAccess;
}

Recordset clsDBManager::getDatabaseRecords2() const {
    return dataManager_->rsAccess2;
}

void clsDBManager::closeRecordSet() {
    dataManager_->closeRecordSet(); // closing cannot fail
}

void clsDBManager::closeRecordSet2() {
    dataManager_->CloseAccess2(); // closing cannot fail
}

void clsDBManager::closeSecondConnection() {
    closeRecordSet2();
}

void clsDBManager::saveToXML(const std::string& xmlFileName) {
    dataManager_->saveRecordsToXML(xmlFileName);
}

std::string clsDBManager::toString() const {
    std::string s;
    s.reserve(512);
    // The line may end up in logs: a password never appears in it.
    s += "connectionString=" + maskCredentials(connectionString_);
    s += std::string(",isMasterDatabase=") + yesNo(isMasterDatabase_);
    s += ",tableName=" + tableName_;
    s += ",tableDataType=" + tableDataType_;
    s += std::string(",isSorted=") + yesNo(isSorted_);
    s += std::string(",isRecordMatched=") + yesNo(isRecordMatched_);
    s += ",whereClause=" + whereClause_;
    s += ",sSql=" + sSql_;
    s += std::string(",newTable=") + yesNo(newTable_);
    s += ",tableCatalog=" + tableCatalog_;
    s += ",tableSchema=" + tableSchema_;
    s += ",fieldList=" + fieldList_;
    s += ",currentRecordNumber=" + std::to_string(currentRecordNumber_);
    s += ",recordCount=" + std::to_string(recordCount_);
    s += std::string(",isAccess=") + yesNo(isAccess_);
    s += ",xmlFileName=" + xmlFileName_;
    s += std::string(",bsaveToXML=") + yesNo(bsaveToXML_);
    s += std::string(",bListDBOjectsOnly=") + yesNo(bListDBOjectsOnly_);
    s += std::string(",useDSN =") + yesNo(useDSN_);
    s += ",returnConnectionMessage =" + returnConnectionMessage_;
    s += ",returnSQLMessage =" + returnSQLMessage_;
    return s;
}

bool clsDBManager::setRowFilter(const std::string& condition) {
    if (!condition.empty() && !whyNotARowFilter(condition).empty())
        return false;
    rowFilter_ = condition;
    return true;
}

bool clsDBManager::executeSQL() {
    returnSQLMessage_ = "Successfully Completed";
    try {
        getDatabaseConnection().execute(sSql_);
        return true;
    } catch (const std::exception&) {
        // The message replaces what was there.
        returnSQLMessage_.clear();
        appendFailure(detail::executeFailure(detail::Cause::current(), sSql_));
        return false;
    }
}

void clsDBManager::showMessage(const std::string& text) const {
    if (hooks_)
        hooks_->showMessage(text);
}

} // namespace sifkit
