// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/clsDBManager.h>

#include <string>

namespace sifkit::detail {

/// "select <field list> from [<table>]", or "select * from [<table>]" with an empty list.
std::string tableQuery(const clsDBManager& side);
/// Opens on side's main record set shownText, the table query of builtBy as tableQuery wrote it
/// (followed by an order clause on orderBy when that is given), in its exact form: the table and
/// the columns of builtBy's field list are quoted by side's connection, so no name can change
/// what runs. A field list that cannot be read as names opens nothing and adds a #3 text to
/// side's SQL message.
void openTableQuery(clsDBManager& side, const clsDBManager& builtBy, const std::string& shownText,
                    const std::string& orderBy = "", int32_t maxRows = 0);

/// Appends one field item per named column of the side's table query (the side's field list,
/// or every column), each with the column's type name, sizes, comparability, the table's
/// primary key and the number of columns. Failures become a #11 text in the SQL message.
void addFieldItems(clsDBManager& side);

/// addFieldItems with the table's primary key text already known, as after the table item was
/// made: it spares a second primary-key query per table.
void addFieldItems(clsDBManager& side, const std::string& primaryKey);

/// addFieldItems with the table query's columns and first row already read (firstRow, at most
/// one row): the same items and SQL messages, without a query.
void addFieldItems(clsDBManager& side, const std::string& primaryKey, const Recordset& firstRow);

/// addFieldItems, then stores the query's field count on the side. Failures become a #18 text
/// in the general message.
void loadFieldStructure(clsDBManager& side);

} // namespace sifkit::detail
