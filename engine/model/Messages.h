// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/Failure.h>

#include <cstdint>
#include <exception>
#include <string>

namespace sifkit::detail {

/// The cause of a failure as the data access layer or the driver reported it.
struct Cause {
    int32_t number = 0; ///< the layer's error number, the driver's native code, or 0
    std::string sqlState;
    std::string description;

    /// The cause of an exception: a sifkit::Error's number and description (and a database
    /// error's SQLSTATE); number 0 and what() for any other exception.
    static Cause of(const std::exception& failure);
    /// The cause of the exception being handled; call only inside a catch block.
    static Cause current();
    /// "<number> <description>", the form every message of a data access failure starts with.
    std::string text() const;
};

// The engine's numbered messages, each built here and nowhere else. Every function returns the
// failure with `text` set to exactly what is appended to the side's message text.

/// #2: the connection could not be opened (its password masked), as the side's open appends it.
Failure connectionFailure(const Cause& cause, const std::string& connectionString);
/// #2 as the connection wrapper's own result text, for clsData.
std::string connectionFailureText(const Cause& cause, const std::string& connectionString);
/// #1: a table could not be opened as a table, as the connection wrapper's result text.
std::string tableOpenFailureText(const Cause& cause, const std::string& table);
/// #3 (main record set) or #4 (second record set): an SQL text could not be opened, as the
/// side's open of a record set appends it (" <failure> ||").
Failure openFailure(int32_t messageNumber, const Cause& cause, const std::string& sql);
/// #4: the match query that looks for a record on the other side could not be run; shown is
/// its text as users see it.
Failure lookupFailure(const Cause& cause, const std::string& shown);
/// #3 as the record set's own result text ("<cause> #3 ... ||"), for clsData.
std::string openFailureText(int32_t messageNumber, const Cause& cause, const std::string& sql);
/// #3 for a field list that does not read as column names: nothing was sent.
Failure fieldListFailure(const std::string& fieldList, const std::string& shownSql);
/// #5: the table catalogue could not be opened.
Failure catalogueFailure(const Cause& cause, const std::string& connectionString);
/// #6: a statement could not be run.
Failure executeFailure(const Cause& cause, const std::string& sql);
/// #7: a record could not be written (added, updated or restored).
Failure writeFailure(const Cause& cause, const std::string& table);
/// #11: the fields of a table could not be listed; position is the column reached.
Failure fieldItemsFailure(const std::string& sql, int32_t position);
/// #12: a record's value could not be read.
Failure recordFailure(int32_t position, int32_t fieldCount);
/// #14: a counted data pass ended before its last record.
Failure dataPassFailure(const std::string& sql);
/// #16: an ordered data pass ended before its last record.
Failure orderedPassFailure(const std::string& sql, const std::string& orderField);
/// #17: the structure of one table could not be read.
Failure tableStructureFailure(const std::string& table);
/// #18: the fields of a data comparison could not be read.
Failure fieldStructureFailure(const std::string& table, const std::string& fieldList);
/// #19: an object of the catalogue (or the catalogue) could not be read.
Failure catalogueWalkFailure(const std::string& object);
/// #70 to #78: the engine control's own (#78: the user cancelled the run); the text as the
/// number gives it.
Failure controlFailure(int32_t messageNumber);

} // namespace sifkit::detail
