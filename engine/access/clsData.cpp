// SPDX-License-Identifier: MIT
#include "model/Messages.h"

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
    } catch (const std::exception&) {
        return detail::connectionFailureText(detail::Cause::current(), connectionString);
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
    } catch (const std::exception&) {
        return detail::openFailureText(3, detail::Cause::current(), sSql);
    }
}

void clsData::getAccessRecords(const std::string& sSql) {
    try {
        rsAccess.open(sSql, accessCn, Recordset::Source::Text);
    } catch (const Error&) {
        // Documented to pass its failure over: the record set stays closed, which callers see.
    }
}

std::string clsData::getAccessRecordsFromSQL2(const std::string& sSql) {
    try {
        getAccessRecords2(sSql);
        return successText;
    } catch (const std::exception&) {
        return detail::openFailureText(4, detail::Cause::current(), sSql);
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
    } catch (const std::exception&) {
        return detail::tableOpenFailureText(detail::Cause::current(), tableName);
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
    } catch (const Error&) {
        // Documented to pass its failure over: the file is then missing, which callers see.
    }
}

void clsData::closeRecordSet() noexcept {
    closeIfOpen(rsAccess);
}

void clsData::CloseAccess() noexcept {
    closeIfOpen(rsAccess);
    closeIfOpen(accessCn);
}

void clsData::CloseAccess2() noexcept {
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
