// SPDX-License-Identifier: MIT
#include "OdbcBackend.h"

#include "OdbcBlockFetch.h"
#include "OdbcTypes.h"
#include "UniqueKeys.h"

#include <sifkit/SifkitError.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <unordered_set>

namespace sifkit::platform {

namespace {

constexpr std::size_t recentStatementLimit = 16;

std::string infoText(const odbc::Handle& dbc, SQLUSMALLINT what) {
    SQLCHAR buffer[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(dbc.get(), what, buffer, sizeof buffer, &length)))
        return {};
    return reinterpret_cast<const char*>(buffer);
}

std::string columnText(const odbc::Handle& statement, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLCHAR buffer[512] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(
            SQLColAttribute(statement.get(), column, field, buffer, sizeof buffer, &length, nullptr)))
        return {};
    return reinterpret_cast<const char*>(buffer);
}

SQLLEN columnNumber(const odbc::Handle& statement, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLLEN number = 0;
    if (!SQL_SUCCEEDED(SQLColAttribute(statement.get(), column, field, nullptr, 0, nullptr, &number)))
        return 0;
    return number;
}

/// Bound parameter storage; lives until the statement has run.
struct ParameterBuffers {
    std::vector<int64_t> integers;
    std::vector<double> reals;
    std::vector<SQLLEN> indicators;
    explicit ParameterBuffers(std::size_t n) : integers(n), reals(n), indicators(n) {}
};

void bindParameters(odbc::Handle& statement, const std::vector<Value>& params, ParameterBuffers& buffers) {
    static char emptyBuffer[1] = {0};
    for (std::size_t i = 0; i < params.size(); ++i) {
        const Value& v = params[i];
        auto number = static_cast<SQLUSMALLINT>(i + 1);
        SQLLEN& indicator = buffers.indicators[i];
        SQLRETURN rc = SQL_SUCCESS;
        switch (v.kind()) {
        case Value::Kind::Null:
            indicator = SQL_NULL_DATA;
            rc = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0,
                                  emptyBuffer, 0, &indicator);
            break;
        case Value::Kind::Integer:
            buffers.integers[i] = v.asInteger();
            indicator = 0;
            rc = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                  &buffers.integers[i], 0, &indicator);
            break;
        case Value::Kind::Real:
            buffers.reals[i] = v.asReal();
            indicator = 0;
            rc = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 15, 0,
                                  &buffers.reals[i], 0, &indicator);
            break;
        case Value::Kind::Text: {
            const std::string& text = v.asText();
            indicator = static_cast<SQLLEN>(text.size());
            SQLULEN size = text.empty() ? 1 : text.size();
            rc = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_CHAR,
                                  size > 8000 ? SQL_LONGVARCHAR : SQL_VARCHAR, size, 0,
                                  text.empty() ? emptyBuffer : const_cast<char*>(text.data()),
                                  static_cast<SQLLEN>(text.size()), &indicator);
            break;
        }
        case Value::Kind::Binary: {
            const auto& bytes = v.asBinary();
            indicator = static_cast<SQLLEN>(bytes.size());
            SQLULEN size = bytes.empty() ? 1 : bytes.size();
            rc = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_BINARY,
                                  size > 8000 ? SQL_LONGVARBINARY : SQL_VARBINARY, size, 0,
                                  bytes.empty() ? static_cast<SQLPOINTER>(emptyBuffer)
                                                : const_cast<unsigned char*>(bytes.data()),
                                  static_cast<SQLLEN>(bytes.size()), &indicator);
            break;
        }
        }
        odbc::check(rc, statement, "SQLBindParameter");
    }
}

} // namespace

