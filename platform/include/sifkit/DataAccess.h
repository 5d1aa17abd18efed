// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/SifkitError.h>
#include <sifkit/Value.h>
#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sifkit {

namespace platform {
class Backend;
struct RowSet;
struct ConnectionState;
struct RecordsetState;
} // namespace platform

class Recordset;

/// Columns and the values they hold, in order: what finds one record exactly.
using RowLocator = std::vector<std::pair<std::string, Value>>;

/// What a saved record set file carries beside its rows: a locator that finds the record the
/// rows were saved for, and named texts its writer keeps there.
struct FileNotes {
    RowLocator locator;
    std::vector<std::pair<std::string, std::string>> texts;

    /// The text of that name; "" when there is none.
    std::string text(const std::string& name) const {
        for (const auto& [key, value] : texts)
            if (key == name)
                return value;
        return {};
    }
};

/// Receives every statement the data access layer sends to a database, in the text that runs
/// (the connection's spelling), with the values bound to it, in order; catalogue calls come as
/// their ODBC function name and arguments. Connection strings are not statements: a password
/// never reaches it.
using SqlTrace = std::function<void(const std::string& sql, const std::vector<Value>& parameters)>;

/// Installs the process's trace of SQL statements, for a debug trace a user can show with a
/// report of a wrong result; an empty function turns it off. Every connection uses it.
SIFKIT_EXPORT void setSqlTrace(SqlTrace trace);

/// Decides, while a database file is locked by another connection, whether to go on waiting:
/// called with the milliseconds waited so far for this lock and the connection's own timeout
/// (five seconds, or a data source's Timeout); false gives up, and the statement fails with the
/// database's "database is locked". An empty function restores the default, which waits up to
/// that timeout. Every connection to a database file uses it; it may be called on any thread
/// that reads a file.
using LockWait = std::function<bool(int32_t waitedMs, int32_t timeoutMs)>;
SIFKIT_EXPORT void setLockWait(LockWait wait);

/// One database connection. The object is a handle: copies refer to the same connection, as
/// the side managers and their record sets share one. Every failure throws sifkit::Error
/// (sifkit::DatabaseError when the driver reports it).
class SIFKIT_EXPORT Connection {
public:
    /// Schema kinds accepted by openSchema.
    static constexpr int32_t SchemaTables = 20;
    static constexpr int32_t SchemaPrimaryKeys = 28;
    static constexpr int32_t SchemaForeignKeys = 27;

    Connection();

    /// Opens the connection. The text takes one of the forms users see:
    /// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=PATH" for a database file,
    /// "Provider=MSDASQL;Persist Security Info=False;Data Source=NAME" for an ODBC data source,
    /// each optionally followed by " ;User ID=U" and " ;Password=P". Plain ODBC connection
    /// strings ("DSN=...", "Driver=...") are passed through. Fails when already open.
    void open(const std::string& connectionString);
    /// 1 when open, 0 when closed.
    int32_t state() const noexcept;
    void close() noexcept;
    /// Runs a statement; rows it returns are discarded.
    void execute(const std::string& sql);
    /// The table catalogue (kind 20), primary keys (28, restrictions: "", "", table) or foreign
    /// keys (27, restrictions: "", "", referenced table; or "", "", "", "", "", declaring table
    /// for the keys one table holds), with the column names TABLE_NAME,
    /// TABLE_TYPE, COLUMN_NAME, FK_TABLE_NAME, FK_COLUMN_NAME, PK_TABLE_NAME, PK_COLUMN_NAME,
    /// FK_NAME, PK_NAME and their neighbours.
    Recordset openSchema(int32_t kind, const std::vector<std::string>& restrictions) const;
    /// The text given to the last open, as given.
    std::string connectionString() const;
    /// The database product behind the connection ("SQLite", "PostgreSQL", ...); "" when closed.
    std::string dbmsName() const;
    /// True when both handles refer to the same connection object.
    bool sameAs(const Connection& other) const { return state_ == other.state_; }
    /// The data access layer's own connection behind the handle (a type only the library
    /// itself knows); null while closed.
    platform::Backend* backend() const noexcept;

private:
    friend class Recordset; // record sets keep their connection to write their rows back
    std::shared_ptr<platform::ConnectionState> state_;
};

