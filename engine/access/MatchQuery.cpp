// SPDX-License-Identifier: MIT
#include "MatchQuery.h"

#include "Failure.h"
#include "ManagerAccess.h"
#include "SqlLiterals.h"

#include "dataaccess/State.h"

namespace sifkit::detail {

int16_t isFieldUnmatched(const clsDBManager& manager1, const clsDBManager& manager2, int32_t index) {
    Recordset first = manager1.getDatabaseRecords();
    Recordset second = manager2.getDatabaseRecords();
    if (first.fieldCount() == second.fieldCount())
        return 0;
    if (index >= std::min(first.fieldCount(), second.fieldCount()))
        return 2;
    return first.field(index).name() == second.field(index).name() ? 0 : 2;
}

std::string formatMatchValue(const clsDBManager& manager, int32_t index) {
    Field field = manager.getDatabaseRecords().field(index);
    return sqlLiteral(field.value(), field.type(), manager.getIsAccess(), LiteralUse::MatchQuery);
}

std::string getMatchOperator(const clsDBManager& manager, int32_t index) {
    return matchOperator(manager.getDatabaseRecords().field(index).type());
}

void buildMatchQuery(const clsDBManager& manager1, clsDBManager& manager2) {
    Recordset records = manager1.getDatabaseRecords();
    std::string select = "Select ";
    std::string where = " Where ";
    ExactQuery exact{manager1.getTableName(), {}, {}, {}};
    bool first = true;
    for (int32_t index = 0; index < records.fieldCount(); ++index) {
        if (isFieldUnmatched(manager1, manager2, index) != 0)
            continue;
        Field field = records.field(index);
        const std::string& name = field.name();
        Value value = field.value();
        // The first field taking part opens the lists, also when an earlier one was left out.
        if (first) {
            select += "[" + name + "]";
            where +=
                "[" + name + "]" + (value.isNull() ? " is null" : " = " + formatMatchValue(manager1, index));
        } else {
            select += ",[" + name + "] ";
            where += value.isNull() ? " AND [" + name + "] is null "
                                    : " AND [" + name + "] " + getMatchOperator(manager1, index) +
                                          formatMatchValue(manager1, index);
        }
        first = false;
        exact.columns.push_back(name);
        exact.conditions.push_back({name, std::move(value)});
    }
    select += " from [" + manager1.getTableName() + "]";
    manager2.setSQL(select);
    manager2.setWhereClause(where);
    ManagerAccess::setBoundStatement(
        manager2, std::make_shared<BoundForm>(BoundForm{select + where, std::move(exact)}));
}

bool matchingRecordExists(const clsDBManager& /*manager1*/, clsDBManager& manager2) {
    const std::string text = manager2.getSql() + manager2.getWhereClause();
    const auto& form = ManagerAccess::boundStatement(manager2);
    if (!form || form->shownText != text) {
        manager2.openSecondDataBaseRecordsFromQuery(text);
        Recordset found = manager2.getDatabaseRecords2();
        if (found.state() != 1)
            throw LookupFailed{manager2.getReturnSQLMessage()};
        bool exists = !found.eof();
        manager2.closeRecordSet2();
        return exists;
    }
    // The engine's own match query runs as a prepared statement with its values bound.
    try {
        Connection connection = manager2.getDatabaseConnection();
        auto& backend = platform::StateAccess::backend(connection);
        std::vector<Value> parameters;
        std::string sql = form->query.render(backend.dialect(), parameters);
        return backend.rowExists(sql, parameters);
    } catch (...) {
        const std::string failure = " " + recordsOpenFailureText(4, text);
        manager2.setReturnSQLMessage(manager2.getReturnSQLMessage() + failure);
        throw LookupFailed{failure};
    }
}

} // namespace sifkit::detail
