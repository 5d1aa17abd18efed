// SPDX-License-Identifier: MIT
#include <sifkit/SifkitError.h>
#include <sifkit/SyncPlan.h>

#include <algorithm>

namespace sifkit {

namespace {

/// The values of a record of one side in the order of the plan's columns.
std::vector<Value> valuesInPlanOrder(const DataResult& comparison, const DataRecord& record,
                                     const std::vector<ColumnSchema>& columns) {
    std::vector<Value> values;
    values.reserve(columns.size());
    for (const ColumnSchema& column : columns) {
        const int32_t position = comparison.columnPosition(record.side, column.name);
        values.push_back(position >= 0 && static_cast<std::size_t>(position) < record.values.size()
                             ? record.values[position]
                             : Value());
    }
    return values;
}

/// Rows of a table without a key are found by every value: identical rows are one change of
/// several copies, so that an undo, which finds them the same way, takes them all back at once.
void mergeIdenticalRows(std::vector<SyncChange>& changes) {
    std::vector<SyncChange> merged;
    for (SyncChange& change : changes) {
        const auto same = std::find_if(merged.begin(), merged.end(), [&](const SyncChange& earlier) {
            return earlier.kind == change.kind && earlier.before == change.before &&
                   earlier.after == change.after;
        });
        if (same != merged.end())
            same->copies += change.copies;
        else
            merged.push_back(std::move(change));
    }
    changes = std::move(merged);
}

} // namespace

int32_t TableSync::count(SyncKind kind) const {
    int32_t rows = 0;
    for (const SyncChange& change : changes)
        if (change.kind == kind)
            rows += change.copies;
    return rows;
}

std::string TableSync::describeRow(const SyncChange& change) const {
    const std::vector<Value>& values = change.kind == SyncKind::Insert ? change.after : change.before;
    std::string text;
    for (std::size_t i = 0; i < columns.size() && i < values.size(); ++i) {
        const bool isKey =
            std::find(keyColumns.begin(), keyColumns.end(), columns[i].name) != keyColumns.end();
        if (!keyColumns.empty() && !isKey)
            continue;
        text += (text.empty() ? "" : ", ") + columns[i].name + " = " +
                (values[i].isNull() ? std::string("Null") : values[i].toString());
    }
    return text;
}

int32_t SyncPlan::count(SyncKind kind) const {
    int32_t rows = 0;
    for (const TableSync& table : tables)
        rows += table.count(kind);
    return rows;
}

TableSync planTableSync(const DataResult& comparison, SyncDirection direction, const SyncChoice& choice) {
    if (comparison.outcome == DataOutcome::Failed || comparison.outcome == DataOutcome::Cancelled)
        throw Error(ErrorNumber::NotAllowedInContext,
                    "The comparison of table \"" + comparison.table +
                        "\" did not finish: there is nothing to bring into line.");
    const Side target = syncTarget(direction);
    const Side source = syncSource(direction);
    TableSync plan;
    plan.table = comparison.table;
    plan.keyColumns = comparison.keyColumns;
    for (const ColumnSchema& column : comparison.columns(target))
        if (comparison.columnPosition(source, column.name) >= 0)
            plan.columns.push_back(column);
    const auto chosen = [&](const DataRecord& record) {
        if (!choice)
            return true;
        if (choice(record.side, record.number))
            return true;
        const DataRecord* other = comparison.counterpartOf(record);
        return other && choice(other->side, other->number);
    };

    for (const DataRecord& record : comparison.records(source)) {
        if (!chosen(record))
            continue;
        const DataRecord* counterpart = comparison.counterpartOf(record);
        if (!counterpart) {
            plan.changes.push_back(
                {SyncKind::Insert, record.number, {}, valuesInPlanOrder(comparison, record, plan.columns)});
            continue;
        }
        const DataRecord& original = record.side == Side::Original ? record : *counterpart;
        const DataRecord& modified = record.side == Side::Original ? *counterpart : record;
        const std::vector<std::string> differing = comparison.changedColumns(original, modified);
        SyncChange update{SyncKind::Update, counterpart->number,
                          valuesInPlanOrder(comparison, *counterpart, plan.columns),
                          valuesInPlanOrder(comparison, record, plan.columns)};
        update.written.assign(plan.columns.size(), false);
        for (std::size_t i = 0; i < plan.columns.size(); ++i) {
            update.written[i] =
                std::find(differing.begin(), differing.end(), plan.columns[i].name) != differing.end();
            if (!update.written[i])
                update.after[i] = update.before[i];
        }
        if (std::find(update.written.begin(), update.written.end(), true) != update.written.end())
            plan.changes.push_back(std::move(update));
    }
    for (const DataRecord& record : comparison.records(target))
        if (!comparison.counterpartOf(record) && chosen(record))
            plan.changes.push_back(
                {SyncKind::Delete, record.number, valuesInPlanOrder(comparison, record, plan.columns), {}});

    // Records both sides hold a different number of times, in a table without a key: rows that
    // nothing but their number tells apart, of which a sync could not later take back exactly
    // the copies it added or removed.
    for (const RecordCopies& copies : comparison.copies) {
        if (!copies.heldByBoth() || !chosen(copies.record))
            continue;
        SyncChange held{SyncKind::Delete,
                        copies.record.number,
                        valuesInPlanOrder(comparison, copies.record, plan.columns),
                        {}};
        plan.leftOut.push_back(
            "Table \"" + plan.table + "\": the Original holds the record " + plan.describeRow(held) + " " +
            std::to_string(copies.originalCopies) + " times, the Modified " +
            std::to_string(copies.modifiedCopies) +
            " times; without a key its copies cannot be told apart, so they are left as they are.");
    }
    if (plan.keyColumns.empty())
        mergeIdenticalRows(plan.changes);
    return plan;
}

SyncPlan planSync(const DataResult& comparison, SyncDirection direction, const SyncChoice& choice) {
    SyncPlan plan;
    plan.direction = direction;
    plan.tables.push_back(planTableSync(comparison, direction, choice));
    return plan;
}

SyncPlan planSync(const std::vector<DataResult>& comparisons, SyncDirection direction) {
    SyncPlan plan;
    plan.direction = direction;
    for (const DataResult& comparison : comparisons) {
        TableSync table = planTableSync(comparison, direction);
        if (!table.changes.empty() || !table.leftOut.empty())
            plan.tables.push_back(std::move(table));
    }
    return plan;
}

} // namespace sifkit
