// SPDX-License-Identifier: MIT
#include <sifkit/RowFilter.h>

namespace sifkit {

std::string whyNotARowFilter(const std::string& condition) {
    if (condition.find_first_not_of(" \t\r\n") == std::string::npos)
        return "the row filter is empty";
    int depth = 0;
    for (std::size_t i = 0; i < condition.size(); ++i) {
        const char c = condition[i];
        const char next = i + 1 < condition.size() ? condition[i + 1] : '\0';
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            // A quoted text or name runs to its closing quote; a doubled quote stays inside.
            const char close = c == '[' ? ']' : c;
            std::size_t end = i + 1;
            for (; end < condition.size(); ++end) {
                if (condition[end] != close)
                    continue;
                if (close != ']' && end + 1 < condition.size() && condition[end + 1] == close) {
                    ++end;
                    continue;
                }
                break;
            }
            if (end >= condition.size())
                return std::string("the row filter has a quote ") + c + " it does not close";
            i = end;
        } else if (c == ';') {
            return "the row filter holds a \";\": it must be one condition";
        } else if ((c == '-' && next == '-') || (c == '/' && next == '*') || c == '#') {
            return "the row filter holds a comment";
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth < 0) {
            return "the row filter closes a parenthesis it did not open";
        }
    }
    return depth == 0 ? "" : "the row filter opens a parenthesis it does not close";
}

} // namespace sifkit
