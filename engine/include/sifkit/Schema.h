// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit {

/// The Original database (the engine's master side) or the Modified database (its source side).
enum class Side { Original, Modified };

/// One column of a table's or view's query, as a comparison reads it.
struct ColumnSchema {
    std::string name;
    int32_t typeCode = 0;    ///< the field type code (3 integer, 5 double, 200 varchar, ...)
    std::string typeName;    ///< the type's name as the structure comparison compares it
    int32_t definedSize = 0; ///< the column size the database reports
    int32_t actualSize = 0;  ///< the byte length of the first row's value; 0 without rows
    bool comparable = false; ///< whether the column's values can be compared

    bool operator==(const ColumnSchema&) const = default;
};

/// A foreign key that references a table, as the catalogue names it.
struct ForeignKey {
    std::string column;            ///< the referencing column
    std::string name;              ///< the key's name
    std::string referencedColumn;  ///< the referenced column
    std::string referencedTable;   ///< the referenced table
    std::string referencedKeyName; ///< the name of the referenced key

    bool operator==(const ForeignKey&) const = default;
};

/// A table or view of one database.
struct SIFKIT_EXPORT TableSchema {
    std::string name; ///< as users see it ("schema.table" outside the default schema)
    std::string type; ///< the catalogue's type: "TABLE", "VIEW", ...
    /// The primary key's columns in key order; empty when there is none.
    std::vector<std::string> primaryKey;
    /// The foreign keys that reference this table, in the catalogue's order.
    std::vector<ForeignKey> referencedBy;
    /// The columns of its query, in order; empty when only the objects were listed.
    std::vector<ColumnSchema> columns;
    /// How many columns its query has (columns without a name included).
    int32_t columnCount = 0;

    bool operator==(const TableSchema&) const = default;
    /// The column of that exact name, or null.
    const ColumnSchema* column(const std::string& columnName) const;
};

/// The tables and views of one database that a comparison lists, in catalogue order.
struct SIFKIT_EXPORT Catalogue {
    std::vector<TableSchema> objects;

    bool operator==(const Catalogue&) const = default;
    /// The first object of that exact name, or null.
    const TableSchema* find(const std::string& objectName) const;
};

} // namespace sifkit
