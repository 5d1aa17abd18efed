// SPDX-License-Identifier: MIT
#include "MdbBackend.h"

#include "CatalogueColumns.h"
#include "MdbQuery.h"
#include "Text.h"

#include <sifkit/SifkitError.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <tuple>

namespace sifkit::platform {

namespace {

/// MSysRelationships' flags: the relationship is not enforced; updates and deletes cascade.
constexpr int64_t notEnforced = 0x2;
constexpr int64_t cascadesUpdates = 0x100;
constexpr int64_t cascadesDeletes = 0x1000;

/// One row of a reading, kept for sorting: the values handed over and those sorted by.
struct KeptRow {
    Row values;
    Row keys;
};

} // namespace

struct MdbBackend::Relationship {
    std::string name;
    std::string table; ///< the table that holds the key
    std::string column;
    std::string referencedTable;
    std::string referencedColumn;
    int64_t position = 0; ///< of the column within the key, from 0
    int64_t flags = 0;
};

MdbBackend::MdbBackend(const std::string& path) : file_(path) {
    dialect_.dbmsName = "ACCESS";
    dialect_.quoteOpen = '[';
    dialect_.quoteClose = ']';
}

void MdbBackend::run(const std::string& sql, const std::vector<Value>& params,
                     const std::vector<int32_t>* wanted, int32_t limit, const ColumnsSink& onColumns,
                     const RowSink& onRow) {
    traceStatement(sql, params);
    mdb::Select select = mdb::parseSelect(sql);
    const mdb::Object* object = file_.find(select.table);
    if (!object)
        throw DatabaseError(ErrorNumber::TableNotFound, "42S02",
                            "[Access] The Access database \"" + file_.path() + "\" has no table or query \"" +
                                select.table + "\"");
    if (object->kind == mdb::Object::Kind::Query)
        throw Error(ErrorNumber::NotAllowedInContext,
                    "The saved query \"" + object->name + "\" of the Access database \"" + file_.path() +
                        "\" cannot be run here: only the rows of its tables can be read");
    std::unique_ptr<mdb::Table> table = file_.openTable(object->name);
    const std::vector<ColumnInfo>& columns = table->columns();
    mdb::bindSelect(select, columns, params);

    std::vector<ColumnInfo> result;
    for (std::size_t position : select.positions)
        result.push_back(columns[position]);
    onColumns(result);

    int64_t most = select.top >= 0 ? select.top : -1;
    if (limit > 0 && (most < 0 || limit < most))
        most = limit;
    std::optional<WantedRows> rows;
    if (wanted)
        rows.emplace(*wanted);
    auto isWanted = [&] { return !rows || rows->nextIsWanted(); };
    const std::size_t lastWanted = wanted ? wanted->size() : 0;
    std::size_t handedOver = 0;
    auto done = [&] {
        return (most >= 0 && static_cast<int64_t>(handedOver) >= most) ||
               (wanted && handedOver == lastWanted);
    };

    // Each column is decoded at most once a row, however often the statement names it.
    std::vector<CellView> decoded(columns.size());
    std::vector<bool> isDecoded(columns.size());
    auto cellOf = [&](std::size_t position) {
        if (!isDecoded[position]) {
            decoded[position] = table->cell(position);
            isDecoded[position] = true;
        }
        return decoded[position];
    };
    const mdb::CellReader reader = cellOf;
    std::vector<CellView> cells(select.positions.size());

    if (select.orderBy.empty()) {
        while (!done() && table->next()) {
            std::fill(isDecoded.begin(), isDecoded.end(), false);
            if (!mdb::accepts(select, columns, params, reader) || !isWanted())
                continue;
            for (std::size_t i = 0; i < cells.size(); ++i)
                cells[i] = cellOf(select.positions[i]);
            onRow(cells.data(), cells.size());
            ++handedOver;
        }
        return;
    }

    std::vector<KeptRow> kept;
    while (table->next()) {
        std::fill(isDecoded.begin(), isDecoded.end(), false);
        if (!mdb::accepts(select, columns, params, reader))
            continue;
        KeptRow row;
        for (std::size_t position : select.positions)
            row.values.push_back(cellOf(position).toValue());
        for (const mdb::OrderTerm& term : select.orderBy)
            row.keys.push_back(cellOf(term.position).toValue());
        kept.push_back(std::move(row));
    }
    std::stable_sort(kept.begin(), kept.end(), [&](const KeptRow& a, const KeptRow& b) {
        for (std::size_t k = 0; k < select.orderBy.size(); ++k) {
            const mdb::OrderTerm& term = select.orderBy[k];
            const int found = mdb::orderOf(a.keys[k], b.keys[k], columns[term.position]);
            if (found != 0)
                return term.descending ? found > 0 : found < 0;
        }
        return false;
    });
    for (const KeptRow& row : kept) {
        if (done())
            break;
        if (!isWanted())
            continue;
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i] = CellView::of(row.values[i]);
        onRow(cells.data(), cells.size());
        ++handedOver;
    }
}

