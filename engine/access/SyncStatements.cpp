// SPDX-License-Identifier: MIT
#include "SyncStatements.h"

#include "dataaccess/XmlValues.h"

#include <algorithm>
#include <cmath>

namespace sifkit::detail {

namespace {

bool holds(const std::string& text, char c) {
    return text.find(c) != std::string::npos;
}

std::string quoted(const std::string& text) {
    std::string literal = "'";
    for (char c : text)
        literal += c == '\'' ? std::string("''") : std::string(1, c);
    return literal + "'";
}

/// A real as a literal of that product that reads back as the same double.
std::string realLiteral(double real, SyncProduct product) {
    if (std::isnan(real) || std::isinf(real)) {
        if (product == SyncProduct::Postgres)
            return std::isnan(real) ? "'NaN'" : real > 0 ? "'Infinity'" : "'-Infinity'";
        if (product == SyncProduct::Sqlite && std::isinf(real))
            return real > 0 ? "9e999" : "-9e999";
        throw Error(ErrorNumber::NotAllowedInContext,
                    "The real " + formatReal(real) + " cannot be written into this database.");
    }
    std::string text = formatReal(real);
    if (product == SyncProduct::Postgres)
        return quoted(text);
    // An exponent makes MariaDB read a double, not a decimal; a point makes SQLite read a real.
    const bool isWhole = text.find_first_of(".e") == std::string::npos;
    if (product == SyncProduct::Mariadb && !holds(text, 'e'))
        return text + "e0";
    return isWhole ? text + ".0" : text;
}

std::string textLiteral(const std::string& text, SyncProduct product) {
    switch (product) {
    case SyncProduct::Sqlite:
        return holds(text, '\0') ? "CAST(X'" + platform::toHex(text) + "' AS TEXT)" : quoted(text);
    case SyncProduct::Postgres:
        return quoted(text); // the script turns standard_conforming_strings on
    case SyncProduct::Mariadb:
        // A backslash escapes in MariaDB's strings unless NO_BACKSLASH_ESCAPES is set: such texts
        // go in hexadecimal, which reads the same in either mode.
        return holds(text, '\\') || holds(text, '\0') ? "_utf8mb4 X'" + platform::toHex(text) + "'"
                                                      : quoted(text);
    }
    return quoted(text);
}

std::string literal(const Value& value, SyncProduct product) {
    switch (value.kind()) {
    case Value::Kind::Null:
        return "NULL";
    case Value::Kind::Integer:
        // PostgreSQL reads a quoted literal in the column's type: '1' goes into an integer, a
        // truth value or a decimal alike.
        return product == SyncProduct::Postgres ? quoted(value.toString()) : value.toString();
    case Value::Kind::Real:
        return realLiteral(value.asReal(), product);
    case Value::Kind::Text:
        return textLiteral(value.asText(), product);
    case Value::Kind::Binary:
        return product == SyncProduct::Postgres ? "'\\x" + value.toString() + "'"
                                                : "X'" + value.toString() + "'";
    }
    return "NULL";
}

platform::ColumnInfo infoOf(const ColumnSchema& column) {
    platform::ColumnInfo info;
    info.name = column.name;
    info.typeCode = column.typeCode;
    return info;
}

} // namespace

std::string SyncStatement::withMarks(std::vector<Value>& parameters) const {
    std::string sql;
    for (const Piece& piece : pieces_) {
        if (piece.value) {
            sql += "?";
            parameters.push_back(*piece.value);
        } else {
            sql += piece.text;
        }
    }
    return sql;
}

std::string SyncStatement::withLiterals(const platform::Dialect& dialect) const {
    const SyncProduct product = syncProductOf(dialect);
    std::string sql;
    for (const Piece& piece : pieces_)
        sql += piece.value ? literal(*piece.value, product) : piece.text;
    return sql;
}

SyncStatements::SyncStatements(const platform::Dialect& dialect, const std::string& table)
    : dialect_(dialect), quotedTable_(dialect.quoteTable(table)) {}

SyncStatement SyncStatements::insert(const std::vector<std::string>& columns,
                                     const std::vector<Value>& values) const {
    SyncStatement statement;
    statement << "INSERT INTO " + quotedTable_ + " (";
    for (std::size_t i = 0; i < columns.size(); ++i)
        statement << (i ? ", " : "") + dialect_.quoteIdentifier(columns[i]);
    statement << ") VALUES (";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            statement << ", ";
        statement.bind(values[i]);
    }
    statement << ")";
    return statement;
}

SyncStatement SyncStatements::update(const std::vector<ColumnValue>& set,
                                     const std::vector<ColumnValue>& where) const {
    SyncStatement statement;
    statement << "UPDATE " + quotedTable_ + " SET ";
    for (std::size_t i = 0; i < set.size(); ++i) {
        statement << (i ? ", " : "") + dialect_.quoteIdentifier(set[i].column->name) + " = ";
        statement.bind(set[i].value);
    }
    appendWhere(statement, where);
    return statement;
}

SyncStatement SyncStatements::erase(const std::vector<ColumnValue>& where) const {
    return onRows("DELETE FROM ", where);
}

SyncStatement SyncStatements::selectAll(const std::vector<ColumnValue>& where) const {
    return onRows("SELECT * FROM ", where);
}

SyncStatement SyncStatements::count(const std::vector<ColumnValue>& where) const {
    return onRows("SELECT COUNT(*) FROM ", where);
}

SyncStatement SyncStatements::onRows(const std::string& verb, const std::vector<ColumnValue>& where) const {
    SyncStatement statement;
    statement << verb + quotedTable_;
    appendWhere(statement, where);
    return statement;
}

