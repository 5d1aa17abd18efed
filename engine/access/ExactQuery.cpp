// SPDX-License-Identifier: MIT
#include "ExactQuery.h"

#include <cctype>

namespace sifkit::detail {

std::string ExactQuery::render(const platform::Dialect& dialect, std::vector<Value>& parameters) const {
    std::string sql = "SELECT ";
    if (columns.empty()) {
        sql += "*";
    } else {
        for (std::size_t i = 0; i < columns.size(); ++i)
            sql += (i ? ", " : "") + dialect.quoteIdentifier(columns[i]);
    }
    sql += " FROM " + dialect.quoteTable(table);
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        const auto& condition = conditions[i];
        sql += i ? " AND " : " WHERE ";
        std::string column = dialect.quoteIdentifier(condition.column);
        if (condition.value.isNull()) {
            sql += column + " IS NULL";
        } else {
            sql += dialect.equalsParameter(column, condition.value.kind());
            parameters.push_back(condition.value);
        }
    }
    if (!orderBy.empty())
        sql += " ORDER BY " + dialect.quoteIdentifier(orderBy);
    return sql;
}

std::optional<std::vector<std::string>> fieldListColumns(const std::string& fieldList) {
    std::vector<std::string> names;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < fieldList.size() && (fieldList[i] == ' ' || fieldList[i] == '\t'))
            ++i;
    };
    skipBlanks();
    if (i == fieldList.size() ||
        (fieldList[i] == '*' && fieldList.find_first_not_of(" \t", i + 1) == std::string::npos))
        return names;
    while (true) {
        std::string name;
        if (i < fieldList.size() && fieldList[i] == '[') {
            bool closed = false;
            for (++i; i < fieldList.size(); ++i) {
                if (fieldList[i] == ']') {
                    if (i + 1 < fieldList.size() && fieldList[i + 1] == ']') {
                        name += ']';
                        ++i;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                name += fieldList[i];
            }
            if (!closed)
                return std::nullopt;
        } else {
            while (i < fieldList.size() &&
                   (std::isalnum(static_cast<unsigned char>(fieldList[i])) || fieldList[i] == '_'))
                name += fieldList[i++];
        }
        if (name.empty())
            return std::nullopt;
        names.push_back(std::move(name));
        skipBlanks();
        if (i == fieldList.size())
            return names;
        if (fieldList[i] != ',')
            return std::nullopt;
        ++i;
        skipBlanks();
    }
}

} // namespace sifkit::detail
