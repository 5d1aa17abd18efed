// SPDX-License-Identifier: MIT
#include "Statement.h"

namespace sifkit::detail {

std::string Statement::render(const platform::Dialect& dialect, std::vector<Value>& parameters) const {
    std::string sql = "SELECT ";
    if (columns.empty()) {
        sql += "*";
    } else {
        for (std::size_t i = 0; i < columns.size(); ++i)
            sql += (i ? ", " : "") + dialect.quoteIdentifier(columns[i]);
    }
    sql += " FROM " + dialect.quoteTable(table);
    std::vector<std::string> tests;
    for (const Condition& condition : conditions) {
        const std::string column = dialect.quoteIdentifier(condition.column);
        if (condition.value.isNull()) {
            tests.push_back(column + " IS NULL");
        } else {
            tests.push_back(dialect.equalsParameter(column, condition.value.kind()));
            parameters.push_back(condition.value);
        }
    }
    if (!filter.empty())
        tests.push_back("(" + filter + ")");
    if (!tests.empty())
        sql += " WHERE " + platform::allOf(tests);
    if (!orderBy.empty())
        sql += " ORDER BY " + dialect.quoteIdentifier(orderBy);
    return sql;
}

} // namespace sifkit::detail
