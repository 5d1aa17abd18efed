// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <sifkit/Failure.h>
#include <sifkit/Schema.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sifkit::detail {

/// What a side's catalogue reading is asked for.
struct CatalogueRequest {
    bool showViews = false;   ///< list views (and any other kind but tables) as well
    bool objectsOnly = false; ///< list the objects without their columns
    std::string fieldList;    ///< the columns each object's query reads, as hosts write it; "" every column
    /// Read keys and first rows for all objects with a few statements where the connection can
    /// (a PostgreSQL server), and which keys reference a table from the keys each table declares
    /// where that settles it. False reads object by object; both give the same catalogue.
    bool atOnce = true;
    /// Called before each object is read: the run's heartbeat, which may end it (it throws).
    std::function<void()> beforeObject;
};

/// What reading an object's columns (its query, at most one row) left.
struct ColumnsReading {
    std::string shownSql;          ///< the object's query as messages show it
    std::vector<Failure> failures; ///< a #3 and the #11 that follows it; empty when read
};

/// What a catalogue walk found.
struct CatalogueReading {
    Catalogue catalogue;           ///< the listed objects, in catalogue order
    std::vector<Failure> failures; ///< in the order they were met
    std::string lastName;          ///< the catalogue's last row's name; "" without rows
    std::string lastType;          ///< and its type
    /// What the last listed object whose columns were read left; none when no columns were read.
    std::optional<ColumnsReading> lastColumns;
};

/// "SYSTEM TABLE" and "ACCESS TABLE" objects are never listed, "TABLE" objects always, any
/// other kind only with showViews.
bool isListedType(const std::string& type, bool showViews);

/// Reads a side's catalogue: every listed object with its primary key, the foreign keys that
/// reference it and, unless only objects are asked for, the columns of its query. An object
/// whose keys cannot be read is left out with a #19 failure naming it; one whose columns cannot
/// be read stays without them (#3, #11). A catalogue that cannot be opened ends the walk with
/// #5 and #19. A null backend is a closed connection; connectionString is only shown (masked).
CatalogueReading readCatalogue(platform::Backend* backend, const std::string& connectionString,
                               const CatalogueRequest& request);

/// Reads one object as the walk reads each of its objects; nothing when its type is not listed.
/// Throws when its primary key cannot be read.
std::optional<TableSchema> readObject(platform::Backend& backend, const std::string& name,
                                      const std::string& type, const CatalogueRequest& request,
                                      std::optional<ColumnsReading>& columns);

/// Every column of the table's primary key, in key order; empty without one. Throws when the
/// catalogue cannot be read.
std::vector<std::string> primaryKeyOf(platform::Backend& backend, const std::string& table);

/// The columns of a query's result, with the first row's actual sizes: every named column, and
/// the count of all of them.
std::vector<ColumnSchema> columnsOf(const platform::RowSet& firstRow, int32_t& columnCount);

} // namespace sifkit::detail
