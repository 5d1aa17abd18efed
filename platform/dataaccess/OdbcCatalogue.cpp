// SPDX-License-Identifier: MIT
// The catalogue of a whole PostgreSQL database in a few statements. Asked table by table, the
// PostgreSQL driver answers each primary-key and foreign-key call with a catalogue query that
// the server plans afresh (several milliseconds each), and describing a table's "SELECT *"
// costs another catalogue query; for thousands of tables that is most of a structure
// comparison. Here the same questions are asked once for all tables: the driver's own key
// queries without their table condition, SQLColumns once a schema, and the one-row queries in
// batches. What comes back has the form and the content the per-table calls give.

#include "OdbcBackend.h"
#include "OdbcTypes.h"
#include "SchemaRowsets.h"

#include <sifkit/SifkitError.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace sifkit::platform {

namespace {

/// The driver's primary-key query without its table condition: the columns of each table's
/// primary index, in index order.
const char* const primaryIndexColumnsSql =
    "select n.nspname, tc.relname, ta.attname, ia.attnum, ic.relname from pg_catalog.pg_attribute ta, "
    "pg_catalog.pg_attribute ia, pg_catalog.pg_class tc, pg_catalog.pg_index i, pg_catalog.pg_namespace n, "
    "pg_catalog.pg_class ic where tc.oid = i.indrelid AND n.oid = tc.relnamespace AND i.indisprimary = 't' "
    "AND ia.attrelid = i.indexrelid AND ta.attrelid = i.indrelid AND ta.attnum = i.indkey[ia.attnum-1] AND "
    "(NOT ta.attisdropped) AND (NOT ia.attisdropped) AND ic.oid = i.indexrelid order by n.nspname, "
    "tc.relname, ia.attnum";

/// The driver's second try for a table without a primary index: the columns of the index named
/// after the table with "_pkey" appended (cut to the longest name, as the server cuts the
/// literal the driver writes), in the table's schema.
const char* const namedIndexColumnsSql =
    "select tn.nspname, tc.relname, ta.attname, ia.attnum, ic.relname from pg_catalog.pg_class tc "
    "join pg_catalog.pg_namespace tn on tn.oid = tc.relnamespace "
    "join pg_catalog.pg_class ic on ic.relname = (tc.relname || '_pkey')::name and ic.relnamespace = tn.oid "
    "join pg_catalog.pg_index i on ic.oid = i.indexrelid "
    "join pg_catalog.pg_attribute ia on ia.attrelid = i.indexrelid "
    "join pg_catalog.pg_attribute ta on ta.attrelid = i.indrelid and ta.attnum = i.indkey[ia.attnum-1] "
    "where (NOT ta.attisdropped) AND (NOT ia.attisdropped) AND NOT EXISTS (select 1 from pg_catalog.pg_index "
    "p "
    "where p.indrelid = tc.oid and p.indisprimary) order by tn.nspname, tc.relname, ia.attnum";

/// The driver's foreign-key query without its table condition: every key column of every
/// foreign key, in the order the driver gives them.
const char* const foreignKeysSql = R"(select current_database() as "PKTABLE_CAT",
 n2.nspname as "PKTABLE_SCHEM", c2.relname as "PKTABLE_NAME", a2.attname as "PKCOLUMN_NAME",
 current_database() as "FKTABLE_CAT", n1.nspname as "FKTABLE_SCHEM", c1.relname as "FKTABLE_NAME",
 a1.attname as "FKCOLUMN_NAME", i::int2 as "KEY_SEQ",
 case ref.confupdtype when 'c' then 0::int2 when 'n' then 2::int2 when 'd' then 4::int2
  when 'r' then 1::int2 else 3::int2 end as "UPDATE_RULE",
 case ref.confdeltype when 'c' then 0::int2 when 'n' then 2::int2 when 'd' then 4::int2
  when 'r' then 1::int2 else 3::int2 end as "DELETE_RULE",
 ref.conname as "FK_NAME", cn.conname as "PK_NAME",
 case when ref.condeferrable then case when ref.condeferred then 5::int2 else 6::int2 end
  else 7::int2 end as "DEFERRABILITY"
from ((((((( (select cn.oid, conrelid, conkey, confrelid, confkey,
   generate_series(array_lower(conkey, 1), array_upper(conkey, 1)) as i,
   confupdtype, confdeltype, conname, condeferrable, condeferred
  from pg_catalog.pg_constraint cn where contype = 'f') ref
 inner join pg_catalog.pg_class c1 on c1.oid = ref.conrelid)
 inner join pg_catalog.pg_namespace n1 on n1.oid = c1.relnamespace)
 inner join pg_catalog.pg_attribute a1 on a1.attrelid = c1.oid and a1.attnum = conkey[i])
 inner join pg_catalog.pg_class c2 on c2.oid = ref.confrelid)
 inner join pg_catalog.pg_namespace n2 on n2.oid = c2.relnamespace)
 inner join pg_catalog.pg_attribute a2 on a2.attrelid = c2.oid and a2.attnum = confkey[i])
 left outer join pg_catalog.pg_constraint cn on cn.conrelid = ref.confrelid and cn.contype = 'p')
order by ref.oid, ref.i)";