void SyncStatements::appendWhere(SyncStatement& statement, const std::vector<ColumnValue>& where) const {
    // The conditions are nested as allOf nests them. Each value's "?" (a condition's last: the
    // column's name may hold "?" too) is marked apart from the text, and the value put there.
    const char mark = '\x01';
    std::vector<std::string> conditions;
    std::vector<const Value*> values;
    for (const ColumnValue& test : where) {
        const std::string column = dialect_.quoteIdentifier(test.column->name);
        if (test.value.isNull()) {
            conditions.push_back(column + " IS NULL");
            continue;
        }
        std::string condition = dialect_.equalsParameter(column, infoOf(*test.column), test.value.kind());
        condition[condition.rfind('?')] = mark;
        conditions.push_back(std::move(condition));
        values.push_back(&test.value);
    }
    if (conditions.empty())
        return;
    std::size_t bound = 0;
    const std::string joined = " WHERE " + platform::allOf(conditions);
    std::size_t start = 0;
    for (std::size_t i = 0; i < joined.size(); ++i) {
        if (joined[i] != mark)
            continue;
        statement << joined.substr(start, i - start);
        statement.bind(*values[bound++]);
        start = i + 1;
    }
    statement << joined.substr(start);
}

std::vector<ColumnValue> rowFinder(const TableSync& table, const std::vector<Value>& values) {
    if (table.keyColumns.empty())
        return everyColumn(table, values);
    std::vector<ColumnValue> finder;
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (std::find(table.keyColumns.begin(), table.keyColumns.end(), table.columns[i].name) !=
            table.keyColumns.end())
            finder.push_back({&table.columns[i], values[i]});
    return finder;
}

std::vector<ColumnValue> everyColumn(const TableSync& table, const std::vector<Value>& values) {
    std::vector<ColumnValue> all;
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        all.push_back({&table.columns[i], values[i]});
    return all;
}

std::vector<ColumnValue> writtenColumns(const TableSync& table, const SyncChange& change,
                                        const std::vector<Value>& values) {
    std::vector<ColumnValue> written;
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (change.written[i])
            written.push_back({&table.columns[i], values[i]});
    return written;
}

std::vector<std::string> columnNames(const TableSync& table) {
    std::vector<std::string> names;
    for (const ColumnSchema& column : table.columns)
        names.push_back(column.name);
    return names;
}

SyncProduct syncProductOf(const platform::Dialect& dialect) {
    if (dialect.isSqlite)
        return SyncProduct::Sqlite;
    if (dialect.dbmsName == "ACCESS")
        throw Error(ErrorNumber::ReadOnly, "Access files are opened read-only: nothing was written.");
    if (dialect.dbmsName.find("PostgreSQL") != std::string::npos)
        return SyncProduct::Postgres;
    if (!dialect.exactTextCollation.empty() || dialect.dbmsName.find("MySQL") != std::string::npos ||
        dialect.dbmsName.find("MariaDB") != std::string::npos)
        return SyncProduct::Mariadb;
    throw Error(ErrorNumber::NotAllowedInContext,
                "Records can be brought into line only in SQLite, PostgreSQL and MariaDB or MySQL databases, "
                "not in " +
                    dialect.dbmsName + ".");
}

namespace {

/// The plan's tables, each after the tables its foreign keys reference.
std::vector<std::size_t> referencedFirst(const SyncPlan& plan, platform::Backend& target) {
    const std::size_t count = plan.tables.size();
    std::vector<std::vector<std::size_t>> references(count);
    if (count > 1)
        for (std::size_t t = 0; t < count; ++t) {
            const platform::RowSet keys = target.foreignKeysDeclaredBy(plan.tables[t].table);
            const auto column =
                std::find_if(keys.columns.begin(), keys.columns.end(),
                             [](const platform::ColumnInfo& c) { return c.name == "PKTABLE_NAME"; });
            if (column == keys.columns.end())
                continue;
            const std::size_t at = static_cast<std::size_t>(column - keys.columns.begin());
            for (const platform::Row& key : keys.rows)
                for (std::size_t other = 0; other < count; ++other)
                    if (other != t && key[at].toString() ==
                                          target.dialect().splitTableName(plan.tables[other].table).second)
                        references[t].push_back(other);
        }
    std::vector<std::size_t> order;
    std::vector<bool> placed(count, false);
    for (bool progress = true; progress && order.size() < count;) {
        progress = false;
        for (std::size_t t = 0; t < count; ++t)
            if (!placed[t] && std::all_of(references[t].begin(), references[t].end(),
                                          [&](std::size_t other) { return placed[other]; })) {
                placed[t] = true;
                order.push_back(t);
                progress = true;
            }
    }
    for (std::size_t t = 0; t < count; ++t)
        if (!placed[t])
            order.push_back(t);
    return order;
}

} // namespace

std::vector<SyncStep> syncOrder(const SyncPlan& plan, platform::Backend& target) {
    const std::vector<std::size_t> tables = referencedFirst(plan, target);
    std::vector<SyncStep> steps;
    const auto add = [&](std::size_t table, SyncKind kind) {
        for (std::size_t i = 0; i < plan.tables[table].changes.size(); ++i)
            if (plan.tables[table].changes[i].kind == kind)
                steps.push_back({table, i});
    };
    for (std::size_t t : tables)
        add(t, SyncKind::Insert);
    for (std::size_t t : tables)
        add(t, SyncKind::Update);
    for (auto t = tables.rbegin(); t != tables.rend(); ++t)
        add(*t, SyncKind::Delete);
    return steps;
}

} // namespace sifkit::detail
