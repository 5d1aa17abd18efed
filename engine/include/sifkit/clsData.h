// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataAccess.h>
#include <sifkit/sifkit_export.h>

#include <string>

namespace sifkit {

/// The connection wrapper of one database side: its connection, a main and a second record
/// set, and a record set on a private second connection. Operations that return a text return
/// "Successfully Completed" or the failure as "<number> <description> #n ... ||"; those
/// documented as not catching errors throw sifkit::Error.
class SIFKIT_EXPORT clsData {
public:
    /// Opens the connection unless it is already open.
    std::string getAccessConnections(const std::string& connectionString);
    /// As getAccessConnections, without a result text; throws on failure.
    void getAccessConnection(const std::string& connectionString);
    /// Opens the main record set on the SQL text (at most maxRows rows when above 0).
    std::string getAccessRecordsFromSQL(const std::string& sSql, int32_t maxRows = 0);
    /// As getAccessRecordsFromSQL, without a result text; failures are ignored.
    void getAccessRecords(const std::string& sSql);
    /// Replaces the second record set by a new one opened on the SQL text.
    std::string getAccessRecordsFromSQL2(const std::string& sSql);
    /// As getAccessRecordsFromSQL2, without a result text; throws on failure.
    void getAccessRecords2(const std::string& sSql);
    /// Opens the main record set on a table.
    std::string openAccessTables(const std::string& tableName);
    /// As openAccessTables, without a result text; throws on failure.
    void openAccessTable(const std::string& tableName);
    /// Opens the private second connection; throws on failure.
    void getOracleConnection(const std::string& connectionString);
    /// Opens rsOracle on the private connection; throws on failure.
    void getOrcaleRecords(const std::string& sSql);
    /// Saves the main record set as XML; failures are ignored.
    void saveRecordsToXML(const std::string& FileName);

    Connection getConnection() const { return accessCn; }
    void setConnection(const Connection& connectionIn) { accessCn = connectionIn; }

    void closeRecordSet() noexcept;
    /// Closes the main record set, then the connection.
    void CloseAccess() noexcept;
    /// Closes the second record set.
    void CloseAccess2() noexcept;
    /// Closes everything and starts again from fresh, closed objects.
    void closeAll();

    Connection accessCn; ///< the side's connection
    Recordset rsAccess;  ///< main record set
    Recordset rsAccess2; ///< second record set, used to look for a matching record
    Recordset rsOracle;  ///< record set of the private connection
    Connection oracleCn; ///< the private second connection
};

} // namespace sifkit