OdbcBackend::OdbcBackend(const std::string& odbcConnectionString)
    : environment_(odbc::environment()), connection_(odbc::allocate(SQL_HANDLE_DBC, *environment_)) {
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    odbc::check(SQLDriverConnect(connection_.get(), nullptr,
                                 reinterpret_cast<SQLCHAR*>(const_cast<char*>(odbcConnectionString.c_str())),
                                 SQL_NTS, out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT),
                connection_, "SQLDriverConnect");
    dialect_.dbmsName = infoText(connection_, SQL_DBMS_NAME);
    dialect_.isSqlite = dialect_.dbmsName.find("SQLite") != std::string::npos;
    dialect_.realsAtFifteenDigits = dialect_.isSqlite;
    std::string quote = infoText(connection_, SQL_IDENTIFIER_QUOTE_CHAR);
    if (!quote.empty() && quote != " ") {
        dialect_.quoteOpen = quote[0];
        dialect_.quoteClose = quote[0] == '[' ? ']' : quote[0];
    }
    if (dialect_.dbmsName.find("PostgreSQL") != std::string::npos) {
        readSchemas();
        limitsOnServer_ = true;
        datesAsServerText_ = true;
        dialect_.singlePrecisionType = "REAL";
    }
    mysqlFamily_ = dialect_.dbmsName.find("MariaDB") != std::string::npos ||
                   dialect_.dbmsName.find("MySQL") != std::string::npos;
    if (mysqlFamily_)
        prepareMysqlSession();
}

void OdbcBackend::prepareMysqlSession() {
    // A backslash in a literal is a character, as the layer's own reading of statements (the
    // bracket rewriting) and every other product take it, not an escape.
    execute("SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_BACKSLASH_ESCAPES')", {});
    dialect_.singlePrecisionType = "FLOAT";
    // Binary collations without padding: 'a' and 'a ' differ, as 'a' and 'A' do. MySQL has none
    // before 8.0 (its utf8mb4_bin pads).
    if (dialect_.dbmsName.find("MariaDB") != std::string::npos)
        dialect_.exactTextCollation = "utf8mb4_nopad_bin";
    else
        dialect_.exactTextCollation =
            infoText(connection_, SQL_DBMS_VER) >= "8" ? "utf8mb4_0900_bin" : "utf8mb4_bin";
}

std::string OdbcBackend::currentDatabase() {
    RowSet current = query("SELECT DATABASE()", {});
    const std::string name =
        current.rows.empty() || current.rows[0].empty() ? std::string() : current.rows[0][0].toString();
    for (const char* system : {"information_schema", "performance_schema", "mysql", "sys"})
        if (name == system)
            return {};
    return name;
}

RowSet OdbcBackend::ofDatabase(RowSet rows, const std::string& database,
                               const std::vector<std::string>& catalogueColumns) {
    std::vector<std::size_t> positions;
    for (const std::string& name : catalogueColumns)
        for (std::size_t c = 0; c < rows.columns.size(); ++c)
            if (rows.columns[c].name == name)
                positions.push_back(c);
    std::erase_if(rows.rows, [&](const Row& row) {
        return database.empty() || std::any_of(positions.begin(), positions.end(), [&](std::size_t c) {
                   return row[c].isNull() || row[c].toString() != database;
               });
    });
    return rows;
}

void OdbcBackend::readSchemas() {
    RowSet current = query("SELECT current_schema()", {});
    if (!current.rows.empty() && !current.rows[0].empty())
        dialect_.defaultSchema = current.rows[0][0].toString();
    // Longest names first, so that a schema whose name holds a "." wins over a shorter one.
    RowSet others = query("SELECT nspname FROM pg_namespace WHERE nspname <> current_schema() AND "
                          "nspname <> 'information_schema' AND nspname NOT LIKE 'pg\\_%' "
                          "ORDER BY length(nspname) DESC, nspname",
                          {});
    for (const Row& row : others.rows)
        dialect_.otherSchemas.push_back(row[0].toString());
}

