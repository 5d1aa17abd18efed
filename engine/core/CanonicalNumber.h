// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sifkit::detail {

/// A number in the one spelling every equal number shares: its sign, its significant digits
/// without leading or trailing zeros, and the power of ten of the last of them. 1.10, 1.1 and
/// 11e-1 are the same number; zero has no digits and no sign.
struct CanonicalNumber {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    /// Whether it is a whole number an int64_t holds; sets whole when it is.
    bool asInt64(int64_t& whole) const;
    /// The canonical bytes: sign, digits, 'e' and the exponent.
    std::string bytes() const;
    bool operator==(const CanonicalNumber&) const = default;
};

/// The number a decimal text spells ("-12.3400", "7", "1.5E+3"); nothing for any other text,
/// blanks included.
std::optional<CanonicalNumber> numberFromText(std::string_view text);

/// The number a finite real is shown as: its shortest text that reads back to the same double.
CanonicalNumber numberFromReal(double finite);

} // namespace sifkit::detail
