// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace dbsift {

/// Reads text as a decimal fraction with "." or "," as separator: converts it as it stands; when
/// that fails, swaps every "." for "," (or, without ".", every "," for ".") and converts again;
/// when that fails too, answers defaultValue.
double parseDecimalText(const std::string& text, double defaultValue);

/// The settings' boolean rule: "true"/"false" in any letter case, or a number (0 false, anything
/// else true). Text that is neither answers defaultValue.
bool textToBool(const std::string& text, bool defaultValue);

/// The settings' whole-number rule: optional blanks and sign, then digits up to the first
/// non-digit. No digit at all, or a value outside [minimum, maximum], answers defaultValue.
int64_t textToWhole(const std::string& text, int64_t defaultValue, int64_t minimum = INT32_MIN,
                    int64_t maximum = INT32_MAX);

/// "True" or "False", as booleans are written to the settings file.
std::string boolText(bool value);

} // namespace dbsift
