// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace sifkit::platform {

/// The text without its leading and trailing blanks (spaces, or the characters given).
inline std::string trimmed(const std::string& text, const char* blanks = " ") {
    auto begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

} // namespace sifkit::platform