/// Column types whose description through SQLColumns is the one the driver gives for a query's
/// column (the tests compare the two): money, inet, int4[], bool, bytea, name, int8, int2, int4,
/// text, json, xml, float4, float8, bpchar, varchar, date, time, timestamp, timestamptz,
/// interval, timetz, numeric, uuid, jsonb. Not among them: oid, which a query describes as
/// unsigned, and types of the database's own (enums, domains), whose numbers vary. A table with
/// a column of any other type is read table by table.
constexpr std::array<int64_t, 25> describedAlike{790,  869,  1007, 16,   17,   19,   20,   21,   23,
                                                 25,   114,  142,  700,  701,  1042, 1043, 1082, 1083,
                                                 1114, 1184, 1186, 1266, 1700, 2950, 3802};

/// Statements a batch of one-row queries holds.
constexpr std::size_t rowsPerBatch = 250;

using TableKey = std::pair<std::string, std::string>; ///< schema, table

ColumnInfo column(std::string name, Value::Kind storage) {
    ColumnInfo info;
    info.name = std::move(name);
    info.storage = storage;
    info.typeCode = storage == Value::Kind::Integer ? 2 : 200;
    return info;
}

/// The columns of SQLPrimaryKeys.
std::vector<ColumnInfo> primaryKeyColumns() {
    return {column("TABLE_CAT", Value::Kind::Text),  column("TABLE_SCHEM", Value::Kind::Text),
            column("TABLE_NAME", Value::Kind::Text), column("COLUMN_NAME", Value::Kind::Text),
            column("KEY_SEQ", Value::Kind::Integer), column("PK_NAME", Value::Kind::Text)};
}

/// Primary-key rows in the columns SQLPrimaryKeys gives, from rows of the two index queries
/// (schema, table, column, position, index), by table.
std::map<TableKey, RowSet> primaryKeysByTable(const RowSet& indexColumns, const std::string& catalog) {
    std::map<TableKey, RowSet> byTable;
    for (const Row& found : indexColumns.rows) {
        RowSet& keys = byTable[{found[0].toString(), found[1].toString()}];
        if (keys.columns.empty())
            keys.columns = primaryKeyColumns();
        keys.rows.push_back({Value(catalog), found[0], found[1], found[2], found[3], found[4]});
    }
    return byTable;
}

/// The pattern that matches exactly the given name in a catalogue function's pattern argument.
std::string exactPattern(const std::string& name) {
    std::string pattern;
    for (char c : name) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}

std::string resultColumnName(odbc::Handle& statement, SQLUSMALLINT column) {
    SQLCHAR name[512] = {};
    SQLSMALLINT length = 0;
    odbc::check(SQLColAttribute(statement.get(), column, SQL_DESC_NAME, name, sizeof name, &length, nullptr),
                statement, "SQLColAttribute");
    return reinterpret_cast<const char*>(name);
}

} // namespace

RowSet OdbcBackend::fetchColumns(odbc::Handle& statement, const std::vector<std::string>& names) {
    // Only the columns asked for are read: a catalogue of tens of thousands of rows is read
    // cell by cell.
    const std::vector<ColumnInfo> described = describeResult(statement);
    std::vector<SQLUSMALLINT> wanted;
    RowSet rows;
    for (std::size_t c = 0; c < described.size(); ++c) {
        if (std::find(names.begin(), names.end(), described[c].name) == names.end())
            continue;
        wanted.push_back(static_cast<SQLUSMALLINT>(c + 1));
        rows.columns.push_back(described[c]);
    }
    while (true) {
        SQLRETURN rc = SQLFetch(statement.get());
        if (rc == SQL_NO_DATA)
            break;
        odbc::check(rc, statement, "SQLFetch");
        Row row;
        row.reserve(wanted.size());
        for (SQLUSMALLINT c : wanted)
            row.push_back(odbc::readCell(statement, c, described[c - 1]));
        rows.rows.push_back(std::move(row));
    }
    SQLFreeStmt(statement.get(), SQL_CLOSE);
    return rows;
}

