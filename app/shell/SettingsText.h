// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

/// The text with its ASCII letters in lower case, for comparing keys and names without letter case.
std::string lowered(std::string text);

/// "True" or "False", as booleans are written to the settings file.
std::string boolText(bool value);

/// The length (1 to 4) of the well-formed UTF-8 sequence that starts at text[at], or 0 when the
/// byte there starts none: a stray continuation byte, an overlong form, a surrogate, a code point
/// beyond U+10FFFF or a sequence cut short.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

/// A value as it is kept on its line of the settings file, so that any text, line breaks and NULs
/// included, reads back exactly; plain text is kept as it is. The encoding is described at the
/// definition.
std::string encodeProfileValue(std::string_view value);

/// The text of a stored value: encodeProfileValue undone.
std::string decodeProfileValue(std::string_view stored);

} // namespace dbsift
