// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace sifkit {

/// To what precision texts shaped as times ("2024-05-01 10:00:00.123456", "10:00:00.5") are
/// compared: exactly as written, or to whole seconds, milliseconds or microseconds (the digits
/// beyond are dropped, not rounded).
enum class TimePrecision { Exact, Seconds, Milliseconds, Microseconds };

/// When two values of a data comparison count as equal. The default is exact: texts byte for
/// byte, numbers by value, Null only to Null. Each option removes one kind of false difference
/// that products or applications introduce; records still differ in every other way.
struct ValueOptions {
    bool ignoreCase = false;   ///< texts compared without letter case (Unicode case folding)
    bool ignoreBlanks = false; ///< white space at the start and end of texts is not compared
    bool nullIsEmpty = false;  ///< a Null equals the empty text (and, with ignoreBlanks, a blank one)
    /// Reals and decimals equal when they differ by at most this much (0: by value exactly).
    /// Integers of integer columns on both sides stay exact: they are keys and counts.
    double tolerance = 0;
    TimePrecision timePrecision = TimePrecision::Exact;

    /// Whether texts or Nulls are brought to another form before they are compared.
    bool foldsTexts() const {
        return ignoreCase || ignoreBlanks || nullIsEmpty || timePrecision != TimePrecision::Exact;
    }
    bool exact() const { return !foldsTexts() && tolerance == 0; }
    bool operator==(const ValueOptions&) const = default;
};

/// The option's spelling on the command line and in saved comparisons: "s", "ms", "us", or ""
/// for exact.
inline std::string spellingOf(TimePrecision precision) {
    switch (precision) {
    case TimePrecision::Seconds:
        return "s";
    case TimePrecision::Milliseconds:
        return "ms";
    case TimePrecision::Microseconds:
        return "us";
    case TimePrecision::Exact:
        break;
    }
    return "";
}

/// The precision of a spelling that spellingOf gives; Exact for any other text.
inline TimePrecision timePrecisionFrom(std::string_view spelling) {
    for (TimePrecision precision :
         {TimePrecision::Seconds, TimePrecision::Milliseconds, TimePrecision::Microseconds})
        if (spelling == spellingOf(precision))
            return precision;
    return TimePrecision::Exact;
}

} // namespace sifkit
