// SPDX-License-Identifier: MIT
#pragma once

#include "Backend.h"

#include <list>
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace sifkit::platform {

struct SqliteScanState;

/// An SQLite 3 database file opened with libsqlite3 itself. Values are read and bound in the
/// storage class SQLite holds them in (a text stays a text, a real keeps every bit, a text
/// may hold NUL bytes), so comparisons follow SQLite's own equality. Type codes and sizes
/// follow the declared column types as the SQLite ODBC driver reports them, so a file reads
/// the same through either path. Names are quoted as for the driver (brackets around plain
/// names, double quotes otherwise), and every statement run goes to traceStatement.
class SqliteBackend final : public Backend {
public:
    /// Opens an existing file for reading and writing; busyTimeoutMs is how long a statement
    /// waits for another connection's lock. Throws sifkit::DatabaseError on failure.
    explicit SqliteBackend(const std::string& path, int busyTimeoutMs = 5000);
    ~SqliteBackend() override;

    const Dialect& dialect() const override { return dialect_; }
    RowSet query(const std::string& sql, const std::vector<Value>& params, int32_t maxRows = 0) override;
    void scan(const std::string& sql, const std::vector<Value>& params, const ColumnsSink& onColumns,
              const RowSink& onRow) override;
    void scanRows(const std::string& sql, const std::vector<Value>& params,
                  const std::vector<int32_t>& wanted, const ColumnsSink& onColumns,
                  const RowSink& onRow) override;
    bool skipsUnwantedRows() const override { return true; }
    bool runsOnAnyThread() const override;
    bool rowExists(const std::string& sql, const std::vector<Value>& params) override;
    int64_t execute(const std::string& sql, const std::vector<Value>& params) override;
    RowSet tables() override;
    RowSet primaryKeys(const std::string& table) override;
    std::vector<std::vector<std::string>> uniqueKeys(const std::string& table) override;
    RowSet foreignKeysReferencing(const std::string& primaryKeyTable) override;
    RowSet foreignKeysDeclaredBy(const std::string& foreignKeyTable) override;
    std::vector<std::string> looselyCollatedColumns(const std::string& table) override;
    void beginTransaction() override;
    bool inTransaction() const override;
    void commit() override;
    void rollback() noexcept override;

private:
    int busyTimeoutMs_ = 5000; ///< how long a locked file is waited for unless the host says otherwise
    struct StatementDeleter {
        void operator()(sqlite3_stmt* statement) const noexcept;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;
    struct Prepared {
        std::string sql;  ///< as the caller gave it
        std::string text; ///< as it runs
        Statement statement;
    };

    /// A prepared statement for the text, reset and with the parameters bound; reused while it
    /// stays among the recent ones. The text must hold one statement.
    sqlite3_stmt* prepared(const std::string& sql, const std::vector<Value>& params);
    /// Binds the values to the statement's "?" marks in order.
    void bindAll(sqlite3_stmt* statement, const std::vector<Value>& params, const std::string& sql);
    /// Steps once; true while a row is there. Throws on failure.
    bool step(sqlite3_stmt* statement);
    /// Runs the statement and hands its rows to onRow.
    void forEachRow(sqlite3_stmt* statement, const ColumnsSink& onColumns, const RowSink& onRow,
                    int32_t maxRows);
    /// Scans inside SQLite's own statement loop: every row's values go to onRow from a
    /// function the statement calls (`wanted` null), or only the wanted rows are read at all.
    /// Reading values through the column interface costs several calls a cell; the function
    /// gets them all at once. A query that cannot be wrapped is read row by row.
    void scanInDatabase(const std::string& sql, const std::vector<Value>& params,
                        const std::vector<int32_t>* wanted, const ColumnsSink& onColumns,
                        const RowSink& onRow);
    /// The inner query wrapped for scanInDatabase, its parameters bound; null when it cannot be.
    Statement wrapped(sqlite3_stmt* inner, bool picking, const std::vector<Value>& params);
    [[noreturn]] void fail(int code, const std::string& what) const;

    sqlite3* db_ = nullptr;
    Dialect dialect_;
    std::list<Prepared> recent_;            ///< most recently used first
    SqliteScanState* activeScan_ = nullptr; ///< what the scan functions report to, while one runs
};

} // namespace sifkit::platform