RowSet MdbBackend::query(const std::string& sql, const std::vector<Value>& params, int32_t maxRows) {
    RowSet result;
    run(
        sql, params, nullptr, maxRows,
        [&](const std::vector<ColumnInfo>& columns) { result.columns = columns; },
        [&](const CellView* cells, std::size_t count) { result.rows.push_back(rowOf(cells, count)); });
    return result;
}

void MdbBackend::scan(const std::string& sql, const std::vector<Value>& params, const ColumnsSink& onColumns,
                      const RowSink& onRow) {
    run(sql, params, nullptr, 0, onColumns, onRow);
}

void MdbBackend::scanRows(const std::string& sql, const std::vector<Value>& params,
                          const std::vector<int32_t>& wanted, const ColumnsSink& onColumns,
                          const RowSink& onRow) {
    run(sql, params, &wanted, 0, onColumns, onRow);
}

bool MdbBackend::rowExists(const std::string& sql, const std::vector<Value>& params) {
    bool found = false;
    run(
        sql, params, nullptr, 1, [](const std::vector<ColumnInfo>&) {},
        [&](const CellView*, std::size_t) { found = true; });
    return found;
}

int64_t MdbBackend::execute(const std::string& sql, const std::vector<Value>& params) {
    traceStatement(sql, params);
    throw Error(ErrorNumber::ReadOnly,
                "The Access database \"" + file_.path() +
                    "\" is opened for reading only: nothing in it can be added, changed "
                    "or deleted, and nothing was changed");
}

RowSet MdbBackend::tables() {
    traceStatement("SQLTables()", {});
    RowSet rows;
    rows.columns = tableCatalogueColumns();
    for (const mdb::Object& object : file_.objects()) {
        const char* type = object.kind == mdb::Object::Kind::Table         ? "TABLE"
                           : object.kind == mdb::Object::Kind::SystemTable ? "SYSTEM TABLE"
                                                                           : "VIEW";
        rows.rows.push_back({Value(), Value(), Value(object.name), Value(type), Value()});
    }
    return rows;
}

std::string MdbBackend::primaryIndexName(const std::string& table) const {
    const std::unique_ptr<mdb::Table> found = file_.openTable(table);
    if (!found)
        return {};
    for (const mdb::Index& index : found->indexes())
        if (index.primary)
            return index.name;
    return {};
}

RowSet MdbBackend::primaryKeys(const std::string& table) {
    traceStatement("SQLPrimaryKeys(?)", {table});
    RowSet rows;
    rows.columns = primaryKeyCatalogueColumns();
    const std::unique_ptr<mdb::Table> found = file_.openTable(table);
    if (!found)
        return rows;
    for (const mdb::Index& index : found->indexes()) {
        if (!index.primary)
            continue;
        for (std::size_t k = 0; k < index.columns.size(); ++k)
            rows.rows.push_back({Value(""), Value(""), Value(table),
                                 Value(found->columns()[index.columns[k]].name),
                                 Value(static_cast<int64_t>(k + 1)), Value(index.name)});
    }
    return rows;
}