std::unordered_map<std::string, std::vector<ColumnInfo>>
OdbcBackend::schemaColumns(const std::string& schema) {
    traceStatement("SQLColumns(?, %, %)", {schema});
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    std::string pattern = exactPattern(schema);
    std::string any = "%";
    odbc::check(SQLColumns(statement.get(), nullptr, 0, reinterpret_cast<SQLCHAR*>(pattern.data()), SQL_NTS,
                           reinterpret_cast<SQLCHAR*>(any.data()), SQL_NTS,
                           reinterpret_cast<SQLCHAR*>(any.data()), SQL_NTS),
                statement, "SQLColumns");
    const RowSet rows = fetchColumns(
        statement, {"TABLE_SCHEM", "TABLE_NAME", "COLUMN_NAME", "DATA_TYPE", "COLUMN_SIZE", "FIELD_TYPE"});
    const int schemaColumn = columnIndexOf(rows, "TABLE_SCHEM");
    const int table = columnIndexOf(rows, "TABLE_NAME");
    const int name = columnIndexOf(rows, "COLUMN_NAME");
    const int sqlType = columnIndexOf(rows, "DATA_TYPE");
    const int size = columnIndexOf(rows, "COLUMN_SIZE");
    const int serverType = columnIndexOf(rows, "FIELD_TYPE");
    std::unordered_map<std::string, std::vector<ColumnInfo>> byTable;
    if (schemaColumn < 0 || table < 0 || name < 0 || sqlType < 0 || size < 0 || serverType < 0)
        return byTable;
    std::set<std::string> undescribed;
    for (const Row& row : rows.rows) {
        if (cellText(row, schemaColumn) != schema)
            continue;
        const std::string tableName = cellText(row, table);
        const Value& type = row[static_cast<std::size_t>(serverType)];
        if (type.kind() != Value::Kind::Integer || std::find(describedAlike.begin(), describedAlike.end(),
                                                             type.asInteger()) == describedAlike.end()) {
            undescribed.insert(tableName);
            continue;
        }
        ColumnInfo info;
        info.name = cellText(row, name);
        const Value& dataType = row[static_cast<std::size_t>(sqlType)];
        info.typeCode = odbc::typeCodeForSqlType(
            dataType.kind() == Value::Kind::Integer ? static_cast<int>(dataType.asInteger()) : 0, false);
        info.storage = odbc::storageForTypeCode(info.typeCode);
        const Value& columnSize = row[static_cast<std::size_t>(size)];
        const int64_t definedSize = columnSize.kind() == Value::Kind::Integer ? columnSize.asInteger() : 0;
        info.definedSize = static_cast<int32_t>(std::clamp<int64_t>(definedSize, 0, 0x7fffffff));
        byTable[tableName].push_back(std::move(info));
    }
    for (const std::string& tableName : undescribed)
        byTable.erase(tableName);
    return byTable;
}

void OdbcBackend::readFirstRows(const std::vector<std::string>& tables, TableCatalogues& catalogues,
                                const std::unordered_map<std::string, std::vector<ColumnInfo>*>& columns) {
    std::string batch;
    for (const std::string& table : tables) {
        const std::string list = exactSelectList(*columns.at(table));
        batch += std::string(batch.empty() ? "" : ";") + "SELECT " + (list.empty() ? "*" : list) + " FROM " +
                 dialect_.quoteTable(table) + " LIMIT 1";
    }
    odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
    traceStatement(batch, {});
    // A table the batch cannot read (no privilege, say) fails the whole batch: its tables are
    // then read one by one, where each failure is reported as usual.
    if (!SQL_SUCCEEDED(SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(batch.data()), SQL_NTS)))
        return;
    for (std::size_t t = 0; t < tables.size(); ++t) {
        if (t > 0 && !SQL_SUCCEEDED(SQLMoreResults(statement.get())))
            return;
        const std::vector<ColumnInfo>& described = *columns.at(tables[t]);
        SQLSMALLINT count = 0;
        if (!SQL_SUCCEEDED(SQLNumResultCols(statement.get(), &count)) ||
            static_cast<std::size_t>(count) != described.size())
            continue;
        bool same = true;
        for (SQLUSMALLINT c = 1; same && c <= count; ++c)
            same = resultColumnName(statement, c) == described[c - 1].name;
        if (!same)
            continue;
        RowSet rows;
        rows.columns = described;
        SQLRETURN rc = SQLFetch(statement.get());
        if (rc != SQL_NO_DATA) {
            odbc::check(rc, statement, "SQLFetch");
            Row row;
            for (SQLUSMALLINT c = 1; c <= count; ++c)
                row.push_back(odbc::readCell(statement, c, described[c - 1]));
            rows.rows.push_back(std::move(row));
        }
        catalogues[tables[t]].firstRow = std::move(rows);
    }
}

