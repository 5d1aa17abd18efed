// SPDX-License-Identifier: MIT
#include "DataReport.h"

#include "CliError.h"
#include "StructureReport.h"

#include <sifkit/FieldList.h>

#include <algorithm>
#include <charconv>
#include <set>

namespace dbsift::cli {

namespace {

/// Finds the table on both sides, then reads its fields there. Views count as tables, so that a
/// view's rows can be compared like a table's. Only the one table's columns are read, not every
/// table's.
std::pair<sifkit::TableSchema, sifkit::TableSchema> readTables(sifkit::Sifcore& core,
                                                               const DatabaseTarget& original,
                                                               const DatabaseTarget& modified,
                                                               const std::string& table) {
    core.getMasterDataManager()->setShowViews(true);
    core.getSourceDataManager()->setShowViews(true);
    core.showDifferencesOnly(false);
    core.beginFullDatabaseCompare(original.connectionString, modified.connectionString, true);
    throwOnFailure(core, false);
    const bool onOriginal = core.lastStructureResult().original.catalogue.find(table) != nullptr;
    const bool onModified = core.lastStructureResult().modified.catalogue.find(table) != nullptr;
    if (!onOriginal && !onModified)
        throw CliError("there is no table or view \"" + table + "\" in either database");
    if (!onModified)
        throw CliError("table \"" + table + "\" exists in the Original database only");
    if (!onOriginal)
        throw CliError("table \"" + table + "\" exists in the Modified database only");

    core.beginTablebaseCompare(original.connectionString, modified.connectionString, table, "TABLE");
    throwOnFailure(core, true);
    const sifkit::TableSchema* originalTable = core.lastStructureResult().original.catalogue.find(table);
    const sifkit::TableSchema* modifiedTable = core.lastStructureResult().modified.catalogue.find(table);
    if (!originalTable || !modifiedTable)
        throw CliError("the structure of table \"" + table + "\" could not be read");
    return {*originalTable, *modifiedTable};
}

void checkColumn(const sifkit::TableSchema& info, Side side, const std::string& table,
                 const std::string& column) {
    const sifkit::ColumnSchema* field = info.column(column);
    if (!field)
        throw CliError("column \"" + column + "\" does not exist in table \"" + table + "\" of the " +
                       sideName(side) + " database");
    if (!sifkit::whyNotComparable(*field, field).empty()) // binary is compared, byte for byte
        throw CliError("column \"" + column + "\" of table \"" + table + "\" in the " + sideName(side) +
                       " database cannot be compared (type " + field->typeName + ")");
}

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

/// The requested columns, checked; or every field of the Original side that the Modified side
/// has too and can compare, in the Original side's order, with the columns of either side that
/// are left out, and why, in notCompared. Ignored columns are left out either way.
std::vector<std::string> chooseColumns(const sifkit::TableSchema& original,
                                       const sifkit::TableSchema& modified, const std::string& table,
                                       const DataSettings& settings, std::vector<std::string>& notCompared) {
    std::vector<std::string> columns;
    if (!settings.columns.empty()) {
        std::set<std::string> seen;
        for (const auto& column : settings.columns) {
            if (!seen.insert(column).second)
                throw CliError("column \"" + column + "\" is listed twice");
            if (listed(settings.ignoreColumns, column))
                continue;
            checkColumn(original, Side::Original, table, column);
            checkColumn(modified, Side::Modified, table, column);
            const std::string why =
                sifkit::whyNotComparable(*original.column(column), modified.column(column));
            if (!why.empty())
                throw CliError("column \"" + column + "\" of table \"" + table +
                               "\" cannot be compared: " + why);
            columns.push_back(column);
        }
    } else {
        for (const auto& field : original.columns) {
            const std::string why = sifkit::whyNotComparable(field, modified.column(field.name));
            if (listed(settings.ignoreColumns, field.name))
                continue;
            if (why.empty())
                columns.push_back(field.name);
            else
                notCompared.push_back(field.name + " (" + why + ")");
        }
        for (const auto& field : modified.columns)
            if (!original.column(field.name) && !listed(settings.ignoreColumns, field.name))
                notCompared.push_back(field.name + " (" + sifkit::whyNotComparable(field, nullptr) + ")");
    }
    for (const auto& column : settings.ignoreColumns)
        if (original.column(column) || modified.column(column))
            notCompared.push_back(column + " (ignored)");
    if (columns.empty())
        throw CliError("table \"" + table + "\" has no column that both databases have and can compare");
    return columns;
}

std::shared_ptr<sifkit::clsDBManager> connectedSide(const DatabaseTarget& target, const std::string& table,
                                                    const std::string& fields, const std::string& filter) {
    auto side = std::make_shared<sifkit::clsDBManager>();
    side->setConnectionString(target.connectionString);
    side->openDatabaseConnection();
    side->setTableName(table);
    side->setFieldList(fields);
    side->setRowFilter(filter); // checked when the command line was read
    return side;
}

/// The data comparison of a table whose fields were read on both sides.
DataReport compareFields(sifkit::Sifcore& core, const DatabaseTarget& original,
                         const DatabaseTarget& modified,
                         const std::pair<sifkit::TableSchema, sifkit::TableSchema>& tables,
                         const DataSettings& settings) {
    const std::string& table = tables.first.name;
    DataReport report;
    report.compared = {original.name, modified.name};
    report.columns = chooseColumns(tables.first, tables.second, table, settings, report.notCompared);
    report.primaryKey = tables.first.primaryKey;
    for (const std::string& column : settings.key)
        if (!listed(report.columns, column))
            throw CliError("key column \"" + column +
                           "\" of --key is not among the compared columns of table \"" + table + "\"");
    report.keyGiven = !settings.key.empty();
    core.setPairingKey(settings.key);
    core.setValueOptions(settings.options);

    const std::string fields = sifkit::writeFieldList(report.columns);
    core.beginTableCompareFromFieldListFromDBManager(
        connectedSide(original, table, fields, settings.originalFilter),
        connectedSide(modified, table, fields, settings.modifiedFilter));
    throwOnFailure(core, true);
    report.result = core.lastDataResult();
    if (report.result.outcome == sifkit::DataOutcome::Failed)
        throw CliError("the data comparison of table \"" + table + "\" failed");
    return report;
}

} // namespace

DataReport compareData(sifkit::Sifcore& core, const DatabaseTarget& original, const DatabaseTarget& modified,
                       const std::string& table, const DataSettings& settings) {
    return compareFields(core, original, modified, readTables(core, original, modified, table), settings);
}

std::string describeOptions(const sifkit::ValueOptions& options) {
    std::vector<std::string> parts;
    if (options.ignoreCase)
        parts.push_back("letter case ignored");
    if (options.ignoreBlanks)
        parts.push_back("blanks at either end ignored");
    if (options.nullIsEmpty)
        parts.push_back("Null equal to the empty text");
    if (options.tolerance > 0) {
        char number[32];
        const auto end = std::to_chars(number, number + sizeof number, options.tolerance).ptr;
        parts.push_back("reals and decimals within " + std::string(number, end));
    }
    if (options.timePrecision != sifkit::TimePrecision::Exact)
        parts.push_back("times to the " +
                        std::string(options.timePrecision == sifkit::TimePrecision::Seconds ? "second"
                                    : options.timePrecision == sifkit::TimePrecision::Milliseconds
                                        ? "millisecond"
                                        : "microsecond"));
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text;
}

DatabaseDataReport compareEveryTable(sifkit::Sifcore& core, const DatabaseTarget& original,
                                     const DatabaseTarget& modified, const DataSettings& settings, bool views,
                                     const sifkit::Sifcore::TableStarted& onTable,
                                     const sifkit::Sifcore::TableCompared& onCompared) {
    DatabaseDataReport report;
    report.compared = {original.name, modified.name};
    report.views = views;
    report.options = settings.options;
    report.summary = core.compareEveryTable(
        original.connectionString, modified.connectionString,
        {views, settings.ignoreColumns, settings.key, settings.options, settings.tableKeys}, onTable,
        onCompared);
    if (report.summary.failed)
        throwOnFailure(core, false);
    if (report.summary.cancelled)
        throw CliError("the comparison was cancelled");
    return report;
}

} // namespace dbsift::cli
