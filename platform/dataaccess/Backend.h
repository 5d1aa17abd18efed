// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/SifkitError.h>
#include <sifkit/Value.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace sifkit {
class Connection;
}

namespace sifkit::platform {

/// What the layer knows of one result column.
struct ColumnInfo {
    std::string name;
    int32_t typeCode = 0;                    ///< numeric field type code (3 integer, 200 varchar, ...)
    int32_t definedSize = 0;                 ///< column size reported by the driver
    Value::Kind storage = Value::Kind::Text; ///< how values of the column are held
    std::string baseTable;                   ///< table the column comes from, "" for expressions
    std::string baseColumn;                  ///< column name in that table
    std::string declaredType;                ///< the type as declared (SQLite files); "" otherwise
    std::string typeName;                    ///< the driver's name of the type (ODBC); "" otherwise
};

using Row = std::vector<Value>;

/// One cell as a scan hands it over, valid only during the row callback: no copy is made.
struct CellView {
    Value::Kind kind = Value::Kind::Null;
    int64_t integer = 0;
    double real = 0;
    std::string_view bytes; ///< the content of a text or binary value

    /// The cell as an owned value.
    Value toValue() const;
    /// A view of a value; valid while the value lives.
    static CellView of(const Value& value);
};

/// The cells of a scanned row as an owned row.
Row rowOf(const CellView* cells, std::size_t count);

/// Receives the columns of a scan once, before its first row (also when it has none).
using ColumnsSink = std::function<void(const std::vector<ColumnInfo>&)>;
/// Receives each row of a scan; the cells live until it returns.
using RowSink = std::function<void(const CellView* cells, std::size_t count)>;

/// Counts the rows of a scan from 1 and tells which of them are among the wanted numbers.
class WantedRows {
public:
    /// `wanted` ascending; it must outlive the object.
    explicit WantedRows(const std::vector<int32_t>& wanted) : wanted_(wanted) {}
    /// Counts the next row; whether it is wanted.
    bool nextIsWanted() {
        ++number_;
        if (next_ < wanted_.size() && wanted_[next_] == number_) {
            ++next_;
            return true;
        }
        return false;
    }

private:
    const std::vector<int32_t>& wanted_;
    int32_t number_ = 0;
    std::size_t next_ = 0;
};

/// The byte length a value reports as its actual size in a column of that type code: the
/// length of a text or binary value, the width of a number's type, 0 for Null.
int32_t actualSizeOf(const Value& value, int32_t typeCode);

/// A fully fetched result.
struct RowSet {
    std::vector<ColumnInfo> columns;
    std::vector<Row> rows;
};

/// SQL spelling rules of one connection.
struct Dialect {
    std::string dbmsName; ///< as the driver reports it
    char quoteOpen = '"'; ///< identifier quote the driver reports
    char quoteClose = '"';
    bool isSqlite = false;
    /// The driver hands reals over as text with 15 significant digits (the SQLite ODBC driver),
    /// so equality on reals is tested at that precision.
    bool realsAtFifteenDigits = false;
    /// Where the database has schemas (PostgreSQL): the connection's default schema, whose
    /// tables go by their bare names, and the other schemas, whose tables go by
    /// "schema.table". Both empty where there are no schemas.
    std::string defaultSchema;
    std::vector<std::string> otherSchemas;
    /// The collation that compares texts byte for byte, without padding, where the database's
    /// own comparison of texts follows the column's collation (MariaDB, MySQL); "" elsewhere.
    std::string exactTextCollation;
    /// The database's name of the single-precision type ("REAL", "FLOAT"); "" where there is none.
    std::string singlePrecisionType;

    /// Encloses a name in the connection's identifier quotes, doubling a closing quote inside,
    /// so that any name (holding "]", "\"", ";", blanks, a keyword) stays one identifier.
    std::string quoteIdentifier(const std::string& name) const;
    /// The schema and the bare name of a table as users see it: "x.t" is table t of schema x
    /// when x is one of the other schemas; any other name is a table of the default schema
    /// (schema "" where the database has no schemas).
    std::pair<std::string, std::string> splitTableName(const std::string& name) const;
    /// The table quoted for a statement, qualified by its schema when it is not the default one.
    std::string quoteTable(const std::string& name) const;
    /// How users see a table of a schema: bare in the default schema, else "schema.table".
    std::string tableDisplayName(const std::string& schema, const std::string& table) const;
    /// Rewrites [bracketed] identifiers outside string literals to the connection's quotes; the
    /// text is returned unchanged when the connection accepts brackets.
    std::string rewriteBrackets(const std::string& sql) const;
    /// Condition that column equals the next bound parameter, exactly: case-sensitive for
    /// texts, at the driver's resolution for reals.
    std::string equalsParameter(const std::string& quotedColumn, Value::Kind parameterKind) const;
    /// As equalsParameter, for a column the layer has read: a single-precision column equals a
    /// real read from it (singleAsDouble) once the real is cast back to single precision,
    /// which the database does not do itself (it widens the column's value instead).
    std::string equalsParameter(const std::string& quotedColumn, const ColumnInfo& column,
                                Value::Kind parameterKind) const;
};

/// The conditions joined by AND. Many conditions are nested in balanced parentheses, so that the
/// statement's expression tree stays shallow however many columns a row has (SQLite refuses a
/// tree deeper than 1,000, which a plain chain of 2,000 conditions is).
std::string allOf(const std::vector<std::string>& conditions);

/// What a structure comparison reads of one table, in the form the per-table calls give it.
struct TableCatalogue {
    RowSet primaryKeys;     ///< as primaryKeys(table) returns them
    RowSet referencingKeys; ///< as foreignKeysReferencing(table) returns them
    /// The columns and at most the first row of the table's "SELECT *", as query() returns
    /// them with maxRows 1 (base table and column names left empty); nullopt when they were
    /// not read with the others.
    std::optional<RowSet> firstRow;
};

/// Table catalogues by the names tables() gives ("schema.table" outside the default schema).
using TableCatalogues = std::unordered_map<std::string, TableCatalogue>;

/// A value longer than the buffer its column was read into in blocks (the driver reported a
/// smaller size than the value has). Readers that need such values read them one by one.
class ValueTooLong : public Error {
public:
    ValueTooLong() : Error(ErrorNumber::NotAllowedInContext, "A value is longer than its column's buffer") {}
};

/// Hands a statement and its bound values to the trace the host installed (setSqlTrace);
/// every backend calls it for each statement it sends.
void traceStatement(const std::string& sql, const std::vector<Value>& params);

/// Whether a statement that finds its database file locked should wait on, having waited
/// waitedMs already: what the host installed with setLockWait, else up to the connection's
/// own timeout.
bool keepWaitingForLock(int32_t waitedMs, int32_t timeoutMs);

/// One open database. Implementations own their driver resources; every failure throws
/// sifkit::Error or sifkit::DatabaseError.
class Backend {
public:
    virtual ~Backend() = default;

