// SPDX-License-Identifier: MIT
#include "RollbackFile.h"
#include "SyncStatements.h"
#include "SyncUndoFile.h"

#include <sifkit/Credentials.h>
#include <sifkit/SyncRun.h>

#include <ctime>
#include <filesystem>

namespace sifkit {

namespace {

using detail::SyncStatement;
using detail::SyncStatements;

/// The target's transaction: rolled back unless committed, whatever ends the work.
class Transaction {
public:
    explicit Transaction(platform::Backend& backend) : backend_(backend) { backend_.beginTransaction(); }
    ~Transaction() {
        if (!committed_)
            backend_.rollback();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit() {
        backend_.commit();
        committed_ = true;
    }

private:
    platform::Backend& backend_;
    bool committed_ = false;
};

/// Runs a statement with its values bound; how many rows it changed (-1 where the driver
/// does not tell).
int64_t run(platform::Backend& backend, const SyncStatement& statement) {
    std::vector<Value> parameters;
    const std::string sql = statement.withMarks(parameters);
    return backend.execute(sql, parameters);
}

platform::RowSet rowsOf(platform::Backend& backend, const SyncStatement& statement) {
    std::vector<Value> parameters;
    const std::string sql = statement.withMarks(parameters);
    return backend.query(sql, parameters);
}

int64_t countOf(platform::Backend& backend, const SyncStatement& statement) {
    const platform::RowSet rows = rowsOf(backend, statement);
    if (rows.rows.empty() || rows.rows[0].empty())
        return 0;
    const Value& count = rows.rows[0][0];
    return count.kind() == Value::Kind::Integer ? count.asInteger() : std::stoll(count.toString());
}

/// A failure of one row: the table, the row and what happened.
[[noreturn]] void rowFailure(const TableSync& table, const SyncChange& change, const std::string& what) {
    throw Error(ErrorNumber::RowNotLocated,
                "Table \"" + table.table + "\", row " + table.describeRow(change) + ": " + what);
}

/// Runs one change's statements, the database's own failure named with the row.
template <typename Work>
void forRow(const TableSync& table, const SyncChange& change, const char* doing, Work work) {
    try {
        work();
    } catch (const DatabaseError& error) {
        rowFailure(table, change,
                   std::string("the database refused ") + doing + ": " + error.description() + ".");
    }
}

/// The time now in UTC, in a strftime format.
std::string utcNow(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, format, &utc);
    return text;
}

/// Applies one change; for a delete, keeps the rows it removes.
void applyChange(platform::Backend& backend, const TableSync& table, const SyncChange& change,
                 detail::KeptTable& kept, std::size_t changeIndex) {
    const SyncStatements statements(backend.dialect(), table.table);
    switch (change.kind) {
    case SyncKind::Insert:
        forRow(table, change, "the insert", [&] {
            for (int32_t copy = 0; copy < change.copies; ++copy)
                run(backend, statements.insert(detail::columnNames(table), change.after));
        });
        return;
    case SyncKind::Update: {
        // The row must still hold every value the comparison read, not only its key.
        const auto where = detail::everyColumn(table, change.before);
        int64_t changed = 0;
        forRow(table, change, "the update", [&] {
            changed =
                run(backend, statements.update(detail::writtenColumns(table, change, change.after), where));
        });
        if (changed != 1)
            rowFailure(table, change, "it changed or was removed since the comparison.");
        return;
    }
    case SyncKind::Delete: {
        const auto where = detail::everyColumn(table, change.before);
        platform::RowSet rows;
        int64_t removed = 0;
        forRow(table, change, "the delete", [&] {
            rows = rowsOf(backend, statements.selectAll(where));
            if (rows.rows.size() == static_cast<std::size_t>(change.copies))
                removed = run(backend, statements.erase(where));
        });
        if (rows.rows.size() != static_cast<std::size_t>(change.copies) ||
            (removed >= 0 && removed != change.copies))
            rowFailure(table, change, "it changed or was removed since the comparison.");
        if (kept.rowColumns.empty())
            for (const platform::ColumnInfo& column : rows.columns)
                kept.rowColumns.push_back(column.name);
        kept.deletedRows[changeIndex] = std::move(rows.rows);
        return;
    }
    }
}

/// Takes one applied change back. A row found as it was before the apply is left alone.
void undoChange(platform::Backend& backend, const detail::KeptTable& kept, std::size_t changeIndex) {
    const TableSync& table = kept.sync;
    const SyncChange& change = table.changes[changeIndex];
    const SyncStatements statements(backend.dialect(), table.table);
    const char* changedSince = "it changed since the sync was applied.";
    switch (change.kind) {
    case SyncKind::Insert:
        forRow(table, change, "the delete of the inserted row", [&] {
            const int64_t removed = run(backend, statements.erase(detail::everyColumn(table, change.after)));
            if (removed != change.copies &&
                (removed > 0 ||
                 countOf(backend, statements.count(detail::rowFinder(table, change.after))) != 0))
                rowFailure(table, change, changedSince);
        });
        return;
    case SyncKind::Update:
        forRow(table, change, "the restore of the updated row", [&] {
            const int64_t restored =
                run(backend, statements.update(detail::writtenColumns(table, change, change.before),
                                               detail::everyColumn(table, change.after)));
            if (restored != 1 &&
                countOf(backend, statements.count(detail::everyColumn(table, change.before))) != 1)
                rowFailure(table, change, changedSince);
        });
        return;
    case SyncKind::Delete:
        forRow(table, change, "the insert of the deleted row", [&] {
            const int64_t present =
                countOf(backend, statements.count(detail::everyColumn(table, change.before)));
            if (present == change.copies)
                return;
            if (present != 0)
                rowFailure(table, change, "rows with its values were added since the sync was applied.");
            for (const platform::Row& row : kept.deletedRows.at(changeIndex))
                run(backend, statements.insert(kept.rowColumns, row));
        });
        return;
    }
}

} // namespace

std::string SyncRecord::description() const {
    int32_t inserted = 0, updated = 0, deleted = 0;
    std::string tableNames;
    for (const SyncedTable& table : tables) {
        inserted += table.inserted;
        updated += table.updated;
        deleted += table.deleted;
        tableNames += (tableNames.empty() ? "" : ", ") + table.table;
    }
    const bool toModified = direction == SyncDirection::ToModified;
    return std::to_string(inserted) + " inserted, " + std::to_string(updated) + " updated, " +
           std::to_string(deleted) + " deleted in " + tableNames + " (" +
           (toModified ? "Modified: " : "Original: ") +
           maskCredentials(toModified ? names.modified : names.original) + ")";
}

SyncRecord applySync(const SyncPlan& plan, const Connection& target, const SyncNames& names,
                     const std::string& undoFile) {
    platform::Backend& backend = platform::requireBackend(target);
    detail::syncProductOf(backend.dialect()); // refuses an Access file before anything runs
    std::error_code ec;
    if (std::filesystem::exists(undoFile, ec))
        throw Error(ErrorNumber::FileError,
                    "The undo file \"" + undoFile +
                        "\" already exists and is not overwritten: nothing was written.");

    detail::KeptSync kept;
    kept.record.id = detail::newRollbackId();
    kept.record.written = utcNow("%Y-%m-%dT%H:%M:%SZ");
    kept.record.database = withoutPassword(target.connectionString());
    kept.record.direction = plan.direction;
    kept.record.names = {maskCredentials(names.original), maskCredentials(names.modified)};
    for (const TableSync& table : plan.tables) {
        kept.tables.push_back({table, {}, {}});
        kept.record.tables.push_back({table.table, table.count(SyncKind::Insert),
                                      table.count(SyncKind::Update), table.count(SyncKind::Delete)});
    }

    Transaction transaction(backend);
    try {
        for (const detail::SyncStep& step : detail::syncOrder(plan, backend))
            applyChange(backend, plan.tables[step.table], plan.tables[step.table].changes[step.change],
                        kept.tables[step.table], step.change);
        detail::writeUndoFile(undoFile, kept);
    } catch (const Error& error) {
        throw Error(error.number(), error.description() + " Nothing was written.");
    }
    try {
        transaction.commit();
    } catch (const Error& error) {
        // Nothing was written, so there is nothing to undo.
        std::filesystem::remove(undoFile, ec);
        throw Error(error.number(),
                    "The changes could not be committed: " + error.description() + " Nothing was written.");
    }
    return kept.record;
}

std::string newUndoFileName(const std::string& folder) {
    return (std::filesystem::path(folder) /
            ("sync-" + utcNow("%Y%m%d-%H%M%S") + "-" + detail::newRollbackId().substr(0, 8) + ".xml"))
        .string();
}

SyncRecord readSyncUndo(const std::string& undoFile) {
    return detail::readUndoFile(undoFile).record;
}

SyncRecord undoSync(const Connection& target, const std::string& undoFile) {
    platform::Backend& backend = platform::requireBackend(target);
    const detail::KeptSync kept = detail::readUndoFile(undoFile);
    detail::syncProductOf(backend.dialect());
    if (maskCredentials(kept.record.database) != maskCredentials(withoutPassword(target.connectionString())))
        throw Error(ErrorNumber::NotAllowedInContext,
                    "The undo file \"" + undoFile + "\" was written for " +
                        maskCredentials(kept.record.database) + ", not for " +
                        maskCredentials(withoutPassword(target.connectionString())) +
                        ": nothing was restored.");
    const std::vector<detail::SyncStep> steps = detail::syncOrder(kept.plan(), backend);
    Transaction transaction(backend);
    try {
        for (auto step = steps.rbegin(); step != steps.rend(); ++step)
            undoChange(backend, kept.tables[step->table], step->change);
        transaction.commit();
    } catch (const Error& error) {
        throw Error(error.number(), error.description() + " Nothing was restored.");
    }
    return kept.record;
}

} // namespace sifkit
