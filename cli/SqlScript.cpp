// SPDX-License-Identifier: MIT
#include "SqlScript.h"

namespace dbsift::cli {

namespace {

std::string trimmed(const std::string& text) {
    auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

char closingQuote(char opening) {
    switch (opening) {
    case '\'':
    case '"':
    case '`':
        return opening;
    case '[':
        return ']';
    default:
        return '\0';
    }
}

} // namespace

std::vector<std::string> splitStatements(std::string_view script) {
    std::vector<std::string> statements;
    std::string current;
    auto finish = [&] {
        if (std::string statement = trimmed(current); !statement.empty())
            statements.push_back(std::move(statement));
        current.clear();
    };
    std::size_t at = 0;
    while (at < script.size()) {
        const char c = script[at];
        if (c == '-' && script.substr(at, 2) == "--") {
            at = script.find('\n', at);
            if (at == std::string_view::npos)
                break;
            continue; // the line break itself is kept
        }
        if (c == '/' && script.substr(at, 2) == "/*") {
            auto end = script.find("*/", at + 2);
            at = end == std::string_view::npos ? script.size() : end + 2;
            current += ' ';
            continue;
        }
        if (char close = closingQuote(c)) {
            // A quote doubled inside quotes ('it''s') closes and reopens: the text runs on.
            auto end = script.find(close, at + 1);
            end = end == std::string_view::npos ? script.size() : end + 1;
            current.append(script.substr(at, end - at));
            at = end;
            continue;
        }
        if (c == ';') {
            finish();
            ++at;
            continue;
        }
        current += c;
        ++at;
    }
    finish();
    return statements;
}

} // namespace dbsift::cli
