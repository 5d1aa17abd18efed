// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dbsift::cli {

/// The statements of an SQL script, in order, without their closing ";" and without comments.
/// A statement ends at a ";" outside quotes ('...', "...", `...`, [...]) and comments (-- to the
/// end of the line, /* ... */). Statements with a body of their own (CREATE TRIGGER ... BEGIN
/// ...; END) are not supported; the sample scripts have none.
std::vector<std::string> splitStatements(std::string_view script);

} // namespace dbsift::cli
