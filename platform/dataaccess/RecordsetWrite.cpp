// SPDX-License-Identifier: MIT
#include "State.h"

#include <sifkit/DataAccess.h>

#include <cctype>

namespace sifkit {

using platform::RecordsetState;

namespace platform {

std::string tableOfQuery(const std::string& sql) {
    // Find " from " outside literals, then read one bracketed, quoted or bare name.
    std::string lower;
    lower.reserve(sql.size());
    for (unsigned char c : sql)
        lower += static_cast<char>(std::tolower(c));
    std::size_t at = std::string::npos;
    char inLiteral = 0;
    for (std::size_t i = 0; i + 4 <= lower.size(); ++i) {
        char c = lower[i];
        if (inLiteral) {
            if (c == inLiteral)
                inLiteral = 0;
            continue;
        }
        if (c == '\'' || c == '"' || c == '[') {
            inLiteral = c == '[' ? ']' : c;
            continue;
        }
        bool wordStart =
            i == 0 || std::isspace(static_cast<unsigned char>(lower[i - 1])) || lower[i - 1] == ')';
        if (wordStart && lower.compare(i, 4, "from") == 0 &&
            (i + 4 == lower.size() || std::isspace(static_cast<unsigned char>(lower[i + 4])))) {
            if (at != std::string::npos)
                return {}; // more than one from: not a simple query
            at = i + 4;
        }
    }
    if (at == std::string::npos)
        return {};
    std::size_t i = sql.find_first_not_of(" \t\r\n", at);
    if (i == std::string::npos)
        return {};
    std::string name;
    if (sql[i] == '[' || sql[i] == '"' || sql[i] == '`') {
        char close = sql[i] == '[' ? ']' : sql[i];
        std::size_t j = i + 1;
        for (; j < sql.size(); ++j) {
            if (sql[j] == close) {
                if (j + 1 < sql.size() && sql[j + 1] == close) {
                    name += close;
                    ++j;
                    continue;
                }
                break;
            }
            name += sql[j];
        }
        if (j >= sql.size())
            return {};
        i = j + 1;
    } else {
        while (i < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '_'))
            name += sql[i++];
    }
    // A join or a second table after the name means more than one table.
    std::size_t next = sql.find_first_not_of(" \t\r\n", i);
    if (next != std::string::npos && sql[next] == ',')
        return {};
    std::string rest = lower.substr(next == std::string::npos ? lower.size() : next);
    if (rest.rfind("join", 0) == 0 || rest.find(" join ") != std::string::npos)
        return {};
    return name;
}

} // namespace platform

namespace {

/// The column name to write for a field, "" when the field is not a plain column of the table.
/// Drivers name the base table bare, without its schema.
std::string writableColumn(const platform::ColumnInfo& column, const std::string& table,
                           const platform::Dialect& dialect) {
    if (!column.baseTable.empty() && column.baseTable != table &&
        column.baseTable != dialect.splitTableName(table).second)
        return {};
    return column.baseColumn.empty() ? column.name : column.baseColumn;
}

/// The count a "SELECT COUNT(*)" gives.
int64_t rowsFound(platform::Backend& backend, const std::string& sql, const std::vector<Value>& params) {
    platform::RowSet count = backend.query(sql, params);
    if (count.rows.empty() || count.rows[0].empty() || count.rows[0][0].kind() != Value::Kind::Integer)
        return 0;
    return count.rows[0][0].asInteger();
}

} // namespace

void Recordset::update() {
    auto& s = *state_;
    if (s.edit == RecordsetState::Edit::None)
        return;
    s.requireOpen();
    if (!s.connection || !s.connection->backend)
        throw Error(ErrorNumber::ConnectionInvalid,
                    "The connection cannot be used to perform this operation. "
                    "It is either closed or invalid in this context.");
    platform::Backend& backend = *s.connection->backend;
    const auto& dialect = backend.dialect();
    const auto& columns = s.data.columns;
    const std::string table = dialect.quoteTable(s.baseTable);

    std::vector<Value> params;
    if (s.edit == RecordsetState::Edit::Adding) {
        std::string names, marks;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            std::string column = writableColumn(columns[i], s.baseTable, dialect);
            if (!s.pending[i] || column.empty())
                continue;
            names += (names.empty() ? "" : ", ") + dialect.quoteIdentifier(column);
            marks += marks.empty() ? "?" : ", ?";
            params.push_back(*s.pending[i]);
        }
        std::string sql = names.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                        : "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
        backend.execute(sql, params);
        platform::Row row;
        for (std::size_t i = 0; i < columns.size(); ++i)
            row.push_back(s.pending[i] ? *s.pending[i] : Value());
        s.data.rows.push_back(std::move(row));
        s.position = s.data.rows.size() - 1;
        cancelUpdate();
        return;
    }

    s.requireCurrentRow();
    const platform::Row& original = s.data.rows[s.position];
    std::string assignments;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!s.pending[i])
            continue;
        std::string column = writableColumn(columns[i], s.baseTable, dialect);
        if (column.empty())
            throw Error(ErrorNumber::NotAllowedInContext, "Field \"" + columns[i].name +
                                                              "\" is not a column of table \"" + s.baseTable +
                                                              "\".");
        assignments += (assignments.empty() ? "" : ", ") + dialect.quoteIdentifier(column) + " = ?";
        params.push_back(*s.pending[i]);
    }
    if (assignments.empty()) {
        cancelUpdate();
        return;
    }
    // The row is found again by every value it was read with.
    std::vector<std::string> conditions;
    std::vector<Value> whereParams;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::string column = writableColumn(columns[i], s.baseTable, dialect);
        if (column.empty())
            continue;
        std::string quoted = dialect.quoteIdentifier(column);
        if (original[i].isNull()) {
            conditions.push_back(quoted + " IS NULL");
        } else {
            conditions.push_back(dialect.equalsParameter(quoted, columns[i], original[i].kind()));
            whereParams.push_back(original[i]);
        }
    }
    const std::string where = conditions.empty() ? std::string() : " WHERE " + platform::allOf(conditions);
    params.insert(params.end(), whereParams.begin(), whereParams.end());
    platform::TransactionScope transaction(backend);
    int64_t changed = backend.execute("UPDATE " + table + " SET " + assignments + where, params);
    // MariaDB and MySQL count the rows an update changed, not those it found: a row that held
    // the new values already counts as none.
    if (changed == 0)
        changed = rowsFound(backend, "SELECT COUNT(*) FROM " + table + where, whereParams);
    if (changed == 0)
        throw Error(ErrorNumber::RowNotLocated,
                    "Row cannot be located for updating: it has been changed or deleted since it was read.");
    if (changed > 1)
        throw Error(ErrorNumber::RowNotLocated,
                    "The row to update is not unique: " + std::to_string(changed) +
                        " rows hold the same values. Nothing was changed.");
    transaction.commit();
    platform::Row& row = s.data.rows[s.position];
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (s.pending[i])
            row[i] = *s.pending[i];
    cancelUpdate();
}

} // namespace sifkit
