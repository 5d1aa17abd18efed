// SPDX-License-Identifier: MIT
#include "CatalogueReader.h"

#include "FieldTypes.h"

#include "dataaccess/SchemaRowsets.h"
#include "legacy/StatementText.h"
#include "model/Messages.h"
#include "model/Statement.h"

#include <sifkit/FieldList.h>
#include <sifkit/SifkitError.h>

#include <cctype>
#include <unordered_map>

namespace sifkit::detail {

namespace {

using platform::cellText;
using platform::columnIndexOf;
using platform::RowSet;

constexpr int32_t kindTables = 20;
constexpr int32_t kindPrimaryKeys = 28;
constexpr int32_t kindForeignKeys = 27;

std::vector<std::string> keyColumnsOf(const RowSet& rows) {
    std::vector<std::string> names;
    const int column = columnIndexOf(rows, "COLUMN_NAME");
    for (const platform::Row& row : rows.rows)
        names.push_back(cellText(row, column));
    return names;
}

std::vector<ForeignKey> foreignKeysOf(const RowSet& rows) {
    const int column = columnIndexOf(rows, "FK_COLUMN_NAME");
    const int name = columnIndexOf(rows, "FK_NAME");
    const int referencedColumn = columnIndexOf(rows, "PK_COLUMN_NAME");
    const int referencedTable = columnIndexOf(rows, "PK_TABLE_NAME");
    const int referencedKey = columnIndexOf(rows, "PK_NAME");
    std::vector<ForeignKey> keys;
    for (const platform::Row& row : rows.rows)
        keys.push_back({cellText(row, column), cellText(row, name), cellText(row, referencedColumn),
                        cellText(row, referencedTable), cellText(row, referencedKey)});
    return keys;
}

std::string folded(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

/// The foreign keys a database declares, read table by table, as a way to tell which keys
/// reference a table without asking the driver for every table: SQLite answers that question
/// by reading the keys of every table, while the keys one table declares come from one look-up.
/// Only answers that cannot differ from the driver's are given: no declared key names the table
/// (names compared ignoring ASCII case, so that no spelling escapes), or exactly one key names
/// it, exactly. When several do, the driver's order decides which comes first: it is asked.
class DeclaredForeignKeys {
public:
    /// Nothing when any table's keys cannot be read: the keys are then asked for per table.
    static std::optional<DeclaredForeignKeys> collect(platform::Backend& backend,
                                                      const std::vector<std::string>& tables) {
        DeclaredForeignKeys declared;
        try {
            for (const std::string& table : tables)
                for (ForeignKey& key : foreignKeysOf(
                         platform::schemaRows(backend, kindForeignKeys, {"", "", "", "", "", table})))
                    declared.byFoldedTable_[folded(key.referencedTable)].push_back(std::move(key));
        } catch (const Error&) {
            return std::nullopt; // the keys are then read per table, where a failure counts
        }
        return declared;
    }

    std::optional<std::vector<ForeignKey>> referencing(const std::string& table) const {
        auto found = byFoldedTable_.find(folded(table));
        if (found == byFoldedTable_.end())
            return std::vector<ForeignKey>{};
        if (found->second.size() != 1 || found->second.front().referencedTable != table)
            return std::nullopt;
        return found->second;
    }

private:
    std::unordered_map<std::string, std::vector<ForeignKey>> byFoldedTable_;
};

/// What the walk knows of the objects before it reads each one.
struct KnownKeys {
    std::optional<platform::TableCatalogues> server; ///< read at once from a server
    std::optional<DeclaredForeignKeys> declared;
};

/// The foreign keys that reference a table; a catalogue that cannot answer counts as one
/// without such keys, so that the table is still listed (the keys are only shown).
std::vector<ForeignKey> referencingKeys(platform::Backend& backend, const std::string& table) {
    try {
        return foreignKeysOf(platform::schemaRows(backend, kindForeignKeys, {"", "", table}));
    } catch (const Error&) {
        return {};
    }
}

/// Reads the columns of the object's query (at most one row) into the schema.
void readColumns(platform::Backend& backend, TableSchema& schema, const CatalogueRequest& request,
                 ColumnsReading& reading) {
    reading.shownSql = tableQueryText(request.fieldList, schema.name);
    const std::optional<std::vector<std::string>> names = parseFieldList(request.fieldList);
    if (!names) {
        reading.failures.push_back(fieldListFailure(request.fieldList, reading.shownSql));
        reading.failures.push_back(fieldItemsFailure(reading.shownSql, 0));
        return;
    }
    try {
        std::vector<Value> parameters;
        const std::string sql =
            Statement{schema.name, *names, {}, {}, {}}.render(backend.dialect(), parameters);
        schema.columns = columnsOf(backend.query(sql, parameters, 1), schema.columnCount);
    } catch (const Error&) {
        reading.failures.push_back(openFailure(3, Cause::current(), reading.shownSql));
        reading.failures.push_back(fieldItemsFailure(reading.shownSql, 0));
    }
}

TableSchema readKnownObject(platform::Backend& backend, const std::string& name, const std::string& type,
                            const CatalogueRequest& request, const KnownKeys& known,
                            std::optional<ColumnsReading>& columns) {
    TableSchema schema;
    schema.name = name;
    schema.type = type;
    const platform::TableCatalogue* server = nullptr;
    if (known.server) {
        auto found = known.server->find(name);
        server = found == known.server->end() ? nullptr : &found->second;
    }
    const platform::Dialect& dialect = backend.dialect();
    schema.primaryKey = keyColumnsOf(
        server ? platform::shapeSchemaRows(server->primaryKeys, dialect, kindPrimaryKeys, {"", "", name})
               : platform::schemaRows(backend, kindPrimaryKeys, {"", "", name}));
    std::optional<std::vector<ForeignKey>> keys;
    if (server)
        keys = foreignKeysOf(
            platform::shapeSchemaRows(server->referencingKeys, dialect, kindForeignKeys, {"", "", name}));
    else if (known.declared)
        keys = known.declared->referencing(name);
    schema.referencedBy = keys ? std::move(*keys) : referencingKeys(backend, name);
    if (request.objectsOnly)
        return schema;
    columns.emplace();
    if (server && server->firstRow) {
        columns->shownSql = tableQueryText(request.fieldList, name);
        schema.columns = columnsOf(*server->firstRow, schema.columnCount);
    } else {
        readColumns(backend, schema, request, *columns);
    }
    return schema;
}

/// The server catalogue of the listed objects, where the connection reads it at once; the first
/// rows of the listed tables (not views, whose first row a row limit may change) with every
/// column only.
std::optional<platform::TableCatalogues> readServerCatalogue(platform::Backend& backend, const RowSet& rows,
                                                             const CatalogueRequest& request) {
    const int name = columnIndexOf(rows, "TABLE_NAME");
    const int type = columnIndexOf(rows, "TABLE_TYPE");
    std::vector<std::string> listed;
    std::vector<std::string> rowTables;
    for (const platform::Row& row : rows.rows) {
        if (!isListedType(cellText(row, type), request.showViews))
            continue;
        listed.push_back(cellText(row, name));
        if (cellText(row, type) == "TABLE" && !request.objectsOnly && request.fieldList.empty())
            rowTables.push_back(listed.back());
    }
    if (listed.empty())
        return std::nullopt;
    return backend.readTableCatalogues(listed, rowTables);
}

} // namespace

bool isListedType(const std::string& type, bool showViews) {
    if (type == "ACCESS TABLE" || type == "SYSTEM TABLE")
        return false;
    return type == "TABLE" || showViews;
}

std::vector<ColumnSchema> columnsOf(const platform::RowSet& firstRow, int32_t& columnCount) {
    columnCount = static_cast<int32_t>(firstRow.columns.size());
    std::vector<ColumnSchema> columns;
    for (std::size_t i = 0; i < firstRow.columns.size(); ++i) {
        const platform::ColumnInfo& info = firstRow.columns[i];
        if (info.name.empty())
            continue;
        ColumnSchema column;
        column.name = info.name;
        column.typeCode = info.typeCode;
        column.typeName = fieldTypeDescription(info.typeCode);
        column.definedSize = info.definedSize;
        column.actualSize =
            firstRow.rows.empty() ? 0 : platform::actualSizeOf(firstRow.rows.front()[i], info.typeCode);
        column.comparable = isComparableTypeCode(info.typeCode);
        columns.push_back(std::move(column));
    }
    return columns;
}

std::vector<std::string> primaryKeyOf(platform::Backend& backend, const std::string& table) {
    return keyColumnsOf(platform::schemaRows(backend, kindPrimaryKeys, {"", "", table}));
}

std::optional<TableSchema> readObject(platform::Backend& backend, const std::string& name,
                                      const std::string& type, const CatalogueRequest& request,
                                      std::optional<ColumnsReading>& columns) {
    if (!isListedType(type, request.showViews))
        return std::nullopt;
    return readKnownObject(backend, name, type, request, KnownKeys{}, columns);
}

CatalogueReading readCatalogue(platform::Backend* backend, const std::string& connectionString,
                               const CatalogueRequest& request) {
    CatalogueReading reading;
    RowSet rows;
    try {
        if (!backend)
            throw Error(ErrorNumber::ConnectionInvalid,
                        "The connection cannot be used to perform this operation. "
                        "It is either closed or invalid in this context.");
        rows = platform::schemaRows(*backend, kindTables, {});
    } catch (const Error&) {
        reading.failures.push_back(catalogueFailure(Cause::current(), connectionString));
        reading.failures.push_back(catalogueWalkFailure(""));
        return reading;
    }
    const int name = columnIndexOf(rows, "TABLE_NAME");
    const int type = columnIndexOf(rows, "TABLE_TYPE");
    KnownKeys known;
    if (request.atOnce) {
        known.server = readServerCatalogue(*backend, rows, request);
        if (!known.server) {
            std::vector<std::string> names;
            for (const platform::Row& row : rows.rows)
                names.push_back(cellText(row, name));
            known.declared = DeclaredForeignKeys::collect(*backend, names);
        }
    }
    for (const platform::Row& row : rows.rows) {
        reading.lastName = cellText(row, name);
        reading.lastType = cellText(row, type);
        if (!isListedType(reading.lastType, request.showViews))
            continue;
        if (request.beforeObject)
            request.beforeObject();
        // An object that cannot be read (a view over a dropped table, say) is reported by name;
        // the objects after it are still listed.
        std::optional<ColumnsReading> columns;
        try {
            reading.catalogue.objects.push_back(
                readKnownObject(*backend, reading.lastName, reading.lastType, request, known, columns));
        } catch (const Error&) {
            Failure failure = catalogueWalkFailure(reading.lastName);
            const Cause cause = Cause::current();
            failure.errorNumber = cause.number;
            failure.sqlState = cause.sqlState;
            failure.description = cause.description;
            reading.failures.push_back(std::move(failure));
            continue;
        }
        if (columns) {
            for (const Failure& failure : columns->failures)
                reading.failures.push_back(failure);
            reading.lastColumns = std::move(columns);
        }
    }
    return reading;
}

} // namespace sifkit::detail
