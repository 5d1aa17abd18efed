// SPDX-License-Identifier: MIT
#include "DataReport.h"

#include "CliError.h"
#include "StructureReport.h"

#include <sifkit/FieldList.h>

#include <algorithm>
#include <set>

namespace dbsift::cli {

namespace {

bool isBinary(const sifkit::ColumnSchema& column) {
    return column.typeName.find("Binary") != std::string::npos;
}

/// Why a column cannot be compared with the other side's column of the same name; "" when it
/// can. Binary columns are compared byte for byte where both sides hold binary.
std::string whyNotComparable(const sifkit::ColumnSchema& column, const sifkit::ColumnSchema* other) {
    if (!other)
        return "not in both databases";
    if (isBinary(column) != isBinary(*other))
        return "binary in one database only";
    if (isBinary(column))
        return {};
    if (!column.comparable || !other->comparable)
        return "type " + (column.comparable ? other->typeName : column.typeName) + " cannot be compared";
    return {};
}

/// Lists both catalogues; views count as tables when asked for, so that a view's rows can be
/// compared like a table's.
void listObjects(sifkit::Sifcore& core, const DatabaseTarget& original, const DatabaseTarget& modified,
                 bool views) {
    core.getMasterDataManager()->setShowViews(views);
    core.getSourceDataManager()->setShowViews(views);
    core.showDifferencesOnly(false);
    core.beginFullDatabaseCompare(original.connectionString, modified.connectionString, true);
    throwOnFailure(core, false);
}

/// Reads the fields of one table on both sides: only the one table's columns, not every table's.
std::pair<sifkit::TableSchema, sifkit::TableSchema> readFields(sifkit::Sifcore& core,
                                                               const DatabaseTarget& original,
                                                               const DatabaseTarget& modified,
                                                               const std::string& table) {
    core.beginTablebaseCompare(original.connectionString, modified.connectionString, table, "TABLE");
    throwOnFailure(core, true);
    const sifkit::TableSchema* originalTable = core.lastStructureResult().original.catalogue.find(table);
    const sifkit::TableSchema* modifiedTable = core.lastStructureResult().modified.catalogue.find(table);
    if (!originalTable || !modifiedTable)
        throw CliError("the structure of table \"" + table + "\" could not be read");
    return {*originalTable, *modifiedTable};
}

/// Finds the table on both sides, then reads its fields there.
std::pair<sifkit::TableSchema, sifkit::TableSchema> readTables(sifkit::Sifcore& core,
                                                               const DatabaseTarget& original,
                                                               const DatabaseTarget& modified,
                                                               const std::string& table) {
    listObjects(core, original, modified, true);
    const bool onOriginal = core.lastStructureResult().original.catalogue.find(table) != nullptr;
    const bool onModified = core.lastStructureResult().modified.catalogue.find(table) != nullptr;
    if (!onOriginal && !onModified)
        throw CliError("there is no table or view \"" + table + "\" in either database");
    if (!onModified)
        throw CliError("table \"" + table + "\" exists in the Original database only");
    if (!onOriginal)
        throw CliError("table \"" + table + "\" exists in the Modified database only");
    return readFields(core, original, modified, table);
}

void checkColumn(const sifkit::TableSchema& info, Side side, const std::string& table,
                 const std::string& column) {
    const sifkit::ColumnSchema* field = info.column(column);
    if (!field)
        throw CliError("column \"" + column + "\" does not exist in table \"" + table + "\" of the " +
                       sideName(side) + " database");
    if (!field->comparable && !isBinary(*field))
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
            const std::string why = whyNotComparable(*original.column(column), modified.column(column));
            if (!why.empty())
                throw CliError("column \"" + column + "\" of table \"" + table +
                               "\" cannot be compared: " + why);
            columns.push_back(column);
        }
    } else {
        for (const auto& field : original.columns) {
            const std::string why = whyNotComparable(field, modified.column(field.name));
            if (listed(settings.ignoreColumns, field.name))
                continue;
            if (why.empty())
                columns.push_back(field.name);
            else
                notCompared.push_back(field.name + " (" + why + ")");
        }
        for (const auto& field : modified.columns)
            if (!original.column(field.name) && !listed(settings.ignoreColumns, field.name))
                notCompared.push_back(field.name + " (" + whyNotComparable(field, nullptr) + ")");
    }
    for (const auto& column : settings.ignoreColumns)
        if (original.column(column) || modified.column(column))
            notCompared.push_back(column + " (ignored)");
    if (columns.empty())
        throw CliError("table \"" + table + "\" has no column that both databases have and can compare");
    return columns;
}