    virtual const Dialect& dialect() const = 0;
    /// Runs a query with bound parameters and fetches every row, or at most maxRows when above 0.
    virtual RowSet query(const std::string& sql, const std::vector<Value>& params, int32_t maxRows = 0) = 0;
    /// Runs a query with bound parameters and hands its rows over one at a time, without keeping
    /// them. This implementation fetches the whole result first; backends that can stream
    /// override it.
    virtual void scan(const std::string& sql, const std::vector<Value>& params, const ColumnsSink& onColumns,
                      const RowSink& onRow);
    /// As scan, but only the rows whose numbers (counted from 1 in the query's order) are in
    /// `wanted`, ascending, are handed over. This implementation reads every row; backends
    /// that can pass over the others without reading their values override it.
    virtual void scanRows(const std::string& sql, const std::vector<Value>& params,
                          const std::vector<int32_t>& wanted, const ColumnsSink& onColumns,
                          const RowSink& onRow);
    /// Whether scanRows passes over the rows it does not hand over without reading their values.
    virtual bool skipsUnwantedRows() const { return false; }
    /// Whether this connection may run its statements on a thread other than the one that
    /// opened it, while other connections run theirs (one thread at a time per connection).
    virtual bool runsOnAnyThread() const { return false; }
    /// Runs a query with bound parameters and tells whether it returns a row.
    virtual bool rowExists(const std::string& sql, const std::vector<Value>& params) = 0;
    /// Runs a statement with bound parameters; returns the number of rows it changed (-1 when
    /// the driver cannot tell).
    virtual int64_t execute(const std::string& sql, const std::vector<Value>& params) = 0;

    /// Catalogue rows with ODBC's column names (TABLE_NAME, TABLE_TYPE, ...).
    virtual RowSet tables() = 0;
    virtual RowSet primaryKeys(const std::string& table) = 0;
    virtual RowSet foreignKeysReferencing(const std::string& primaryKeyTable) = 0;
    /// The foreign keys declared by one table (the keys it holds, whatever they reference).
    virtual RowSet foreignKeysDeclaredBy(const std::string& foreignKeyTable) = 0;
    /// The columns of a table whose database calls two texts equal that differ in letter case
    /// or in trailing blanks (a collation or type that ignores them), in the table's order;
    /// none where the database cannot tell, or the table cannot be read.
    virtual std::vector<std::string> looselyCollatedColumns(const std::string& table) {
        (void)table;
        return {};
    }
    /// The unique keys of a table that can hold no Null (each of their columns is declared not
    /// null), each as its columns in key order: not the primary key, nor a key of only part of
    /// the rows or of expressions. None where the database cannot tell, or the table cannot be read.
    virtual std::vector<std::vector<std::string>> uniqueKeys(const std::string& table) {
        (void)table;
        return {};
    }
    /// The catalogues of the tables read with a few statements for all of them, instead of
    /// several calls a table; the first rows only of rowTables. nullopt where the backend has
    /// no such reading; a table missing from the answer is to be read table by table.
    virtual std::optional<TableCatalogues> readTableCatalogues(const std::vector<std::string>& tables,
                                                               const std::vector<std::string>& rowTables) {
        (void)tables;
        (void)rowTables;
        return std::nullopt;
    }

    virtual void beginTransaction() = 0;
    /// Whether a transaction begun with beginTransaction is open.
    virtual bool inTransaction() const = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0;
};

/// Keeps a transaction open for its lifetime; rolls back unless commit() was called. Inside a
/// transaction that is open already, the scope is part of it: the outer one commits or rolls
/// back.
class TransactionScope {
public:
    explicit TransactionScope(Backend& backend) : backend_(backend), outer_(backend.inTransaction()) {
        if (!outer_)
            backend_.beginTransaction();
    }
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;
    ~TransactionScope() {
        if (!done_ && !outer_)
            backend_.rollback();
    }
    void commit() {
        if (!outer_)
            backend_.commit();
        done_ = true;
    }

private:
    Backend& backend_;
    const bool outer_;
    bool done_ = false;
};

/// The backend of an open connection; throws when the connection is closed.
Backend& requireBackend(const Connection& connection);

} // namespace sifkit::platform
