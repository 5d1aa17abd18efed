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
    if (!field->comparable && !isBinary(*field))
        throw CliError("column \"" + column + "\" of table \"" + table + "\" in the " + sideName(side) +
                       " database cannot be compared (type " + field->typeName + ")");
}

/// The requested columns, checked; or every field of the Original side that the Modified side
/// has too and can compare, in the Original side's order, with the columns of either side that
/// are left out, and why, in notCompared.
std::vector<std::string> chooseColumns(const sifkit::TableSchema& original,
                                       const sifkit::TableSchema& modified, const std::string& table,
                                       const std::vector<std::string>& requested,
                                       std::vector<std::string>& notCompared) {
    if (!requested.empty()) {
        std::set<std::string> seen;
        for (const auto& column : requested) {
            if (!seen.insert(column).second)
                throw CliError("column \"" + column + "\" is listed twice");
            checkColumn(original, Side::Original, table, column);
            checkColumn(modified, Side::Modified, table, column);
            const std::string why = whyNotComparable(*original.column(column), modified.column(column));
            if (!why.empty())
                throw CliError("column \"" + column + "\" of table \"" + table +
                               "\" cannot be compared: " + why);
        }
        return requested;
    }
    std::vector<std::string> columns;
    for (const auto& field : original.columns) {
        const std::string why = whyNotComparable(field, modified.column(field.name));
        if (why.empty())
            columns.push_back(field.name);
        else
            notCompared.push_back(field.name + " (" + why + ")");
    }
    for (const auto& field : modified.columns)
        if (!original.column(field.name))
            notCompared.push_back(field.name + " (" + whyNotComparable(field, nullptr) + ")");
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

} // namespace

DataReport compareData(sifkit::Sifcore& core, const DatabaseTarget& original, const DatabaseTarget& modified,
                       const std::string& table, const std::vector<std::string>& columns) {
    auto [onOriginal, onModified] = readTables(core, original, modified, table);

    DataReport report;
    report.compared = {original.name, modified.name};
    report.columns = chooseColumns(onOriginal, onModified, table, columns, report.notCompared);
    report.primaryKey = onOriginal.primaryKey;

    const std::string fields = sifkit::writeFieldList(report.columns);
    core.beginTableCompareFromFieldListFromDBManager(connectedSide(original, table, fields),
                                                     connectedSide(modified, table, fields));
    throwOnFailure(core, true);
    report.result = core.lastDataResult();
    if (report.result.outcome == sifkit::DataOutcome::Failed)
        throw CliError("the data comparison of table \"" + table + "\" failed");
    return report;
}

} // namespace dbsift::cli
