// SPDX-License-Identifier: MIT
#include "StatementText.h"

#include "access/SqlLiterals.h"

namespace sifkit::detail {

std::string tableQueryText(const std::string& fieldList, const std::string& table,
                           const std::string& orderBy) {
    // An empty field list compares every field rather than sending "select  from".
    std::string text =
        "select " + (fieldList.empty() ? std::string("*") : fieldList) + " from [" + table + "]";
    if (!orderBy.empty())
        text += " order by " + orderBy;
    return text;
}

MatchQueryText matchQueryText(const Statement& match, bool isAccess) {
    MatchQueryText text{"Select ", " Where "};
    bool first = true;
    for (const Condition& condition : match.conditions) {
        const std::string name = "[" + condition.column + "]";
        const bool isNull = condition.value.isNull();
        const std::string literal =
            isNull ? std::string()
                   : sqlLiteral(condition.value, condition.typeCode, isAccess, LiteralUse::MatchQuery);
        // The first field taking part opens the lists, also when an earlier one was left out.
        if (first) {
            text.select += name;
            text.where += name + (isNull ? " is null" : " = " + literal);
        } else {
            text.select += "," + name + " ";
            text.where += isNull ? " AND " + name + " is null "
                                 : " AND " + name + " " + matchOperator(condition.typeCode) + literal;
        }
        first = false;
    }
    text.select += " from [" + match.table + "]";
    return text;
}

std::string recordWhereText(const Statement& record, bool isAccess) {
    std::string text = " Where ";
    bool first = true;
    for (const Condition& condition : record.conditions) {
        const bool isNull = condition.value.isNull();
        if (first) {
            // A first field that is Null has no literal to follow " = ": it is asked for as Null.
            text += condition.column + (isNull ? " is null" : " = ");
        } else if (!isNull) {
            text += " AND " + condition.column + " LIKE ";
        }
        if (!isNull)
            text += sqlLiteral(condition.value, condition.typeCode, isAccess, LiteralUse::WhereClause);
        first = false;
    }
    return text;
}

} // namespace sifkit::detail
