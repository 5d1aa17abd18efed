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

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
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

std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    // The range of the second byte excludes overlong forms, surrogates and code points past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

namespace {

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

/// Whether text[at] starts "x" and two hexadecimal digits, the tail of an escaped byte.
bool startsHexTail(std::string_view text, std::size_t at) {
    return at + 2 < text.size() && text[at] == 'x' && isHexDigit(text[at + 1]) && isHexDigit(text[at + 2]);
}

} // namespace

// A value is kept on one line of the settings file and read back byte for byte. A control byte
// (0x00-0x1F and 0x7F: line breaks, NUL, tab), a byte that is not part of well-formed UTF-8, and
// a blank that begins or ends the value (which readers and editors trim) are written as "\x"
// and two upper-case hexadecimal digits ("\x0A", "\x20"). A backslash is written as "\\" only
// where it would otherwise be read as the start of one of these two forms, that is when the
// written text after it starts with a backslash or with "x" and two hexadecimal digits. Every
// other byte is written as it is, so plain text, Windows paths and LIKE patterns included, is
// kept unchanged; reading takes any other backslash literally, so values written without this
// encoding read back as they were unless they hold one of the two forms.
std::string encodeProfileValue(std::string_view value) {
    const auto needsEscape = [value](std::size_t i) {
        const auto c = static_cast<unsigned char>(value[i]);
        return isControl(c) || utf8SequenceLength(value, i) == 0 ||
               (c == ' ' && (i == 0 || i + 1 == value.size()));
    };
    std::string stored;
    stored.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        if (needsEscape(i)) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto c = static_cast<unsigned char>(value[i]);
            stored += {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
            ++i;
            continue;
        }
        if (value[i] == '\\') {
            const bool next = i + 1 < value.size();
            stored += '\\';
            if (next && (value[i + 1] == '\\' || needsEscape(i + 1) || startsHexTail(value, i + 1)))
                stored += '\\';
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceLength(value, i);
        stored.append(value.substr(i, length));
        i += length;
    }
    return stored;
}

std::string decodeProfileValue(std::string_view stored) {
    std::string value;
    value.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\\' && i + 1 < stored.size() && stored[i + 1] == '\\') {
            value += '\\';
            ++i;
        } else if (stored[i] == '\\' && startsHexTail(stored, i + 1)) {
            value += static_cast<char>(std::stoi(std::string(stored.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            value += stored[i];
        }
    }
    return value;
}

} // namespace dbsift