/// A field of the current row of a record set (a light handle; it stays valid while the record
/// set lives).
class SIFKIT_EXPORT Field {
public:
    const std::string& name() const;
    /// The value of the current row (of the new row after addNew, with pending assignments).
    Value value() const;
    /// Assigns a value to the current or new row; written by Recordset::update.
    void setValue(const Value& value);
    /// The numeric type code of the field (2 small integer, 3 integer, 5 double, 129 char,
    /// 200 varchar, 201 long varchar, 135 timestamp, ...).
    int32_t type() const;
    /// The column size the driver reports.
    int32_t definedSize() const;
    /// The byte length of the current value (0 for Null).
    int32_t actualSize() const;

private:
    friend class Recordset;

    /// Columns and the values they hold, in order: what finds one record exactly.
    using RowLocator = std::vector<std::pair<std::string, Value>>;
    Field(std::shared_ptr<platform::RecordsetState> state, int32_t index)
        : state_(std::move(state)), index_(index) {}
    std::shared_ptr<platform::RecordsetState> state_;
    int32_t index_;
};

/// A record set with a client-side cursor: every row is fetched into memory when it is opened,
/// so recordCount, moveFirst and clone are exact and cheap, and several record sets can be open
/// on one connection at once. The object is a handle: copies refer to the same record set;
/// clone() makes an independent one.
class SIFKIT_EXPORT Recordset {
public:
    enum class Source { Text, Table };

    Recordset();

    /// Opens the rows of an SQL text, or of a table (name with or without brackets). With
    /// maxRows above 0 at most that many rows are fetched (enough to learn the columns and a
    /// first row without reading a large table). A failed open leaves the record set closed.
    void open(const std::string& source, const Connection& connection, Source kind = Source::Text,
              int32_t maxRows = 0);
    /// Opens the rows of an SQL text whose "?" marks take the given values. The values are bound
    /// to the statement, never pasted into its text, so no value can change what it means.
    /// baseTable names the one table the rows come from when the caller knows it (writes then go
    /// to that table); "" lets the record set find it.
    void open(const std::string& sql, const std::vector<Value>& parameters, const Connection& connection,
              int32_t maxRows = 0, const std::string& baseTable = "");
    /// Opens a file written by save().
    void openFile(const std::string& path);
    /// Writes field names, type codes, sizes and every row to an XML file. The file is written
    /// under a temporary name and moved into place; an existing file is never overwritten.
    void save(const std::string& path) const;
    /// The same, with notes beside the rows, which a record set opened on the file gives back.
    void save(const std::string& path, const FileNotes& notes) const;
    /// The notes of the file the record set was opened on; empty when it has none.
    const FileNotes& notes() const;
    void close() noexcept;
    /// 1 when open, 0 when closed.
    int32_t state() const noexcept;

    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveNext();
    int32_t recordCount() const;

    /// Number of fields; a closed record set still answers the count of its last open.
    int32_t fieldCount() const;
    /// Field by 0-based position or by name (exact name first, then ignoring letter case).
    Field field(int32_t index) const;
    Field field(const std::string& name) const;

    /// Starts a new row; field assignments fill it and update() inserts it.
    void addNew();
    /// Writes the new row or the assignments made to the current row. The current row is found
    /// again by the values it was read with; a write that would touch no row or several rows
    /// changes nothing and fails.
    void update();
    /// Drops a pending new row or pending assignments.
    void cancelUpdate();

    /// An independent copy of the rows, positioned on the same row.
    Recordset clone() const;
    /// The SQL text or table name the record set was opened on ("" for a file).
    std::string source() const;
    /// The one table the rows come from (kept in saved files too); "" when they do not come
    /// from one table.
    std::string baseTable() const;
    bool sameAs(const Recordset& other) const { return state_ == other.state_; }

private:
    friend class Connection; // its catalogue rows come as record sets
    Recordset(platform::RowSet rows, std::string source);
    std::shared_ptr<platform::RecordsetState> state_;
};

} // namespace sifkit
