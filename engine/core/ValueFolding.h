// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/CompareOptions.h>

#include <string>
#include <string_view>

namespace sifkit::detail {

/// A text in the form the options compare it in: blanks at both ends trimmed, a time cut to
/// the precision, letters case-folded. Returns text itself when the options change nothing,
/// else a view of buffer, which then holds the folded text.
std::string_view foldedText(std::string_view text, const ValueOptions& options, std::string& buffer);

/// The text as a time at the precision: a date, time or timestamp ("2024-05-01T10:00:00.120+02")
/// with its fraction cut to the precision's digits and its trailing zeros dropped, and a "T"
/// between date and time written as a blank. Nothing when the text is not shaped so.
bool cutTimeToPrecision(std::string& text, TimePrecision precision);

/// Whether two numbers differ by at most the tolerance. The difference is taken in long double,
/// with a margin of a few units in the last place, so that 1.005 and 1.000 are within 0.005.
bool withinTolerance(long double a, long double b, double tolerance);

} // namespace sifkit::detail
