// SPDX-License-Identifier: MIT
#pragma once

#include "access/SchemaCatalogue.h"

#include <sifkit/clsDBManager.h>

namespace sifkit::detail {

/// Gives the side's current object (its tableName and tableDataType) a table item with its
/// primary and foreign keys, followed by one field item per column unless the side lists
/// objects only. "SYSTEM TABLE" and "ACCESS TABLE" objects are never listed, "TABLE" objects
/// always, any other kind (views) only when the side's showViews is set; an object that is not
/// listed contributes no field items either. Failures of the key queries propagate. What the
/// server catalogue holds for the object is taken from there instead of asked again.
void addTableItem(clsDBManager& side, const DeclaredForeignKeys* declared = nullptr,
                  const ServerCatalogue* server = nullptr);

/// Lists every object of the side's table catalogue, in catalogue order, through addTableItem.
/// The side's tableName and tableDataType hold the last row's values afterwards. An object that
/// cannot be read adds a #19 text naming it to the side's general message and the walk goes on;
/// a catalogue that cannot be read ends it with that text.
void readAllTables(clsDBManager& side);

/// The one-table load: addTableItem for the side's tableName and tableDataType, then the column
/// count of its query stored with setFieldCount. A failure becomes a #17 text in the side's
/// general message.
void loadTableStructure(clsDBManager& side);

} // namespace sifkit::detail
