// SPDX-License-Identifier: MIT
#include "SchemaCatalogue.h"

#include "dataaccess/SchemaRowsets.h"
#include "dataaccess/State.h"

#include <cctype>
#include <utility>

namespace sifkit::detail {

namespace {

const char* const noForeignKey = "No Foreign(s) key Defined";

/// The key columns in the order the item's setters take them.
constexpr std::array<const char*, 5> keyColumns{"FK_COLUMN_NAME", "FK_NAME", "PK_COLUMN_NAME",
                                                "PK_TABLE_NAME", "PK_NAME"};
constexpr std::size_t referencedTable = 3;

std::string orNoForeignKey(const std::string& text) {
    return text.empty() ? noForeignKey : text;
}

std::string folded(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

void setNoForeignKey(clsResultSet& item) {
    item.setFKeyPrimaryTable("Not Defined");
    item.setFKeyName("FKey name not defined");
    item.setFKeyPrimaryColName("Key was not defined");
    item.setFKeyColumnName(noForeignKey);
}

/// Empty or Null key texts become "No Foreign(s) key Defined".
void setForeignKey(clsResultSet& item, const DeclaredForeignKeys::KeyRow& texts) {
    item.setFKeyColumnName(orNoForeignKey(texts[0]));
    item.setFKeyName(orNoForeignKey(texts[1]));
    item.setFKeyPrimaryColName(orNoForeignKey(texts[2]));
    item.setFKeyPrimaryTable(orNoForeignKey(texts[3]));
    item.setPKeyName(orNoForeignKey(texts[4]));
}

DeclaredForeignKeys::KeyRow currentKeyRow(const Recordset& keys) {
    DeclaredForeignKeys::KeyRow texts;
    for (std::size_t i = 0; i < keyColumns.size(); ++i)
        texts[i] = keys.field(keyColumns[i]).value().toString();
    return texts;
}

} // namespace

std::optional<DeclaredForeignKeys> DeclaredForeignKeys::collect(const Connection& connection,
                                                                const std::vector<std::string>& tables) {
    DeclaredForeignKeys declared;
    try {
        for (const std::string& table : tables) {
            Recordset keys =
                connection.openSchema(Connection::SchemaForeignKeys, {"", "", "", "", "", table});
            for (; !keys.eof(); keys.moveNext()) {
                KeyRow row = currentKeyRow(keys);
                declared.rowsByFoldedTable_[folded(row[referencedTable])].push_back(std::move(row));
            }
        }
    } catch (...) {
        return std::nullopt;
    }
    return declared;
}

bool DeclaredForeignKeys::fill(clsResultSet& item, const std::string& table) const {
    auto found = rowsByFoldedTable_.find(folded(table));
    if (found == rowsByFoldedTable_.end()) {
        setNoForeignKey(item);
        return true;
    }
    const std::vector<KeyRow>& rows = found->second;
    if (rows.size() != 1 || rows.front()[referencedTable] != table)
        return false;
    setForeignKey(item, rows.front());
    return true;
}

std::optional<ServerCatalogue> ServerCatalogue::read(const Connection& connection,
                                                     const std::vector<std::string>& tables,
                                                     const std::vector<std::string>& rowTables) {
    try {
        std::optional<platform::TableCatalogues> catalogues =
            platform::StateAccess::backend(connection).readTableCatalogues(tables, rowTables);
        if (catalogues)
            return ServerCatalogue(connection, std::move(*catalogues));
    } catch (...) {
    }
    return std::nullopt;
}

ServerCatalogue::ServerCatalogue(const Connection& connection, platform::TableCatalogues catalogues)
    : dialect_(std::make_shared<platform::Dialect>(platform::StateAccess::backend(connection).dialect())),
      catalogues_(std::move(catalogues)) {}

const platform::TableCatalogue* ServerCatalogue::find(const std::string& table) const {
    auto found = catalogues_.find(table);
    return found == catalogues_.end() ? nullptr : &found->second;
}

std::optional<std::string> ServerCatalogue::primaryKey(const std::string& table) const {
    const platform::TableCatalogue* catalogue = find(table);
    if (!catalogue)
        return std::nullopt;
    // As getAccessPrimaryKey reads the catalogue's answer for the table.
    Recordset keys = platform::StateAccess::fromRows(
        platform::shapeSchemaRows(catalogue->primaryKeys, *dialect_, Connection::SchemaPrimaryKeys,
                                  {"", "", table}),
        "schema 28");
    std::string key = "No primary key Defined";
    if (!keys.eof())
        key = keys.field("COLUMN_NAME").value().toString();
    return key;
}

bool ServerCatalogue::fillForeignKey(clsResultSet& item, const std::string& table) const {
    const platform::TableCatalogue* catalogue = find(table);
    if (!catalogue)
        return false;
    Recordset keys = platform::StateAccess::fromRows(
        platform::shapeSchemaRows(catalogue->referencingKeys, *dialect_, Connection::SchemaForeignKeys,
                                  {"", "", table}),
        "schema 27");
    if (!keys.eof())
        setForeignKey(item, currentKeyRow(keys));
    else
        setNoForeignKey(item);
    return true;
}

std::optional<Recordset> ServerCatalogue::firstRow(const std::string& table) const {
    const platform::TableCatalogue* catalogue = find(table);
    if (!catalogue || !catalogue->firstRow)
        return std::nullopt;
    return platform::StateAccess::fromRows(*catalogue->firstRow, "first row of " + table);
}

void fillForeignKeyInfo(clsResultSet& item, clsDBManager& manager, const DeclaredForeignKeys* declared) {
    if (declared && declared->fill(item, manager.getTableName()))
        return;
    Recordset keys = manager.getAccessForeignKey(manager.getTableName());
    // A catalogue that could not be read counts as one without foreign keys: the table is
    // still listed.
    if (keys.state() == 1 && !keys.eof())
        setForeignKey(item, currentKeyRow(keys));
    else
        setNoForeignKey(item);
    if (keys.state() == 1)
        keys.close();
}

} // namespace sifkit::detail
