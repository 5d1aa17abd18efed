// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"
#include "OdbcApi.h"

#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace sifkit::platform {

/// A database reached through the ODBC driver manager.
class OdbcBackend final : public Backend {
public:
    /// Connects with an ODBC connection string; throws sifkit::DatabaseError on failure.
    explicit OdbcBackend(const std::string& odbcConnectionString);
    ~OdbcBackend() override;

    const Dialect& dialect() const override { return dialect_; }
    RowSet query(const std::string& sql, const std::vector<Value>& params, int32_t maxRows = 0) override;
    /// Streams the rows in blocks of bound columns, not one call per cell.
    void scan(const std::string& sql, const std::vector<Value>& params, const ColumnsSink& onColumns,
              const RowSink& onRow) override;
    /// ODBC requires drivers to be thread safe, and the driver manager (unixODBC since 2.3.1,
    /// unless a driver's entry asks for more) leaves the locking of a connection to the driver.
    bool runsOnAnyThread() const override { return true; }
    bool rowExists(const std::string& sql, const std::vector<Value>& params) override;
    int64_t execute(const std::string& sql, const std::vector<Value>& params) override;
    RowSet tables() override;
    RowSet primaryKeys(const std::string& table) override;
    std::vector<std::vector<std::string>> uniqueKeys(const std::string& table) override;
    RowSet foreignKeysReferencing(const std::string& primaryKeyTable) override;
    RowSet foreignKeysDeclaredBy(const std::string& foreignKeyTable) override;
    std::vector<std::string> looselyCollatedColumns(const std::string& table) override;
    /// PostgreSQL only (OdbcCatalogue.cpp): the keys of every table from pg_catalog in the
    /// form the driver's catalogue functions give them, the columns from one SQLColumns call
    /// a schema, and the first rows from batches of one-row queries.
    std::optional<TableCatalogues> readTableCatalogues(const std::vector<std::string>& tables,
                                                       const std::vector<std::string>& rowTables) override;
    void beginTransaction() override;
    bool inTransaction() const override { return inTransaction_; }
    void commit() override;
    void rollback() noexcept override;

private:
    struct Prepared {
        std::string sql;
        std::string text; ///< sql in the connection's spelling, as it was prepared
        odbc::Handle statement;
    };

    /// A prepared statement for the text, reused while it stays among the recent ones.
    Prepared& prepared(const std::string& sql);
    /// As prepared(), for the text in the spelling it is to be prepared in.
    Prepared& preparedText(const std::string& sql, std::string text);
    /// How a select is run where the driver reads dates and times through stand-ins (psqlodbc
    /// turns 'infinity' into 9999-12-31 23:59:59 and cannot hold years beyond 9999 or before
    /// Christ): its date and time columns as the server's own text, the other columns as they are.
    struct ExactRead {
        std::string text;                ///< "" when the statement runs as written
        std::vector<ColumnInfo> columns; ///< the columns as the statement itself describes them
    };
    /// The exact reading of a select in the connection's spelling, learnt once per text.
    const ExactRead& exactRead(const std::string& text);
    /// The select list of columns with the date and time ones read as text; "" when there is
    /// none of them, or a name comes twice.
    std::string exactSelectList(const std::vector<ColumnInfo>& columns) const;
    /// Executes a statement handle with the parameters bound (text: the statement in the
    /// connection's spelling, run directly unless the handle is prepared on it); returns what
    /// the driver returned.
    SQLRETURN run(odbc::Handle& statement, std::string text, const std::vector<Value>& params, bool prepared);
    RowSet fetchAll(odbc::Handle& statement, int32_t maxRows = 0);
    /// query() without a limit of its own: the driver is only asked to stop after maxRows. sql
    /// names the prepared statement, text is what runs; the columns are exact's where it
    /// changed the text.
    RowSet queryAsWritten(const std::string& sql, const std::string& text, const std::vector<Value>& params,
                          int32_t maxRows, const ExactRead& exact);
    /// The statement in a form whose result the server itself cuts off after maxRows rows, for
    /// drivers that would otherwise transfer the whole result before handing over its first row;
    /// "" when the text is not one plain select that can be wrapped.
    std::string limitedText(const std::string& sql, int32_t maxRows) const;
    static std::vector<ColumnInfo> describeResult(odbc::Handle& statement);
    /// Learns the default schema and the other schemas of a PostgreSQL database.
    void readSchemas();
    /// Sets a MariaDB or MySQL session to the standard's text literals and learns how texts
    /// compare exactly there.
    void prepareMysqlSession();
    /// The connection's current database (MariaDB, MySQL); "" when there is none, or when it
    /// is one of the server's system schemas, whose objects are never listed.
    std::string currentDatabase();
    /// The rows whose named catalogue columns all hold the database (none for ""): MariaDB's
    /// and MySQL's catalogue calls may answer for every database the account can see.
    static RowSet ofDatabase(RowSet rows, const std::string& database,
                             const std::vector<std::string>& catalogueColumns);
    /// For readTableCatalogues: the columns of the tables of one schema as SQLColumns reports
    /// them, by table name.
    std::unordered_map<std::string, std::vector<ColumnInfo>> schemaColumns(const std::string& schema);
    /// Fetches the named columns of an executed statement's rows, in the statement's order.
    RowSet fetchColumns(odbc::Handle& statement, const std::vector<std::string>& names);
    /// For readTableCatalogues: the first row of each table's "SELECT *" with the columns
    /// given, read from one batch of statements; nullopt for the tables it could not read.
    void readFirstRows(const std::vector<std::string>& tables, TableCatalogues& catalogues,
                       const std::unordered_map<std::string, std::vector<ColumnInfo>*>& columns);

    std::shared_ptr<odbc::Handle> environment_;
    odbc::Handle connection_;
    Dialect dialect_;
    std::list<Prepared> recent_; ///< most recently used first
    /// The server cuts results off itself (PostgreSQL): the driver loads a whole result before
    /// its first row, so a query for a few rows is sent with a limit.
    bool limitsOnServer_ = false;
    /// Dates and times are read as the server's text (PostgreSQL); see ExactRead.
    bool datesAsServerText_ = false;
    std::unordered_map<std::string, ExactRead> exactReads_; ///< by statement text
    /// MariaDB or MySQL: a server of several databases, the catalogue being the current one's.
    bool mysqlFamily_ = false;
    bool inTransaction_ = false; ///< between beginTransaction and commit or rollback
};

} // namespace sifkit::platform
