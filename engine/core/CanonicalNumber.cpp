// SPDX-License-Identifier: MIT
#include "CanonicalNumber.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace sifkit::detail {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Drops the zeros before the first and after the last significant digit, moving the exponent.
void normalise(CanonicalNumber& number) {
    const std::size_t first = number.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        number = CanonicalNumber{};
        return;
    }
    const std::size_t last = number.digits.find_last_not_of('0');
    number.exponent += static_cast<int>(number.digits.size() - 1 - last);
    number.digits = number.digits.substr(first, last - first + 1);
}

} // namespace

bool CanonicalNumber::asInt64(int64_t& whole) const {
    if (digits.empty()) {
        whole = 0;
        return true;
    }
    if (exponent < 0 || digits.size() + static_cast<std::size_t>(exponent) > 19)
        return false;
    uint64_t magnitude = 0;
    for (char digit : digits)
        magnitude = magnitude * 10 + static_cast<uint64_t>(digit - '0');
    for (int i = 0; i < exponent; ++i)
        magnitude *= 10;
    // 19 digits fit in 64 bits without wrapping; the sign decides the last one allowed.
    constexpr uint64_t largest = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (magnitude > largest + (negative ? 1 : 0))
        return false;
    whole = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

std::string CanonicalNumber::bytes() const {
    return (negative ? "-" : "") + digits + "e" + std::to_string(exponent);
}

std::optional<CanonicalNumber> numberFromText(std::string_view text) {
    CanonicalNumber number;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        number.negative = text[at++] == '-';
    bool anyDigit = false;
    for (; at < text.size() && isDigit(text[at]); ++at, anyDigit = true)
        number.digits += text[at];
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && isDigit(text[at]); ++at, anyDigit = true) {
            number.digits += text[at];
            --number.exponent;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && text[at] == '+')
            ++at;
        int power = 0;
        const auto parsed = std::from_chars(text.data() + at, text.data() + text.size(), power);
        if (parsed.ec != std::errc() || parsed.ptr == text.data() + at)
            return std::nullopt;
        at = static_cast<std::size_t>(parsed.ptr - text.data());
        number.exponent += power;
    }
    if (at != text.size())
        return std::nullopt;
    normalise(number);
    return number;
}

CanonicalNumber numberFromReal(double finite) {
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, finite);
    // The shortest form of a finite double always reads as a number.
    return *numberFromText(std::string_view(text, static_cast<std::size_t>(written.ptr - text)));
}

} // namespace sifkit::detail
