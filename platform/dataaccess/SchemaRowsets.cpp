// SPDX-License-Identifier: MIT
#include "SchemaRowsets.h"

#include <sifkit/SifkitError.h>

#include <algorithm>
#include <map>

namespace sifkit::platform {

namespace {

/// Renames the catalogue columns; columns not named in the map keep their names.
void renameColumns(RowSet& rows, const std::map<std::string, std::string>& names) {
    for (auto& column : rows.columns) {
        auto it = names.find(column.name);
        if (it != names.end())
            column.name = it->second;
        column.baseTable.clear(); // catalogue rows are not writable
        column.baseColumn.clear();
    }
}

/// Keeps the rows whose column equals the restriction, for each restriction that is given.
void restrict(RowSet& rows, const std::vector<std::string>& restrictions,
              const std::vector<std::string>& columns) {
    for (std::size_t r = 0; r < restrictions.size() && r < columns.size(); ++r) {
        if (restrictions[r].empty())
            continue;
        int index = columnIndexOf(rows, columns[r]);
        std::erase_if(rows.rows, [&](const Row& row) { return cellText(row, index) != restrictions[r]; });
    }
}

void sortByOrdinal(RowSet& rows) {
    int ordinal = columnIndexOf(rows, "ORDINAL");
    int table = columnIndexOf(rows, rows.columns.empty() ? "" : rows.columns[2].name);
    std::stable_sort(rows.rows.begin(), rows.rows.end(), [&](const Row& a, const Row& b) {
        auto key = [&](const Row& row) {
            int64_t n =
                (ordinal >= 0 && row[ordinal].kind() == Value::Kind::Integer) ? row[ordinal].asInteger() : 0;
            return std::make_pair(cellText(row, table), n);
        };
        return key(a) < key(b);
    });
}

/// Names tables as users see them: "schema.table" outside the connection's default schema.
void qualifyNames(RowSet& rows, const Dialect& dialect, const std::string& schemaColumn,
                  const std::string& nameColumn) {
    if (dialect.defaultSchema.empty())
        return;
    int schema = columnIndexOf(rows, schemaColumn);
    int name = columnIndexOf(rows, nameColumn);
    if (schema < 0 || name < 0)
        return;
    for (auto& row : rows.rows)
        if (!row[name].isNull())
            row[name] = Value(dialect.tableDisplayName(cellText(row, schema), cellText(row, name)));
}

/// The SQLite driver's catalogue call answers a file it cannot read (damaged, or locked by
/// another program) with success and no rows. The schema is read once directly, so such a file
/// fails with its cause instead of reading as a database without tables.
void requireReadableSqliteSchema(Backend& backend) {
    try {
        backend.query("SELECT count(*) FROM sqlite_master", {});
    } catch (const DatabaseError& failure) {
        const std::string& text = failure.description();
        if (text.find("malformed") != std::string::npos || text.find("not a database") != std::string::npos)
            throw DatabaseError(failure.number(), failure.sqlState(),
                                "The database file is damaged and cannot be read: " + text);
        throw;
    }
}

std::string restriction(const std::vector<std::string>& restrictions, std::size_t index) {
    return index < restrictions.size() ? restrictions[index] : std::string();
}

} // namespace

RowSet schemaRows(Backend& backend, int32_t kind, const std::vector<std::string>& restrictions) {
    switch (kind) {
    case 20:
        if (backend.dialect().isSqlite)
            requireReadableSqliteSchema(backend);
        return shapeSchemaRows(backend.tables(), backend.dialect(), kind, restrictions);
    case 28:
        return shapeSchemaRows(backend.primaryKeys(restriction(restrictions, 2)), backend.dialect(), kind,
                               restrictions);
    case 27:
        // ODBC needs a table name: the referenced table when one is given, otherwise the
        // table that declares the keys.
        if (restriction(restrictions, 2).empty() && !restriction(restrictions, 5).empty())
            return shapeSchemaRows(backend.foreignKeysDeclaredBy(restriction(restrictions, 5)),
                                   backend.dialect(), kind, restrictions);
        return shapeSchemaRows(backend.foreignKeysReferencing(restriction(restrictions, 2)),
                               backend.dialect(), kind, restrictions);
    default:
        throw Error(ErrorNumber::NotAllowedInContext,
                    "Schema kind " + std::to_string(kind) + " is not supported");
    }
}

RowSet shapeSchemaRows(RowSet rows, const Dialect& dialect, int32_t kind,
                       const std::vector<std::string>& restrictions) {
    switch (kind) {
    case 20: {
        renameColumns(
            rows,
            {{"TABLE_CAT", "TABLE_CATALOG"}, {"TABLE_SCHEM", "TABLE_SCHEMA"}, {"REMARKS", "DESCRIPTION"}});
        int name = columnIndexOf(rows, "TABLE_NAME");
        int type = columnIndexOf(rows, "TABLE_TYPE");
        if (dialect.isSqlite && name >= 0 && type >= 0) {
            for (auto& row : rows.rows)
                if (cellText(row, name).rfind("sqlite_", 0) == 0)
                    row[type] = Value("SYSTEM TABLE");
        }
        qualifyNames(rows, dialect, "TABLE_SCHEMA", "TABLE_NAME");
        restrict(rows, restrictions, {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"});
        break;
    }
    case 28:
        renameColumns(
            rows, {{"TABLE_CAT", "TABLE_CATALOG"}, {"TABLE_SCHEM", "TABLE_SCHEMA"}, {"KEY_SEQ", "ORDINAL"}});
        qualifyNames(rows, dialect, "TABLE_SCHEMA", "TABLE_NAME");
        restrict(rows, restrictions, {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME"});
        sortByOrdinal(rows);
        break;
    case 27:
        renameColumns(rows, {{"PKTABLE_CAT", "PK_TABLE_CATALOG"},
                             {"PKTABLE_SCHEM", "PK_TABLE_SCHEMA"},
                             {"PKTABLE_NAME", "PK_TABLE_NAME"},
                             {"PKCOLUMN_NAME", "PK_COLUMN_NAME"},
                             {"FKTABLE_CAT", "FK_TABLE_CATALOG"},
                             {"FKTABLE_SCHEM", "FK_TABLE_SCHEMA"},
                             {"FKTABLE_NAME", "FK_TABLE_NAME"},
                             {"FKCOLUMN_NAME", "FK_COLUMN_NAME"},
                             {"KEY_SEQ", "ORDINAL"}});
        qualifyNames(rows, dialect, "PK_TABLE_SCHEMA", "PK_TABLE_NAME");
        qualifyNames(rows, dialect, "FK_TABLE_SCHEMA", "FK_TABLE_NAME");
        restrict(rows, restrictions,
                 {"PK_TABLE_CATALOG", "PK_TABLE_SCHEMA", "PK_TABLE_NAME", "FK_TABLE_CATALOG",
                  "FK_TABLE_SCHEMA", "FK_TABLE_NAME"});
        break;
    default:
        throw Error(ErrorNumber::NotAllowedInContext,
                    "Schema kind " + std::to_string(kind) + " is not supported");
    }
    return rows;
}

int columnIndexOf(const RowSet& rows, const std::string& name) {
    for (std::size_t i = 0; i < rows.columns.size(); ++i)
        if (rows.columns[i].name == name)
            return static_cast<int>(i);
    return -1;
}

std::string cellText(const Row& row, int index) {
    if (index < 0 || row[static_cast<std::size_t>(index)].isNull())
        return {};
    return row[static_cast<std::size_t>(index)].toString();
}

} // namespace sifkit::platform
