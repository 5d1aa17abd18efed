// SPDX-License-Identifier: MIT
#include "shell/SettingsText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace dbsift {

namespace {

/// The whole text as a double, or nothing; surrounding blanks are allowed.
std::optional<double> toDouble(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const auto last = text.find_last_not_of(' ');
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+')
        ++begin;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

double parseDecimalText(const std::string& text, double defaultValue) {
    if (auto value = toDouble(text))
        return *value;
    std::string swapped = text;
    if (swapped.find('.') != std::string::npos)
        std::replace(swapped.begin(), swapped.end(), '.', ',');
    else
        std::replace(swapped.begin(), swapped.end(), ',', '.');
    if (auto value = toDouble(swapped))
        return *value;
    return defaultValue;
}

bool textToBool(const std::string& text, bool defaultValue) {
    std::string lower;
    for (char c : text)
        if (c != ' ')
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "true")
        return true;
    if (lower == "false")
        return false;
    if (auto number = toDouble(text))
        return *number != 0;
    return defaultValue;
}

int64_t textToWhole(const std::string& text, int64_t defaultValue, int64_t minimum, int64_t maximum) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return defaultValue;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    bool anyDigit = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        anyDigit = true;
        value = value * 10 + (text[i] - '0');
        if (value > (int64_t{1} << 40))
            return defaultValue;
    }
    if (!anyDigit)
        return defaultValue;
    if (negative)
        value = -value;
    return value < minimum || value > maximum ? defaultValue : value;
}

std::string boolText(bool value) {
    return value ? "True" : "False";
}

} // namespace dbsift