namespace {

/// A catalogue function's text argument: nullptr (no restriction) for "".
SQLCHAR* catalogueArgument(const std::string& text) {
    return text.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

SQLSMALLINT catalogueLength(const std::string& text) {
    return text.empty() ? 0 : SQL_NTS;
}

/// The one plain select a statement is, without its trailing ";" and leading blanks, so that it
/// can stand inside another select; "" for anything else.
std::string singleSelect(const std::string& sql) {
    auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::size_t begin = 0;
    while (begin < sql.size() && isBlank(sql[begin]))
        ++begin;
    static constexpr std::string_view select = "select";
    if (sql.size() - begin <= select.size())
        return {};
    for (std::size_t i = 0; i < select.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(sql[begin + i])) != select[i])
            return {};
    const char after = sql[begin + select.size()];
    if (std::isalnum(static_cast<unsigned char>(after)) || after == '_' || after == '$')
        return {};
    // One statement only: a ";" outside literals, quoted names and comments may only be
    // followed by blanks and further ";".
    std::size_t end = sql.size();
    for (std::size_t i = begin; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            for (++i; i < sql.size() && sql[i] != c; ++i) {
            }
            if (i == sql.size())
                return {};
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            while (i < sql.size() && sql[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const std::size_t close = sql.find("*/", i + 2);
            if (close == std::string::npos)
                return {};
            i = close + 1;
        } else if (c == ';') {
            for (std::size_t j = i; j < sql.size(); ++j)
                if (sql[j] != ';' && !isBlank(sql[j]))
                    return {};
            end = i;
            break;
        } else if (c == '$') {
            return {}; // dollar quoting (or a positional parameter): left as written
        }
    }
    return sql.substr(begin, end - begin);
}

} // namespace

OdbcBackend::~OdbcBackend() {
    recent_.clear(); // statements go before their connection
}

OdbcBackend::Prepared& OdbcBackend::prepared(const std::string& sql) {
    return preparedText(sql, dialect_.rewriteBrackets(sql));
}

OdbcBackend::Prepared& OdbcBackend::preparedText(const std::string& sql, std::string text) {
    for (auto it = recent_.begin(); it != recent_.end(); ++it) {
        if (it->sql == sql && it->text == text) {
            recent_.splice(recent_.begin(), recent_, it);
            return recent_.front();
        }
    }
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    odbc::check(SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS), statement,
                "SQLPrepare");
    recent_.push_front({sql, std::move(text), std::move(statement)});
    if (recent_.size() > recentStatementLimit)
        recent_.pop_back();
    return recent_.front();
}

SQLRETURN OdbcBackend::run(odbc::Handle& statement, std::string text, const std::vector<Value>& params,
                           bool isPrepared) {
    ParameterBuffers buffers(params.size());
    SQLFreeStmt(statement.get(), SQL_CLOSE);
    SQLFreeStmt(statement.get(), SQL_RESET_PARAMS);
    bindParameters(statement, params, buffers);
    traceStatement(text, params);
    SQLRETURN rc = isPrepared
                       ? SQLExecute(statement.get())
                       : SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
    return odbc::check(rc, statement, isPrepared ? "SQLExecute" : "SQLExecDirect");
}

std::vector<ColumnInfo> OdbcBackend::describeResult(odbc::Handle& statement) {
    std::vector<ColumnInfo> result;
    SQLSMALLINT columns = 0;
    odbc::check(SQLNumResultCols(statement.get(), &columns), statement, "SQLNumResultCols");
    for (SQLUSMALLINT c = 1; c <= columns; ++c) {
        SQLCHAR name[512] = {};
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        odbc::check(SQLDescribeCol(statement.get(), c, name, sizeof name, &nameLength, &sqlType, &size,
                                   &digits, &nullable),
                    statement, "SQLDescribeCol");
        ColumnInfo info;
        info.name = reinterpret_cast<const char*>(name);
        bool isUnsigned = columnNumber(statement, c, SQL_DESC_UNSIGNED) == SQL_TRUE;
        info.typeCode = odbc::typeCodeForSqlType(sqlType, isUnsigned);
        info.storage = odbc::storageForTypeCode(info.typeCode);
        info.definedSize = size > 0x7fffffff ? 0x7fffffff : static_cast<int32_t>(size);
        info.baseTable = columnText(statement, c, SQL_DESC_BASE_TABLE_NAME);
        info.baseColumn = columnText(statement, c, SQL_DESC_BASE_COLUMN_NAME);
        info.typeName = columnText(statement, c, SQL_DESC_TYPE_NAME);
        result.push_back(std::move(info));
    }
    return result;
}

RowSet OdbcBackend::fetchAll(odbc::Handle& statement, int32_t maxRows) {
    RowSet result;
    result.columns = describeResult(statement);
    const auto columns = static_cast<SQLUSMALLINT>(result.columns.size());
    if (columns == 0)
        return result;
    while (maxRows <= 0 || result.rows.size() < static_cast<std::size_t>(maxRows)) {
        SQLRETURN rc = SQLFetch(statement.get());
        if (rc == SQL_NO_DATA)
            break;
        odbc::check(rc, statement, "SQLFetch");
        Row row;
        row.reserve(result.columns.size());
        for (SQLUSMALLINT c = 1; c <= columns; ++c)
            row.push_back(odbc::readCell(statement, c, result.columns[c - 1]));
        result.rows.push_back(std::move(row));
    }
    SQLFreeStmt(statement.get(), SQL_CLOSE);
    return result;
}

