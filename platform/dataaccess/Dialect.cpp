// SPDX-License-Identifier: MIT
#include "Backend.h"

#include <algorithm>
#include <cctype>

namespace sifkit::platform {

std::string Dialect::quoteIdentifier(const std::string& name) const {
    // SQLite resolves brackets strictly as names, while a double-quoted name it cannot find
    // silently becomes a string: brackets are the safer spelling there.
    // The SQLite driver scans statements itself (for "?" marks and for a second statement)
    // and knows no brackets there: a name holding anything but letters, digits, "_" and
    // blanks goes in double quotes, a quote doubled inside.
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ' ' ||
               static_cast<unsigned char>(c) >= 0x80;
    });
    const char open = isSqlite ? (plain ? '[' : '"') : quoteOpen;
    const char close = isSqlite ? (open == '[' ? ']' : '"') : quoteClose;
    std::string quoted(1, open);
    for (char c : name) {
        quoted += c;
        if (c == close && open != '[')
            quoted += c;
    }
    quoted += close;
    return quoted;
}

std::pair<std::string, std::string> Dialect::splitTableName(const std::string& name) const {
    for (const std::string& schema : otherSchemas)
        if (name.size() > schema.size() + 1 && name.compare(0, schema.size(), schema) == 0 &&
            name[schema.size()] == '.')
            return {schema, name.substr(schema.size() + 1)};
    return {defaultSchema, name};
}

std::string Dialect::quoteTable(const std::string& name) const {
    auto [schema, table] = splitTableName(name);
    if (schema.empty() || schema == defaultSchema)
        return quoteIdentifier(table);
    return quoteIdentifier(schema) + "." + quoteIdentifier(table);
}

std::string Dialect::tableDisplayName(const std::string& schema, const std::string& table) const {
    if (defaultSchema.empty() || schema.empty() || schema == defaultSchema)
        return table;
    return schema + "." + table;
}

std::string Dialect::rewriteBrackets(const std::string& sql) const {
    std::string out;
    out.reserve(sql.size());
    for (std::size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        if (c == '\'' || c == '"' || c == '`') { // copy literals and quoted names untouched
            std::size_t end = i + 1;
            while (end < sql.size()) {
                if (sql[end] == c) {
                    if (end + 1 < sql.size() && sql[end + 1] == c) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            out.append(sql, i, end - i + 1);
            i = end;
            continue;
        }
        if (c != '[') {
            out += c;
            continue;
        }
        // A bracketed name; "]]" inside it stands for one "]".
        std::string name;
        std::size_t j = i + 1;
        bool closed = false;
        bool escaped = false;
        for (; j < sql.size(); ++j) {
            if (sql[j] == ']') {
                if (j + 1 < sql.size() && sql[j + 1] == ']') {
                    name += ']';
                    escaped = true;
                    ++j;
                    continue;
                }
                closed = true;
                break;
            }
            name += sql[j];
        }
        if (!closed) { // not a name after all: leave the rest as it is
            out.append(sql, i, std::string::npos);
            break;
        }
        // SQLite reads brackets itself but knows no escape inside them, and a double-quoted
        // name it cannot resolve silently becomes a string: keep brackets where they suffice.
        if (quoteOpen == '[' || (isSqlite && !escaped))
            out.append(sql, i, j - i + 1);
        else
            out += quoteIdentifier(name);
        i = j;
    }
    return out;
}

std::string Dialect::equalsParameter(const std::string& quotedColumn, Value::Kind parameterKind) const {
    if (parameterKind == Value::Kind::Real && realsAtFifteenDigits)
        return "(typeof(" + quotedColumn + ") IN ('integer','real') AND printf('%.15g'," + quotedColumn +
               ") = printf('%.15g',?))";
    if (parameterKind == Value::Kind::Text && isSqlite)
        return quotedColumn + " = ? COLLATE BINARY";
    // The text in one character set, so that the collation applies whatever the column's.
    if (parameterKind == Value::Kind::Text && !exactTextCollation.empty())
        return quotedColumn + " = CONVERT(? USING utf8mb4) COLLATE " + exactTextCollation;
    return quotedColumn + " = ?";
}

std::string Dialect::equalsParameter(const std::string& quotedColumn, const ColumnInfo& column,
                                     Value::Kind parameterKind) const {
    if (column.typeCode == 4 && parameterKind == Value::Kind::Real && !singlePrecisionType.empty())
        return quotedColumn + " = CAST(? AS " + singlePrecisionType + ")";
    return equalsParameter(quotedColumn, parameterKind);
}

namespace {

std::string allOf(const std::vector<std::string>& conditions, std::size_t begin, std::size_t end) {
    constexpr std::size_t chain = 32; // conditions joined as they stand
    std::string joined;
    if (end - begin <= chain) {
        for (std::size_t i = begin; i < end; ++i)
            joined += (i > begin ? " AND " : "") + conditions[i];
        return joined;
    }
    const std::size_t middle = begin + (end - begin) / 2;
    return "(" + allOf(conditions, begin, middle) + ") AND (" + allOf(conditions, middle, end) + ")";
}

} // namespace

std::string allOf(const std::vector<std::string>& conditions) {
    return allOf(conditions, 0, conditions.size());
}

} // namespace sifkit::platform
