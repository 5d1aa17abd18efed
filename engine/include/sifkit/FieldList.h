// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <optional>
#include <string>
#include <vector>

namespace sifkit {

/// The field list a data comparison takes (clsDBManager::setFieldList) for these column names:
/// every name in square brackets, a "]" inside doubled, separated by commas ("[id],[a]]b]").
/// Any name, however it is spelt, stays one column.
SIFKIT_EXPORT std::string writeFieldList(const std::vector<std::string>& names);

/// The column names of a field list as hosts write it: names separated by commas, each in
/// square brackets ("]]" inside stands for "]") or bare (letters, digits and "_"), blanks around
/// them allowed. An empty list or "*" gives no names (every column); a list of any other form
/// gives nothing, so that no text of it ever reaches a statement.
SIFKIT_EXPORT std::optional<std::vector<std::string>> parseFieldList(const std::string& fieldList);

} // namespace sifkit