std::string OdbcBackend::limitedText(const std::string& sql, int32_t maxRows) const {
    const std::string select = singleSelect(sql);
    if (select.empty())
        return {};
    // The line break ends a trailing "--" comment; a sorted statement keeps its order, since a
    // sorted subquery is not merged into the query around it.
    return "SELECT * FROM (" + select + "\n) AS sifkit_limited LIMIT " + std::to_string(maxRows);
}

std::string OdbcBackend::exactSelectList(const std::vector<ColumnInfo>& columns) const {
    std::unordered_set<std::string> names;
    bool anyDate = false;
    std::string list;
    for (const ColumnInfo& column : columns) {
        if (!names.insert(column.name).second)
            return {}; // a name twice cannot be selected by name
        const bool isDate = column.typeCode == 133 || column.typeCode == 134 || column.typeCode == 135;
        anyDate = anyDate || isDate;
        const std::string quoted = dialect_.quoteIdentifier(column.name);
        list += (list.empty() ? "" : ", ") + (isDate ? quoted + "::text AS " + quoted : quoted);
    }
    return anyDate ? list : std::string();
}

const OdbcBackend::ExactRead& OdbcBackend::exactRead(const std::string& text) {
    static const ExactRead asWritten;
    if (!datesAsServerText_)
        return asWritten;
    if (auto known = exactReads_.find(text); known != exactReads_.end())
        return known->second;
    if (exactReads_.size() >= recentStatementLimit * 8)
        exactReads_.clear();
    ExactRead& read = exactReads_[text];
    const std::string select = singleSelect(text);
    if (select.empty())
        return read;
    try {
        odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
        std::string prepared = text;
        odbc::check(SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(prepared.data()), SQL_NTS),
                    statement, "SQLPrepare");
        std::vector<ColumnInfo> columns = describeResult(statement);
        const std::string list = exactSelectList(columns);
        if (list.empty())
            return read;
        read.text = "SELECT " + list + " FROM (" + select + "\n) AS sifkit_exact";
        read.columns = std::move(columns);
    } catch (const DatabaseError&) {
        // The server could not describe it: it runs as written, and reports its own error then.
    }
    return read;
}

RowSet OdbcBackend::query(const std::string& sql, const std::vector<Value>& params, int32_t maxRows) {
    const std::string text = dialect_.rewriteBrackets(sql);
    const ExactRead& exact = exactRead(text);
    const std::string& read = exact.text.empty() ? text : exact.text;
    // Outside a transaction a statement that cannot be wrapped (SELECT ... INTO) fails without
    // harm and runs as written.
    if (maxRows > 0 && limitsOnServer_ && !inTransaction_) {
        const std::string limited = limitedText(read, maxRows);
        if (!limited.empty()) {
            try {
                return queryAsWritten(limited, limited, params, maxRows, exact);
            } catch (const DatabaseError&) {
                // Not a statement that can stand inside another: it runs as written below.
            }
        }
    }
    return queryAsWritten(sql, read, params, maxRows, exact);
}

RowSet OdbcBackend::queryAsWritten(const std::string& sql, const std::string& text,
                                   const std::vector<Value>& params, int32_t maxRows,
                                   const ExactRead& exact) {
    RowSet result;
    if (params.empty()) {
        odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
        if (maxRows > 0) // lets the driver stop early; drivers that ignore it are cut off below
            SQLSetStmtAttr(statement.get(), SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(SQLULEN(maxRows)),
                           0);
        run(statement, text, params, false);
        result = fetchAll(statement, maxRows);
    } else {
        Prepared& statement = preparedText(sql, text);
        run(statement.statement, statement.text, params, true);
        result = fetchAll(statement.statement, maxRows);
    }
    if (!exact.text.empty())
        result.columns = exact.columns;
    return result;
}

void OdbcBackend::scan(const std::string& sql, const std::vector<Value>& params, const ColumnsSink& onColumns,
                       const RowSink& onRow) {
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    const std::string text = dialect_.rewriteBrackets(sql);
    const ExactRead& exact = exactRead(text);
    run(statement, exact.text.empty() ? text : exact.text, params, false);
    const std::vector<ColumnInfo> columns = exact.text.empty() ? describeResult(statement) : exact.columns;
    onColumns(columns);
    if (!columns.empty())
        odbc::fetchInBlocks(statement, columns, onRow);
    SQLFreeStmt(statement.get(), SQL_CLOSE);
}

