// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/Value.h>

#include <string>
#include <vector>

namespace dbsift::cli {

/// One line of the --show-sql trace: "SQL: " and the statement, then " -- values: " and the
/// bound values in order when there are any (texts quoted with "'" doubled, binary as X'..',
/// Null as NULL, reals in their shortest exact form).
std::string sqlTraceLine(const std::string& sql, const std::vector<sifkit::Value>& values);

} // namespace dbsift::cli
