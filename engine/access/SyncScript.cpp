// SPDX-License-Identifier: MIT
#include "SyncStatements.h"

#include <sifkit/Credentials.h>
#include <sifkit/SyncRun.h>

namespace sifkit {

namespace {

using detail::SyncProduct;

/// A comment line: the text cannot end the comment or start a statement.
std::string comment(const std::string& text) {
    std::string line = "-- ";
    for (char c : text)
        line += c == '\n' || c == '\r' ? ' ' : c;
    return line + "\n";
}

std::string counts(int32_t inserts, int32_t updates, int32_t deletes) {
    return std::to_string(inserts) + " insert" + (inserts == 1 ? "" : "s") + ", " + std::to_string(updates) +
           " update" + (updates == 1 ? "" : "s") + ", " + std::to_string(deletes) + " delete" +
           (deletes == 1 ? "" : "s");
}

std::string header(const SyncPlan& plan, SyncProduct product, const SyncNames& names) {
    const bool toModified = plan.direction == SyncDirection::ToModified;
    std::string text = comment(
        std::string("dbsift sync script: makes the ") +
        (toModified ? "Modified database like the Original." : "Original database like the Modified."));
    text += comment("Original: " + maskCredentials(names.original));
    text += comment("Modified: " + maskCredentials(names.modified));
    text += comment(
        std::string("Changes the ") + (toModified ? "Modified" : "Original") + ": " +
        counts(plan.count(SyncKind::Insert), plan.count(SyncKind::Update), plan.count(SyncKind::Delete)) +
        ".");
    for (const TableSync& table : plan.tables)
        text += comment("  " + table.table + ": " +
                        counts(table.count(SyncKind::Insert), table.count(SyncKind::Update),
                               table.count(SyncKind::Delete)));
    for (const TableSync& table : plan.tables)
        for (const std::string& left : table.leftOut)
            text += comment("Left out: " + left);
    switch (product) {
    case SyncProduct::Sqlite:
        text += comment("Run it with: sqlite3 -bail DATABASE < SCRIPT (a failure then commits nothing).");
        break;
    case SyncProduct::Postgres:
        text += comment(
            "Run it with: psql -v ON_ERROR_STOP=1 -f SCRIPT DATABASE (a failure then commits nothing).");
        break;
    case SyncProduct::Mariadb:
        text += comment("Run it with: mariadb DATABASE < SCRIPT (a failure then commits nothing).");
        break;
    }
    return text;
}

} // namespace

std::string syncScript(const SyncPlan& plan, const Connection& target, const SyncNames& names) {
    platform::Backend& backend = platform::requireBackend(target);
    const platform::Dialect& dialect = backend.dialect();
    const SyncProduct product = detail::syncProductOf(dialect);
    std::string script = header(plan, product, names) + "\n";
    switch (product) {
    case SyncProduct::Sqlite:
        script += "BEGIN;\n";
        break;
    case SyncProduct::Postgres:
        script += "SET client_encoding = 'UTF8';\nSET standard_conforming_strings = on;\nBEGIN;\n";
        break;
    case SyncProduct::Mariadb:
        script += "SET NAMES utf8mb4;\nSTART TRANSACTION;\n";
        break;
    }
    for (const detail::SyncStep& step : detail::syncOrder(plan, backend)) {
        const TableSync& table = plan.tables[step.table];
        const SyncChange& change = table.changes[step.change];
        const detail::SyncStatements statements(dialect, table.table);
        switch (change.kind) {
        case SyncKind::Insert:
            for (int32_t copy = 0; copy < change.copies; ++copy)
                script +=
                    statements.insert(detail::columnNames(table), change.after).withLiterals(dialect) + ";\n";
            break;
        case SyncKind::Update:
            script += statements
                          .update(detail::writtenColumns(table, change, change.after),
                                  detail::rowFinder(table, change.before))
                          .withLiterals(dialect) +
                      ";\n";
            break;
        case SyncKind::Delete:
            script += statements.erase(detail::rowFinder(table, change.before)).withLiterals(dialect) + ";\n";
            break;
        }
    }
    return script + "COMMIT;\n";
}

} // namespace sifkit