bool OdbcBackend::rowExists(const std::string& sql, const std::vector<Value>& params) {
    Prepared& prepared = this->prepared(sql);
    odbc::Handle& statement = prepared.statement;
    run(statement, prepared.text, params, true);
    SQLSMALLINT columns = 0;
    odbc::check(SQLNumResultCols(statement.get(), &columns), statement, "SQLNumResultCols");
    bool found = false;
    if (columns > 0) {
        SQLRETURN rc = SQLFetch(statement.get());
        odbc::check(rc, statement, "SQLFetch");
        found = rc != SQL_NO_DATA;
    }
    SQLFreeStmt(statement.get(), SQL_CLOSE);
    return found;
}

int64_t OdbcBackend::execute(const std::string& sql, const std::vector<Value>& params) {
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    run(statement, dialect_.rewriteBrackets(sql), params, false);
    SQLLEN changed = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(statement.get(), &changed)))
        changed = -1;
    SQLFreeStmt(statement.get(), SQL_CLOSE);
    return changed;
}

RowSet OdbcBackend::tables() {
    traceStatement("SQLTables()", {});
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    const std::string database = mysqlFamily_ ? currentDatabase() : std::string();
    odbc::check(SQLTables(statement.get(), catalogueArgument(database), catalogueLength(database), nullptr, 0,
                          nullptr, 0, nullptr, 0),
                statement, "SQLTables");
    RowSet rows = fetchAll(statement);
    return mysqlFamily_ ? ofDatabase(std::move(rows), database, {"TABLE_CAT"}) : rows;
}

RowSet OdbcBackend::primaryKeys(const std::string& table) {
    traceStatement("SQLPrimaryKeys(?)", {table});
    auto [schema, name] = dialect_.splitTableName(table);
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    const std::string database = mysqlFamily_ ? currentDatabase() : std::string();
    odbc::check(SQLPrimaryKeys(statement.get(), catalogueArgument(database), catalogueLength(database),
                               catalogueArgument(schema), catalogueLength(schema), catalogueArgument(name),
                               SQL_NTS),
                statement, "SQLPrimaryKeys");
    RowSet rows = fetchAll(statement);
    return mysqlFamily_ ? ofDatabase(std::move(rows), database, {"TABLE_CAT"}) : rows;
}

RowSet OdbcBackend::foreignKeysReferencing(const std::string& primaryKeyTable) {
    traceStatement("SQLForeignKeys(primary key table ?)", {primaryKeyTable});
    auto [schema, name] = dialect_.splitTableName(primaryKeyTable);
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    const std::string database = mysqlFamily_ ? currentDatabase() : std::string();
    odbc::check(SQLForeignKeys(statement.get(), catalogueArgument(database), catalogueLength(database),
                               catalogueArgument(schema), catalogueLength(schema), catalogueArgument(name),
                               SQL_NTS, nullptr, 0, nullptr, 0, nullptr, 0),
                statement, "SQLForeignKeys");
    RowSet rows = fetchAll(statement);
    return mysqlFamily_ ? ofDatabase(std::move(rows), database, {"PKTABLE_CAT", "FKTABLE_CAT"}) : rows;
}

RowSet OdbcBackend::foreignKeysDeclaredBy(const std::string& foreignKeyTable) {
    traceStatement("SQLForeignKeys(foreign key table ?)", {foreignKeyTable});
    auto [schema, name] = dialect_.splitTableName(foreignKeyTable);
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    const std::string database = mysqlFamily_ ? currentDatabase() : std::string();
    odbc::check(SQLForeignKeys(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0,
                               catalogueArgument(database), catalogueLength(database),
                               catalogueArgument(schema), catalogueLength(schema), catalogueArgument(name),
                               SQL_NTS),
                statement, "SQLForeignKeys");
    RowSet rows = fetchAll(statement);
    return mysqlFamily_ ? ofDatabase(std::move(rows), database, {"PKTABLE_CAT", "FKTABLE_CAT"}) : rows;
}