std::vector<std::vector<std::string>> MdbBackend::uniqueKeys(const std::string& table) {
    traceStatement("SQLStatistics(?)", {table});
    std::vector<std::vector<std::string>> keys;
    const std::unique_ptr<mdb::Table> found = file_.openTable(table);
    if (!found)
        return keys;
    const std::vector<std::string> required = file_.requiredColumns(table);
    for (const mdb::Index& index : found->indexes()) {
        if (index.primary || !index.unique || index.columns.empty())
            continue;
        std::vector<std::string> key;
        bool noNull = true;
        for (std::size_t column : index.columns) {
            key.push_back(found->columns()[column].name);
            noNull = noNull && std::find(required.begin(), required.end(), key.back()) != required.end();
        }
        if (index.required || noNull)
            keys.push_back(std::move(key));
    }
    return keys;
}

std::vector<MdbBackend::Relationship> MdbBackend::relationships() const {
    std::vector<Relationship> found;
    const std::unique_ptr<mdb::Table> table = file_.openTable("MSysRelationships");
    if (!table)
        return found;
    const std::vector<ColumnInfo>& columns = table->columns();
    auto position = [&](const char* name) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i].name == name)
                return i;
        return std::nullopt;
    };
    const auto name = position("szRelationship"), from = position("szObject"), column = position("szColumn"),
               to = position("szReferencedObject"), toColumn = position("szReferencedColumn"),
               order = position("icolumn"), flags = position("grbit");
    if (!name || !from || !column || !to || !toColumn || !order || !flags)
        return found;
    auto text = [&](std::size_t at) { return table->cell(at).toValue().toString(); };
    auto number = [&](std::size_t at) {
        const CellView cell = table->cell(at);
        return cell.kind == Value::Kind::Integer ? cell.integer : 0;
    };
    while (table->next()) {
        Relationship relationship{text(*name),     text(*from),    text(*column), text(*to),
                                  text(*toColumn), number(*order), number(*flags)};
        if (!(relationship.flags & notEnforced))
            found.push_back(std::move(relationship));
    }
    std::stable_sort(found.begin(), found.end(), [](const Relationship& a, const Relationship& b) {
        return std::tie(a.name, a.position) < std::tie(b.name, b.position);
    });
    return found;
}

RowSet MdbBackend::foreignKeyRows(bool byReferencedTable, const std::string& table) {
    RowSet rows;
    rows.columns = foreignKeyCatalogueColumns();
    for (const Relationship& key : relationships()) {
        if (!equalsIgnoringCase(byReferencedTable ? key.referencedTable : key.table, table))
            continue;
        // The table as asked for, so that the caller's restriction to it keeps the row.
        const std::string referenced = byReferencedTable ? table : key.referencedTable;
        const std::string holder = byReferencedTable ? key.table : table;
        const std::string primaryIndex = primaryIndexName(key.referencedTable);
        rows.rows.push_back({Value(""), Value(""), Value(referenced), Value(key.referencedColumn), Value(""),
                             Value(""), Value(holder), Value(key.column), Value(key.position + 1),
                             Value(int64_t{(key.flags & cascadesUpdates) ? Cascade : NoAction}),
                             Value(int64_t{(key.flags & cascadesDeletes) ? Cascade : NoAction}),
                             Value(key.name), primaryIndex.empty() ? Value() : Value(primaryIndex),
                             Value(notDeferrable)});
    }
    return rows;
}

RowSet MdbBackend::foreignKeysReferencing(const std::string& primaryKeyTable) {
    traceStatement("SQLForeignKeys(primary key table ?)", {primaryKeyTable});
    return foreignKeyRows(true, primaryKeyTable);
}

RowSet MdbBackend::foreignKeysDeclaredBy(const std::string& foreignKeyTable) {
    traceStatement("SQLForeignKeys(foreign key table ?)", {foreignKeyTable});
    return foreignKeyRows(false, foreignKeyTable);
}

} // namespace sifkit::platform