std::optional<TableCatalogues> OdbcBackend::readTableCatalogues(const std::vector<std::string>& tables,
                                                                const std::vector<std::string>& rowTables) {
    if (dialect_.dbmsName.find("PostgreSQL") == std::string::npos || dialect_.defaultSchema.empty())
        return std::nullopt;
    // The statements run as written: their array subscripts are no bracketed names.
    auto query = [this](const char* sql) {
        traceStatement(sql, {});
        odbc::Handle statement = odbc::allocate(SQL_HANDLE_STMT, connection_);
        odbc::check(
            SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS),
            statement, "SQLExecDirect");
        return fetchAll(statement);
    };
    TableCatalogues catalogues;
    try {
        const RowSet database = query("SELECT current_database()");
        const std::string catalog = database.rows.empty() ? std::string() : database.rows[0][0].toString();
        const std::map<TableKey, RowSet> primary = primaryKeysByTable(query(primaryIndexColumnsSql), catalog);
        // The second try is asked only when some table needs it.
        const bool allPrimary = std::all_of(tables.begin(), tables.end(), [&](const std::string& table) {
            return primary.count(dialect_.splitTableName(table)) > 0;
        });
        const std::map<TableKey, RowSet> named =
            allPrimary ? std::map<TableKey, RowSet>()
                       : primaryKeysByTable(query(namedIndexColumnsSql), catalog);
        RowSet foreign = query(foreignKeysSql);
        const int referencedSchema = columnIndexOf(foreign, "PKTABLE_SCHEM");
        const int referencedTable = columnIndexOf(foreign, "PKTABLE_NAME");
        std::map<TableKey, std::vector<Row>> referencing;
        for (Row& row : foreign.rows)
            referencing[{cellText(row, referencedSchema), cellText(row, referencedTable)}].push_back(
                std::move(row));
        foreign.rows.clear();

        for (const std::string& table : tables) {
            const TableKey key = dialect_.splitTableName(table);
            TableCatalogue& catalogue = catalogues[table];
            if (auto keys = primary.find(key); keys != primary.end())
                catalogue.primaryKeys = keys->second;
            else if (auto byName = named.find(key); byName != named.end())
                catalogue.primaryKeys = byName->second;
            else
                catalogue.primaryKeys.columns = primaryKeyColumns();
            catalogue.referencingKeys.columns = foreign.columns;
            auto found = referencing.find(key);
            if (found != referencing.end())
                catalogue.referencingKeys.rows = found->second;
        }
    } catch (const Error&) {
        return std::nullopt;
    }

    // The first rows: what cannot be read here stays for the table-by-table reading.
    try {
        std::map<std::string, std::unordered_map<std::string, std::vector<ColumnInfo>>> bySchema;
        std::unordered_map<std::string, std::vector<ColumnInfo>*> described;
        std::vector<std::string> readable;
        for (const std::string& table : rowTables) {
            const auto [schema, name] = dialect_.splitTableName(table);
            auto inSchema = bySchema.find(schema);
            if (inSchema == bySchema.end())
                inSchema = bySchema.emplace(schema, schemaColumns(schema)).first;
            auto columns = inSchema->second.find(name);
            if (columns == inSchema->second.end() || !catalogues.count(table))
                continue;
            described[table] = &columns->second;
            readable.push_back(table);
        }
        for (std::size_t start = 0; start < readable.size(); start += rowsPerBatch) {
            const std::vector<std::string> batch(
                readable.begin() + static_cast<std::ptrdiff_t>(start),
                readable.begin() +
                    static_cast<std::ptrdiff_t>(std::min(readable.size(), start + rowsPerBatch)));
            readFirstRows(batch, catalogues, described);
        }
    } catch (const Error&) {
        for (auto& [table, catalogue] : catalogues)
            catalogue.firstRow.reset();
    }
    return catalogues;
}

} // namespace sifkit::platform