std::shared_ptr<sifkit::clsDBManager> connectedSide(const DatabaseTarget& target, const std::string& table,
                                                    const std::string& fields) {
    auto side = std::make_shared<sifkit::clsDBManager>();
    side->setConnectionString(target.connectionString);
    side->openDatabaseConnection();
    side->setTableName(table);
    side->setFieldList(fields);
    return side;
}

/// The data comparison of a table whose fields were read on both sides. With strictKey a key
/// column that is not compared is an error; without, such a key gives way to the primary key.
DataReport compareFields(sifkit::Sifcore& core, const DatabaseTarget& original,
                         const DatabaseTarget& modified,
                         const std::pair<sifkit::TableSchema, sifkit::TableSchema>& tables,
                         const DataSettings& settings, bool strictKey) {
    const std::string& table = tables.first.name;
    DataReport report;
    report.compared = {original.name, modified.name};
    report.columns = chooseColumns(tables.first, tables.second, table, settings, report.notCompared);
    report.primaryKey = tables.first.primaryKey;
    bool keyCompared = !settings.key.empty();
    for (const std::string& column : settings.key)
        if (!listed(report.columns, column)) {
            if (strictKey)
                throw CliError("key column \"" + column +
                               "\" of --key is not among the compared columns of table \"" + table + "\"");
            keyCompared = false;
        }
    report.keyGiven = keyCompared;
    core.setPairingKey(keyCompared ? settings.key : std::vector<std::string>{});

    const std::string fields = sifkit::writeFieldList(report.columns);
    core.beginTableCompareFromFieldListFromDBManager(connectedSide(original, table, fields),
                                                     connectedSide(modified, table, fields));
    throwOnFailure(core, true);
    report.result = core.lastDataResult();
    if (report.result.outcome == sifkit::DataOutcome::Failed)
        throw CliError("the data comparison of table \"" + table + "\" failed");
    return report;
}

TableSummary summaryOf(const DataReport& report) {
    TableSummary summary;
    summary.table = report.result.table;
    summary.keyColumns = report.result.keyColumns;
    summary.originalRecords = report.result.originalRecordCount;
    summary.modifiedRecords = report.result.modifiedRecordCount;
    for (const sifkit::DataRecord& record : report.result.original)
        ++(record.counterpart ? summary.changed : summary.onlyInOriginal);
    for (const sifkit::DataRecord& record : report.result.modified)
        summary.onlyInModified += record.counterpart ? 0 : 1;
    summary.identical = summary.originalRecords - static_cast<int32_t>(report.result.original.size());
    return summary;
}

} // namespace

DataReport compareData(sifkit::Sifcore& core, const DatabaseTarget& original, const DatabaseTarget& modified,
                       const std::string& table, const DataSettings& settings) {
    return compareFields(core, original, modified, readTables(core, original, modified, table), settings,
                         true);
}

DatabaseDataReport
compareEveryTable(sifkit::Sifcore& core, const DatabaseTarget& original, const DatabaseTarget& modified,
                  const DataSettings& settings, bool views,
                  const std::function<void(std::size_t, std::size_t, const std::string&)>& onTable) {
    listObjects(core, original, modified, views);
    DatabaseDataReport report;
    report.compared = {original.name, modified.name};
    report.views = views;
    const sifkit::Catalogue originalObjects = core.lastStructureResult().original.catalogue;
    const sifkit::Catalogue modifiedObjects = core.lastStructureResult().modified.catalogue;
    std::vector<std::string> names;
    for (const sifkit::TableSchema& object : originalObjects.objects)
        names.push_back(object.name);
    for (const sifkit::TableSchema& object : modifiedObjects.objects)
        if (!originalObjects.find(object.name))
            names.push_back(object.name);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (!modifiedObjects.find(name) || !originalObjects.find(name)) {
            TableSummary oneSide;
            oneSide.table = name;
            oneSide.whyNotCompared = std::string("in the ") +
                                     (modifiedObjects.find(name) ? "Modified" : "Original") +
                                     " database only";
            report.tables.push_back(std::move(oneSide));
            continue;
        }
        onTable(i + 1, names.size(), name);
        try {
            report.tables.push_back(summaryOf(compareFields(
                core, original, modified, readFields(core, original, modified, name), settings, false)));
        } catch (const CliError& error) {
            TableSummary failed;
            failed.table = name;
            failed.whyNotCompared = error.what();
            report.tables.push_back(std::move(failed));
        }
    }
    return report;
}

} // namespace dbsift::cli
