// SPDX-License-Identifier: MIT
#include "SqliteBackend.h"

#include "CatalogueColumns.h"
#include "OdbcTypes.h"
#include "SqliteTypes.h"
#include "UniqueKeys.h"

#include <sifkit/SifkitError.h>

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <exception>
#include <filesystem>
#include <iterator>
#include <optional>
#include <thread>

namespace sifkit::platform {

namespace {

constexpr std::size_t recentStatementLimit = 16;

/// SQLite's result codes in the SQLSTATE classes callers know from ODBC drivers.
std::string sqlStateFor(int code) {
    switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
        return "23000";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "HYT00";
    case SQLITE_CANTOPEN:
    case SQLITE_NOTADB:
        return "08001";
    default:
        return "HY000";
    }
}

Value::Kind kindOfStorageClass(int storageClass) {
    switch (storageClass) {
    case SQLITE_INTEGER:
        return Value::Kind::Integer;
    case SQLITE_FLOAT:
        return Value::Kind::Real;
    case SQLITE_TEXT:
        return Value::Kind::Text;
    case SQLITE_BLOB:
        return Value::Kind::Binary;
    default:
        return Value::Kind::Null;
    }
}

CellView readCell(sqlite3_stmt* statement, int column) {
    CellView cell;
    cell.kind = kindOfStorageClass(sqlite3_column_type(statement, column));
    switch (cell.kind) {
    case Value::Kind::Null:
        break;
    case Value::Kind::Integer:
        cell.integer = sqlite3_column_int64(statement, column);
        break;
    case Value::Kind::Real:
        cell.real = sqlite3_column_double(statement, column);
        break;
    case Value::Kind::Text: {
        auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        cell.bytes = std::string_view(text ? text : "",
                                      static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        break;
    }
    case Value::Kind::Binary: {
        auto* blob = static_cast<const char*>(sqlite3_column_blob(statement, column));
        cell.bytes = std::string_view(blob ? blob : "",
                                      static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        break;
    }
    }
    return cell;
}

std::string textOrEmpty(const char* text) {
    return text ? text : "";
}

/// The columns of a statement; a column without a declared type takes its type from the
/// current row's value (hasRow false: there is none).
std::vector<ColumnInfo> describeColumns(sqlite3_stmt* statement, bool hasRow) {
    std::vector<ColumnInfo> columns;
    const int count = sqlite3_column_count(statement);
    for (int c = 0; c < count; ++c) {
        ColumnInfo info;
        info.name = textOrEmpty(sqlite3_column_name(statement, c));
        const char* declared = sqlite3_column_decltype(statement, c);
        sqlite::ColumnType type =
            declared && *declared
                ? sqlite::declaredColumnType(declared)
                : sqlite::undeclaredColumnType(hasRow ? sqlite3_column_type(statement, c) : 0);
        info.declaredType = textOrEmpty(declared);
        info.typeCode = type.typeCode;
        info.definedSize = type.definedSize;
        info.storage = odbc::storageForTypeCode(type.typeCode);
        info.baseTable = textOrEmpty(sqlite3_column_table_name(statement, c));
        info.baseColumn = textOrEmpty(sqlite3_column_origin_name(statement, c));
        columns.push_back(std::move(info));
    }
    return columns;
}

/// ODBC's numbers for the referential actions SQLite names.
int64_t ruleNumber(const std::string& action) {
    if (action == "CASCADE")
        return Cascade;
    if (action == "RESTRICT")
        return Restrict;
    if (action == "SET NULL")
        return SetNull;
    if (action == "SET DEFAULT")
        return SetDefault;
    return NoAction;
}

bool sameName(const std::string& a, const std::string& b) {
    return sqlite3_stricmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

/// One scan run inside SQLite's statement loop.
struct SqliteScanState {
    const RowSink* onRow = nullptr; ///< every row goes here (sifkit_row)
    WantedRows* rows = nullptr;     ///< the rows to read (sifkit_pick)
    std::vector<CellView> cells;
    std::exception_ptr failure; ///< what onRow threw; the statement stops there
};

namespace {

SqliteScanState* activeScanOf(sqlite3_context* context) {
    return *static_cast<SqliteScanState**>(sqlite3_user_data(context));
}

CellView cellOf(sqlite3_value* value) {
    CellView cell;
    cell.kind = kindOfStorageClass(sqlite3_value_type(value));
    switch (cell.kind) {
    case Value::Kind::Null:
        break;
    case Value::Kind::Integer:
        cell.integer = sqlite3_value_int64(value);
        break;
    case Value::Kind::Real:
        cell.real = sqlite3_value_double(value);
        break;
    case Value::Kind::Text: {
        auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        cell.bytes = std::string_view(text ? text : "", static_cast<std::size_t>(sqlite3_value_bytes(value)));
        break;
    }
    case Value::Kind::Binary: {
        auto* blob = static_cast<const char*>(sqlite3_value_blob(value));
        cell.bytes = std::string_view(blob ? blob : "", static_cast<std::size_t>(sqlite3_value_bytes(value)));
        break;
    }
    }
    return cell;
}

/// sifkit_row(c1, ..., cn): hands one row's values to the running scan.
void rowFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    SqliteScanState* scan = activeScanOf(context);
    if (!scan || !scan->onRow) {
        sqlite3_result_null(context);
        return;
    }
    try {
        scan->cells.resize(static_cast<std::size_t>(argc));
        for (int c = 0; c < argc; ++c)
            scan->cells[static_cast<std::size_t>(c)] = cellOf(argv[c]);
        (*scan->onRow)(scan->cells.data(), scan->cells.size());
        sqlite3_result_null(context);
    } catch (...) {
        scan->failure = std::current_exception();
        sqlite3_result_error(context, "scan interrupted", -1);
    }
}

/// sifkit_pick(): counts the rows and tells whether this one is wanted.
void pickFunction(sqlite3_context* context, int, sqlite3_value**) {
    SqliteScanState* scan = activeScanOf(context);
    sqlite3_result_int(context, scan && scan->rows && scan->rows->nextIsWanted() ? 1 : 0);
}

/// The statement's text without a closing semicolon, so that it can stand inside another.
std::string bareStatement(const char* text) {
    std::string bare = textOrEmpty(text);
    while (!bare.empty() && (bare.back() == ';' || std::isspace(static_cast<unsigned char>(bare.back()))))
        bare.pop_back();
    return bare;
}

/// SQLite's busy handler: sleeps a little longer each time, as SQLite's own timeout does, for
/// as long as the host's lock wait says to go on (without one, up to the connection's timeout).
/// count is how often it was called for this lock.
int waitForLock(void* timeoutMs, int count) {
    static constexpr int32_t delays[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    static constexpr int32_t steps = static_cast<int32_t>(std::size(delays));
    int32_t waited = 0;
    for (int32_t i = 0; i < std::min(count, steps); ++i)
        waited += delays[i];
    if (count > steps)
        waited += (count - steps) * delays[steps - 1];
    if (!keepWaitingForLock(waited, *static_cast<const int*>(timeoutMs)))
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(delays[std::min(count, steps - 1)]));
    return 1;
}

} // namespace

void SqliteBackend::StatementDeleter::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

SqliteBackend::SqliteBackend(const std::string& path, int busyTimeoutMs) : busyTimeoutMs_(busyTimeoutMs) {
    // The absolute path, so that a name such as "file:x" is never read as a URI.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    const std::string opened = ec ? path : absolute.string();
    int rc = sqlite3_open_v2(opened.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError(rc, sqlStateFor(rc),
                            "[SQLite] unable to open database file " + path + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_handler(db_, waitForLock, &busyTimeoutMs_);
    // Scans hand rows over from inside the statement loop (see scanInDatabase).
    sqlite3_create_function_v2(db_, "sifkit_row", -1, SQLITE_UTF8, &activeScan_, rowFunction, nullptr,
                               nullptr, nullptr);
    sqlite3_create_function_v2(db_, "sifkit_pick", 0, SQLITE_UTF8, &activeScan_, pickFunction, nullptr,
                               nullptr, nullptr);
    dialect_.dbmsName = "SQLite";
    dialect_.isSqlite = true;
    dialect_.quoteOpen = '"';
    dialect_.quoteClose = '"';
}

SqliteBackend::~SqliteBackend() {
    recent_.clear(); // statements go before their connection
    sqlite3_close(db_);
}

void SqliteBackend::fail(int code, const std::string& what) const {
    throw DatabaseError(code, sqlStateFor(code),
                        "[SQLite] " + std::string(sqlite3_errmsg(db_)) + " (" + what + ")");
}

sqlite3_stmt* SqliteBackend::prepared(const std::string& sql, const std::vector<Value>& params) {
    auto it = recent_.begin();
    for (; it != recent_.end(); ++it)
        if (it->sql == sql)
            break;
    if (it != recent_.end()) {
        recent_.splice(recent_.begin(), recent_, it);
    } else {
        // Bracketed names with "]]" inside, which SQLite cannot read, go in double quotes.
        std::string text = dialect_.rewriteBrackets(sql);
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &raw, &tail);
        if (rc != SQLITE_OK)
            fail(rc, text);
        recent_.push_front({sql, std::move(text), Statement(raw)});
        if (recent_.size() > recentStatementLimit)
            recent_.pop_back();
    }
    const Prepared& entry = recent_.front();
    traceStatement(entry.text, params);
    sqlite3_stmt* statement = entry.statement.get();
    if (!statement)
        return nullptr; // only blanks or a comment
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    bindAll(statement, params, entry.text);
    return statement;
}

void SqliteBackend::bindAll(sqlite3_stmt* statement, const std::vector<Value>& params,
                            const std::string& sql) {
    for (std::size_t i = 0; i < params.size(); ++i) {
        const Value& v = params[i];
        const int number = static_cast<int>(i + 1);
        int rc = SQLITE_OK;
        switch (v.kind()) {
        case Value::Kind::Null:
            rc = sqlite3_bind_null(statement, number);
            break;
        case Value::Kind::Integer:
            rc = sqlite3_bind_int64(statement, number, v.asInteger());
            break;
        case Value::Kind::Real:
            rc = sqlite3_bind_double(statement, number, v.asReal());
            break;
        case Value::Kind::Text:
            rc = sqlite3_bind_text64(statement, number, v.asText().data(), v.asText().size(),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        case Value::Kind::Binary:
            // An empty vector's data() may be null, which SQLite would bind as Null.
            rc = v.asBinary().empty() ? sqlite3_bind_zeroblob(statement, number, 0)
                                      : sqlite3_bind_blob64(statement, number, v.asBinary().data(),
                                                            v.asBinary().size(), SQLITE_TRANSIENT);
            break;
        }
        if (rc != SQLITE_OK)
            fail(rc, sql);
    }
}

bool SqliteBackend::step(sqlite3_stmt* statement) {
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    std::string sql = textOrEmpty(sqlite3_sql(statement));
    sqlite3_reset(statement);
    fail(rc, sql);
}

void SqliteBackend::forEachRow(sqlite3_stmt* statement, const ColumnsSink& onColumns, const RowSink& onRow,
                               int32_t maxRows) {
    // The statement is reset on every way out, so it holds no read lock between calls.
    struct Reset {
        sqlite3_stmt* s;
        ~Reset() { sqlite3_reset(s); }
    } reset{statement};
    bool hasRow = step(statement);
    onColumns(describeColumns(statement, hasRow));
    const int count = sqlite3_column_count(statement);
    std::vector<CellView> cells(static_cast<std::size_t>(count));
    for (int32_t rows = 0; hasRow && (maxRows <= 0 || rows < maxRows); ++rows) {
        for (int c = 0; c < count; ++c)
            cells[c] = readCell(statement, c);
        onRow(cells.data(), cells.size());
        hasRow = step(statement);
    }
}

RowSet SqliteBackend::query(const std::string& sql, const std::vector<Value>& params, int32_t maxRows) {
    RowSet result;
    sqlite3_stmt* statement = prepared(sql, params);
    if (!statement)
        return result;
    forEachRow(
        statement, [&](const std::vector<ColumnInfo>& columns) { result.columns = columns; },
        [&](const CellView* cells, std::size_t count) { result.rows.push_back(rowOf(cells, count)); },
        maxRows);
    return result;
}

void SqliteBackend::scan(const std::string& sql, const std::vector<Value>& params,
                         const ColumnsSink& onColumns, const RowSink& onRow) {
    scanInDatabase(sql, params, nullptr, onColumns, onRow);
}

void SqliteBackend::scanRows(const std::string& sql, const std::vector<Value>& params,
                             const std::vector<int32_t>& wanted, const ColumnsSink& onColumns,
                             const RowSink& onRow) {
    scanInDatabase(sql, params, &wanted, onColumns, onRow);
}

bool SqliteBackend::runsOnAnyThread() const {
    return sqlite3_threadsafe() != 0;
}

SqliteBackend::Statement SqliteBackend::wrapped(sqlite3_stmt* inner, bool picking,
                                                const std::vector<Value>& params) {
    // The query goes into a common table expression, which SQLite flattens into the same
    // plan, so rows come in the same order.
    const std::string innerText = bareStatement(sqlite3_sql(inner));
    const int count = sqlite3_column_count(inner);
    if (count == 0 || innerText.empty())
        return nullptr;
    std::string names;
    for (int c = 1; c <= count; ++c)
        names += (c > 1 ? ",sifkit_" : "sifkit_") + std::to_string(c);
    std::string text = "WITH sifkit_scan(" + names + ") AS (\n" + innerText + "\n) ";
    text += picking ? "SELECT * FROM sifkit_scan WHERE sifkit_pick()"
                    : "SELECT sifkit_row(" + names + ") FROM sifkit_scan";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr; // not a query that can stand inside another: read row by row
    }
    Statement statement(raw);
    bindAll(raw, params, text);
    return statement;
}

void SqliteBackend::scanInDatabase(const std::string& sql, const std::vector<Value>& params,
                                   const std::vector<int32_t>* wanted, const ColumnsSink& onColumns,
                                   const RowSink& onRow) {
    sqlite3_stmt* inner = prepared(sql, params);
    if (!inner) {
        onColumns({});
        return;
    }
    std::optional<WantedRows> rows;
    if (wanted)
        rows.emplace(*wanted);
    Statement wrapper = wrapped(inner, wanted != nullptr, params);
    if (!wrapper) {
        forEachRow(
            inner, onColumns,
            [&](const CellView* cells, std::size_t count) {
                if (!rows || rows->nextIsWanted())
                    onRow(cells, count);
            },
            0);
        return;
    }

    // The columns as the query itself describes them; an undeclared one by its first value.
    {
        struct Reset {
            sqlite3_stmt* s;
            ~Reset() { sqlite3_reset(s); }
        } reset{inner};
        const bool hasRow = step(inner);
        onColumns(describeColumns(inner, hasRow));
        if (!hasRow)
            return;
    }

    SqliteScanState state;
    state.onRow = wanted ? nullptr : &onRow;
    state.rows = rows ? &*rows : nullptr;
    // A receiver may scan this database again: the outer scan is active again afterwards.
    struct Active {
        SqliteScanState*& slot;
        SqliteScanState* outer;
        ~Active() { slot = outer; }
    } active{activeScan_, activeScan_};
    activeScan_ = &state;
    sqlite3_stmt* raw = wrapper.get();
    const int count = sqlite3_column_count(inner);
    std::vector<CellView> cells(static_cast<std::size_t>(count));
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        if (!wanted)
            continue;
        for (int c = 0; c < count; ++c)
            cells[static_cast<std::size_t>(c)] = readCell(raw, c);
        onRow(cells.data(), cells.size());
    }
    if (state.failure)
        std::rethrow_exception(state.failure);
    if (rc != SQLITE_DONE)
        fail(rc, bareStatement(sqlite3_sql(inner)));
}

bool SqliteBackend::rowExists(const std::string& sql, const std::vector<Value>& params) {
    sqlite3_stmt* statement = prepared(sql, params);
    if (!statement)
        return false;
    bool found = step(statement);
    sqlite3_reset(statement);
    return found;
}

int64_t SqliteBackend::execute(const std::string& sql, const std::vector<Value>& params) {
    // A text may hold several statements; parameters go to the first one.
    const std::string text = dialect_.rewriteBrackets(sql);
    traceStatement(text, params);
    const char* next = text.c_str();
    const char* end = text.c_str() + text.size();
    int64_t changed = -1;
    bool first = true;
    while (next < end) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(db_, next, static_cast<int>(end - next), &raw, &tail);
        Statement statement(raw);
        if (rc != SQLITE_OK)
            fail(rc, text);
        next = tail;
        if (!statement)
            continue;
        if (first) {
            bindAll(raw, params, text);
            first = false;
        }
        while (step(raw)) {
        }
        changed = sqlite3_stmt_readonly(raw) ? -1 : sqlite3_changes64(db_);
    }
    return changed;
}

RowSet SqliteBackend::tables() {
    RowSet rows;
    rows.columns = tableCatalogueColumns();
    RowSet found = query("SELECT name, upper(type) FROM sqlite_master WHERE type IN ('table','view')", {});
    for (Row& row : found.rows)
        rows.rows.push_back({Value(), Value(), std::move(row[0]), std::move(row[1]), Value()});
    return rows;
}

RowSet SqliteBackend::primaryKeys(const std::string& table) {
    RowSet rows;
    rows.columns = primaryKeyCatalogueColumns();
    auto add = [&](const Value& column, const Value& keyName) {
        rows.rows.push_back({Value(""), Value(""), Value(table), column,
                             Value(static_cast<int64_t>(rows.rows.size() + 1)), keyName});
    };
    // The declared key in column order; without one, the columns of a unique constraint, as
    // the ODBC driver reports them.
    RowSet info = query("SELECT name, pk FROM pragma_table_info(?)", {Value(table)});
    for (const Row& row : info.rows)
        if (row[1].kind() == Value::Kind::Integer && row[1].asInteger() > 0)
            add(row[0], Value());
    if (!rows.rows.empty())
        return rows;
    RowSet indexes = query("SELECT name FROM pragma_index_list(?) WHERE origin = 'u'", {Value(table)});
    if (indexes.rows.empty())
        return rows;
    const Value& index = indexes.rows.front()[0];
    RowSet columns = query("SELECT name FROM pragma_index_info(?) ORDER BY seqno", {index});
    for (const Row& row : columns.rows)
        add(row[0], index);
    return rows;
}

std::vector<std::vector<std::string>> SqliteBackend::uniqueKeys(const std::string& table) {
    return sqliteUniqueKeys(*this, table);
}

std::vector<std::string> SqliteBackend::looselyCollatedColumns(const std::string& table) {
    std::vector<std::string> loose;
    try {
        for (const Row& row : query("SELECT name FROM pragma_table_info(?)", {Value(table)}).rows) {
            const std::string column = row[0].asText();
            const char* collation = nullptr;
            if (sqlite3_table_column_metadata(db_, nullptr, table.c_str(), column.c_str(), nullptr,
                                              &collation, nullptr, nullptr, nullptr) == SQLITE_OK &&
                collation &&
                (sqlite3_stricmp(collation, "NOCASE") == 0 || sqlite3_stricmp(collation, "RTRIM") == 0))
                loose.push_back(column);
        }
    } catch (const DatabaseError&) {
        return {};
    }
    return loose;
}

RowSet SqliteBackend::foreignKeysDeclaredBy(const std::string& foreignKeyTable) {
    RowSet rows;
    rows.columns = foreignKeyCatalogueColumns();
    RowSet keys = query("SELECT \"table\", \"from\", \"to\", seq, on_update, on_delete "
                        "FROM pragma_foreign_key_list(?) ORDER BY id, seq",
                        {Value(foreignKeyTable)});
    for (Row& key : keys.rows) {
        Value referenced = key[2];
        if (referenced.isNull()) { // the referenced table's primary key, column by column
            RowSet primary = primaryKeys(key[0].toString());
            const int64_t seq = key[3].asInteger();
            if (seq < static_cast<int64_t>(primary.rows.size()))
                referenced = primary.rows[static_cast<std::size_t>(seq)][3];
        }
        rows.rows.push_back({Value(""), Value(""), key[0], referenced, Value(""), Value(""),
                             Value(foreignKeyTable), key[1], Value(key[3].asInteger() + 1),
                             Value(ruleNumber(key[4].toString())), Value(ruleNumber(key[5].toString())),
                             Value(), Value(), Value(notDeferrable)});
    }
    return rows;
}

RowSet SqliteBackend::foreignKeysReferencing(const std::string& primaryKeyTable) {
    RowSet rows;
    rows.columns = foreignKeyCatalogueColumns();
    RowSet tablesFound = query("SELECT name FROM sqlite_master WHERE type = 'table'", {});
    for (const Row& table : tablesFound.rows) {
        RowSet declared = foreignKeysDeclaredBy(table[0].toString());
        for (Row& row : declared.rows)
            if (primaryKeyTable.empty() || sameName(row[2].toString(), primaryKeyTable))
                rows.rows.push_back(std::move(row));
    }
    return rows;
}

void SqliteBackend::beginTransaction() {
    execute("BEGIN", {});
}

bool SqliteBackend::inTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

void SqliteBackend::commit() {
    execute("COMMIT", {});
}

void SqliteBackend::rollback() noexcept {
    if (!sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace sifkit::platform
