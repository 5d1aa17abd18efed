// SPDX-License-Identifier: MIT
#include "SqlTrace.h"

namespace dbsift::cli {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string shown(const sifkit::Value& value) {
    switch (value.kind()) {
    case sifkit::Value::Kind::Null:
        return "NULL";
    case sifkit::Value::Kind::Text:
        return quoted(value.asText());
    case sifkit::Value::Kind::Binary:
        return "X'" + value.toString() + "'";
    default:
        return value.toString();
    }
}

} // namespace

std::string sqlTraceLine(const std::string& sql, const std::vector<sifkit::Value>& values) {
    std::string line = "SQL: " + sql;
    for (std::size_t i = 0; i < values.size(); ++i)
        line += (i == 0 ? " -- values: " : ", ") + shown(values[i]);
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    return line;
}

} // namespace dbsift::cli