std::vector<std::vector<std::string>> OdbcBackend::uniqueKeys(const std::string& table) {
    // Unique indexes over whole rows and plain columns only: PostgreSQL's partial and expression
    // indexes are left out, and so are MySQL's functional parts (their column is Null).
    if (dialect_.isSqlite)
        return sqliteUniqueKeys(*this, table);
    RowSet rows;
    try {
        if (dialect_.dbmsName.find("PostgreSQL") != std::string::npos)
            rows = query(
                "SELECT i.indexrelid, a.attname, CASE WHEN a.attnotnull THEN 1 ELSE 0 END FROM pg_index i "
                "CROSS JOIN LATERAL unnest(i.indkey) WITH ORDINALITY AS k(attnum, position) "
                "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = k.attnum "
                "WHERE i.indrelid = CAST(? AS regclass) AND i.indisunique AND NOT i.indisprimary "
                "AND i.indpred IS NULL AND i.indexprs IS NULL "
                "ORDER BY i.indexrelid, k.position",
                {Value(dialect_.quoteTable(table))});
        else if (mysqlFamily_)
            rows = query("SELECT s.INDEX_NAME, s.COLUMN_NAME, CASE WHEN c.IS_NULLABLE = 'NO' THEN 1 ELSE 0 "
                         "END FROM information_schema.STATISTICS s "
                         "LEFT JOIN information_schema.COLUMNS c ON c.TABLE_SCHEMA = s.TABLE_SCHEMA "
                         "AND c.TABLE_NAME = s.TABLE_NAME AND c.COLUMN_NAME = s.COLUMN_NAME "
                         "WHERE s.TABLE_SCHEMA = DATABASE() AND s.TABLE_NAME = ? AND s.NON_UNIQUE = 0 "
                         "AND s.INDEX_NAME <> 'PRIMARY' ORDER BY s.INDEX_NAME, s.SEQ_IN_INDEX",
                         {Value(table)});
    } catch (const DatabaseError&) {
        return {};
    }
    return uniqueKeysOf(rows);
}

std::vector<std::string> OdbcBackend::looselyCollatedColumns(const std::string& table) {
    // citext and the nondeterministic collations of PostgreSQL; of MariaDB's and MySQL's, every
    // one but the binary ones without padding: the others ignore case, accents or trailing blanks.
    RowSet rows;
    try {
        if (dialect_.dbmsName.find("PostgreSQL") != std::string::npos)
            rows = query("SELECT a.attname FROM pg_attribute a JOIN pg_type t ON t.oid = a.atttypid "
                         "LEFT JOIN pg_collation c ON c.oid = a.attcollation "
                         "WHERE a.attrelid = CAST(? AS regclass) AND a.attnum > 0 AND NOT a.attisdropped "
                         "AND (t.typname = 'citext' OR NOT c.collisdeterministic) ORDER BY a.attnum",
                         {Value(dialect_.quoteTable(table))});
        else if (mysqlFamily_)
            rows =
                query("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() "
                      "AND TABLE_NAME = ? AND COLLATION_NAME IS NOT NULL AND NOT (COLLATION_NAME LIKE '%bin' "
                      "AND (COLLATION_NAME LIKE '%nopad%' OR COLLATION_NAME LIKE '%0900%')) "
                      "ORDER BY ORDINAL_POSITION",
                      {Value(table)});
    } catch (const DatabaseError&) {
        return {};
    }
    std::vector<std::string> loose;
    for (const Row& row : rows.rows)
        loose.push_back(row[0].asText());
    return loose;
}

void OdbcBackend::beginTransaction() {
    odbc::check(SQLSetConnectAttr(connection_.get(), SQL_ATTR_AUTOCOMMIT,
                                  reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER),
                connection_, "SQLSetConnectAttr");
    inTransaction_ = true;
}

void OdbcBackend::commit() {
    odbc::check(SQLEndTran(SQL_HANDLE_DBC, connection_.get(), SQL_COMMIT), connection_, "SQLEndTran");
    inTransaction_ = false;
    SQLSetConnectAttr(connection_.get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      SQL_IS_UINTEGER);
}

void OdbcBackend::rollback() noexcept {
    inTransaction_ = false;
    SQLEndTran(SQL_HANDLE_DBC, connection_.get(), SQL_ROLLBACK);
    SQLSetConnectAttr(connection_.get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      SQL_IS_UINTEGER);
}

} // namespace sifkit::platform
