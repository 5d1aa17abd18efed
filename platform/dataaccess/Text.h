// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>

namespace sifkit::platform {

/// The text without its leading and trailing blanks (spaces, or the characters given).
inline std::string trimmed(const std::string& text, const char* blanks = " ") {
    auto begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

/// Whether two texts are equal without regard to the letter case of ASCII letters.
inline bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

/// The position of the first item named exactly `name`, else of the first named so without
/// regard to letter case (as names of fields and Access objects are found); npos for none.
template <typename Items, typename NameOf>
std::size_t positionOfName(const Items& items, const std::string& name, NameOf nameOf) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (nameOf(items[i]) == name)
            return i;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (equalsIgnoringCase(nameOf(items[i]), name))
            return i;
    return std::string::npos;
}

} // namespace sifkit::platform
