// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/DataAccess.h>
#include <sifkit/clsDBManager.h>
#include <sifkit/clsResultSet.h>

#include "dataaccess/Backend.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace sifkit::detail {

/// The foreign keys a database declares, read table by table, as a way to answer the question
/// of fillForeignKeyInfo (which key references a table) without asking the driver for every
/// table: the SQLite driver answers that question by reading the keys of every table, while
/// the keys one table declares come from a single lookup.
///
/// Only answers that cannot differ from the driver's are given: no declared key names the
/// table (names compared ignoring ASCII case, so that no spelling escapes), or exactly one key
/// row names it, exactly. When several rows name a table, the driver's order decides which is
/// first, so the driver is asked.
class DeclaredForeignKeys {
public:
    /// One key row: FK_COLUMN_NAME, FK_NAME, PK_COLUMN_NAME, PK_TABLE_NAME, PK_NAME.
    using KeyRow = std::array<std::string, 5>;

    /// Reads the keys declared by each of the tables. Empty when any read fails: callers then
    /// ask per table.
    static std::optional<DeclaredForeignKeys> collect(const Connection& connection,
                                                      const std::vector<std::string>& tables);

    /// Fills the five key texts of a table item as fillForeignKeyInfo would, and returns true,
    /// when the declared keys settle the answer for the table; false otherwise.
    bool fill(clsResultSet& item, const std::string& table) const;

private:
    std::unordered_map<std::string, std::vector<KeyRow>> rowsByFoldedTable_;
};

/// The catalogue of the listed tables read at once, where the connection can (a PostgreSQL
/// server): the answers of getAccessPrimaryKey, fillForeignKeyInfo and the table query's
/// columns and first row, each the same as when read table by table.
class ServerCatalogue {
public:
    /// Reads the keys of the tables and the columns and first rows of rowTables. Empty where the
    /// connection reads table by table only, or when the reading fails.
    static std::optional<ServerCatalogue> read(const Connection& connection,
                                               const std::vector<std::string>& tables,
                                               const std::vector<std::string>& rowTables);

    /// getAccessPrimaryKey's text for the table; empty when the table was not read here.
    std::optional<std::string> primaryKey(const std::string& table) const;
    /// Fills the five key texts of a table item as fillForeignKeyInfo would and returns true;
    /// false when the table was not read here.
    bool fillForeignKey(clsResultSet& item, const std::string& table) const;
    /// The table query's columns and first row as a closed-to-writes record set; empty when
    /// they were not read here.
    std::optional<Recordset> firstRow(const std::string& table) const;

private:
    ServerCatalogue(const Connection& connection, platform::TableCatalogues catalogues);
    const platform::TableCatalogue* find(const std::string& table) const;

    std::shared_ptr<const platform::Dialect> dialect_;
    platform::TableCatalogues catalogues_;
};

/// Copies the first foreign key that references the manager's current table into a table
/// item (column, key name, referenced column, referenced table, referenced key name), or the
/// "not defined" texts when no foreign key references it. With declared keys that settle the
/// answer, the catalogue is not asked.
void fillForeignKeyInfo(clsResultSet& item, clsDBManager& manager,
                        const DeclaredForeignKeys* declared = nullptr);

} // namespace sifkit::detail
