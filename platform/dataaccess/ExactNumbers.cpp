// SPDX-License-Identifier: MIT
#include "ExactNumbers.h"

#include <charconv>

namespace sifkit::platform {

double singleAsDouble(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double result = value;
    std::from_chars(text, written.ptr, result);
    return result;
}

std::string scaledDecimalText(bool negative, UInt128 unscaled, int scale) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(unscaled % 10)));
        unscaled /= 10;
    } while (unscaled != 0);
    if (scale > 0) {
        if (digits.size() <= static_cast<std::size_t>(scale))
            digits.insert(0, static_cast<std::size_t>(scale) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(scale), 1, '.');
    }
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return negative && !zero ? "-" + digits : digits;
}

} // namespace sifkit::platform
