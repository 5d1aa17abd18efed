// SPDX-License-Identifier: MIT
#include "Failure.h"

#include <sifkit/Credentials.h>

#include <sifkit/clsData.h>

namespace sifkit {

namespace {
const char* const successText = "Successfully Completed";

void closeIfOpen(Recordset& recordset) noexcept {
    if (recordset.state() == 1)
        recordset.close();
}

void closeIfOpen(Connection& connection) noexcept {
    if (connection.state() == 1)
        connection.close();
}
} // namespace

std::string clsData::getAccessConnections(const std::string& connectionString) {
    try {
        getAccessConnection(connectionString);
        return successText;
    } catch (...) {
        // The text is shown to users and kept in logs: a password never appears in it.
        return detail::currentFailureText() +
               " #2 Error occurred when attempting to open connection using the following connection "
               "string " +
               " " + maskCredentials(connectionString) + " ||";
    }
}

void clsData::getAccessConnection(const std::string& connectionString) {
    if (accessCn.state() != 1)
        accessCn.open(connectionString);
}

std::string clsData::getAccessRecordsFromSQL(const std::string& sSql, int32_t maxRows) {
    try {
        rsAccess.open(sSql, accessCn, Recordset::Source::Text, maxRows);
        return successText;
    } catch (...) {
        return detail::recordsOpenFailureText(3, sSql);
    }
}

void clsData::getAccessRecords(const std::string& sSql) {
    try {
        rsAccess.open(sSql, accessCn, Recordset::Source::Text);
    } catch (...) {
    }
}

std::string clsData::getAccessRecordsFromSQL2(const std::string& sSql) {
    try {
        getAccessRecords2(sSql);
        return successText;
    } catch (...) {
        return detail::recordsOpenFailureText(4, sSql);
    }
}

void clsData::getAccessRecords2(const std::string& sSql) {
    rsAccess2 = Recordset();
    rsAccess2.open(sSql, accessCn, Recordset::Source::Text);
}

std::string clsData::openAccessTables(const std::string& tableName) {
    try {
        openAccessTable(tableName);
        return successText;
    } catch (...) {
        return detail::currentFailureText() +
               " #1 Error Occurred when attempting to open the following table: " + tableName + " " + " ||";
    }
}

void clsData::openAccessTable(const std::string& tableName) {
    rsAccess.open(tableName, accessCn, Recordset::Source::Table);
}

void clsData::getOracleConnection(const std::string& connectionString) {
    if (oracleCn.state() != 1)
        oracleCn.open(connectionString);
}

void clsData::getOrcaleRecords(const std::string& sSql) {
    rsOracle.open(sSql, oracleCn, Recordset::Source::Text);
}

void clsData::saveRecordsToXML(const std::string& FileName) {
    try {
        rsAccess.save(FileName);
    } catch (...) {
    }
}

void clsData::closeRecordSet() {
    closeIfOpen(rsAccess);
}

void clsData::CloseAccess() {
    closeIfOpen(rsAccess);
    closeIfOpen(accessCn);
}

void clsData::CloseAccess2() {
    closeIfOpen(rsAccess2);
}

void clsData::closeAll() {
    closeIfOpen(rsOracle);
    closeIfOpen(rsAccess);
    closeIfOpen(oracleCn);
    closeIfOpen(accessCn);
    accessCn = Connection();
    rsAccess = Recordset();
    rsAccess2 = Recordset();
    rsOracle = Recordset();
    oracleCn = Connection();
}

} // namespace sifkit
