// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace dbsift::cli {

/// Remembers a text that must never be shown (the password). Every line the program writes to
/// standard error passes through redact().
void registerSecret(const std::string& secret);

/// The text with every occurrence of a registered secret replaced by "****".
std::string redact(std::string text);

} // namespace dbsift::cli
