// SPDX-License-Identifier: MIT
#include "DataReport.h"

#include "CliError.h"
#include "EngineMessages.h"

#include <sifkit/FieldList.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace dbsift::cli {

namespace {

/// The engine's text for a table without a primary key.
constexpr const char* noPrimaryKey = "No primary key Defined";

struct FieldInfo {
    std::string name;
    std::string type;
    bool comparable = false;

    /// Binary columns are compared byte for byte where both sides hold binary.
    bool isBinary() const { return type.find("Binary") != std::string::npos; }
};

/// Why a column cannot be compared with the other side's column of the same name; "" when it
/// can.
std::string whyNotComparable(const FieldInfo& field, const FieldInfo* other) {
    if (!other)
        return "not in both databases";
    if (field.isBinary() != other->isBinary())
        return "binary in one database only";
    if (field.isBinary())
        return {};
    if (!field.comparable || !other->comparable)
        return "type " + (field.comparable ? other->type : field.type) + " cannot be compared";
    return {};
}

/// One side's table or view as the structure run listed it.
struct TableInfo {
    std::string primaryKey; ///< "" when there is none
    std::vector<FieldInfo> fields;

    const FieldInfo* field(const std::string& name) const {
        auto it =
            std::find_if(fields.begin(), fields.end(), [&](const FieldInfo& f) { return f.name == name; });
        return it == fields.end() ? nullptr : &*it;
    }
};

/// The table's item and field items in a structure run's collection; nullopt when the side has
/// no such table or view. Names are compared exactly, as the engine compares them.
std::optional<TableInfo> findTable(const sifkit::ResultCollection& results, const std::string& table) {
    std::optional<TableInfo> info;
    for (int32_t index = 1; index <= results.count(); ++index) {
        const sifkit::clsResultSet& item = *results.item(index);
        if (item.getDatabaseObjName() != table)
            continue;
        if (!item.getIsFieldDesc()) {
            info.emplace();
            info->primaryKey = item.getPrimaryKey() == noPrimaryKey ? std::string() : item.getPrimaryKey();
        } else if (info) {
            info->fields.push_back({item.getFieldName(), item.getDataType(), item.getShow()});
        }
    }
    return info;
}

void throwOnFailure(const sifkit::clsDBManager& side, Side which, MessageKinds kinds) {
    std::string failure = firstFailure(side, kinds);
    if (!failure.empty())
        throw CliError(std::string(sideName(which)) + " database: " + failure);
}

void throwOnFailures(sifkit::Sifcore& core, MessageKinds kinds) {
    throwOnFailure(*core.getMasterDataManager(), Side::Original, kinds);
    throwOnFailure(*core.getSourceDataManager(), Side::Modified, kinds);
}

/// Finds the table on both sides, then reads its fields there. Views count as tables, so that a
/// view's rows can be compared like a table's. Only the one table's columns are read, not every
/// table's.
std::pair<TableInfo, TableInfo> readTables(sifkit::Sifcore& core, const DatabaseTarget& original,
                                           const DatabaseTarget& modified, const std::string& table) {
    core.getMasterDataManager()->setShowViews(true);
    core.getSourceDataManager()->setShowViews(true);
    core.showDifferencesOnly(false);
    core.beginFullDatabaseCompare(original.connectionString, modified.connectionString, true);
    throwOnFailures(core, MessageKinds::ConnectionAndGeneral);
    const bool onOriginal = findTable(*core.getMasterDataManager()->getResults(), table).has_value();
    const bool onModified = findTable(*core.getSourceDataManager()->getResults(), table).has_value();
    if (!onOriginal && !onModified)
        throw CliError("there is no table or view \"" + table + "\" in either database");
    if (!onModified)
        throw CliError("table \"" + table + "\" exists in the Original database only");
    if (!onOriginal)
        throw CliError("table \"" + table + "\" exists in the Modified database only");

    core.beginTablebaseCompare(original.connectionString, modified.connectionString, table, "TABLE");
    throwOnFailures(core, MessageKinds::All);
    std::optional<TableInfo> originalTable = findTable(*core.getMasterDataManager()->getResults(), table);
    std::optional<TableInfo> modifiedTable = findTable(*core.getSourceDataManager()->getResults(), table);
    if (!originalTable || !modifiedTable)
        throw CliError("the structure of table \"" + table + "\" could not be read");
    return {std::move(*originalTable), std::move(*modifiedTable)};
}

void checkColumn(const TableInfo& info, Side side, const std::string& table, const std::string& column) {
    const FieldInfo* field = info.field(column);
    if (!field)
        throw CliError("column \"" + column + "\" does not exist in table \"" + table + "\" of the " +
                       sideName(side) + " database");
    if (!field->comparable && !field->isBinary())
        throw CliError("column \"" + column + "\" of table \"" + table + "\" in the " + sideName(side) +
                       " database cannot be compared (type " + field->type + ")");
}

/// The requested columns, checked; or every field of the Original side that the Modified side
/// has too and can compare, in the Original side's order, with the columns of either side that
/// are left out, and why, in notCompared.
std::vector<std::string> chooseColumns(const TableInfo& original, const TableInfo& modified,
                                       const std::string& table, const std::vector<std::string>& requested,
                                       std::vector<std::string>& notCompared) {
    if (!requested.empty()) {
        std::set<std::string> seen;
        for (const auto& column : requested) {
            if (!seen.insert(column).second)
                throw CliError("column \"" + column + "\" is listed twice");
            checkColumn(original, Side::Original, table, column);
            checkColumn(modified, Side::Modified, table, column);
            const std::string why = whyNotComparable(*original.field(column), modified.field(column));
            if (!why.empty())
                throw CliError("column \"" + column + "\" of table \"" + table +
                               "\" cannot be compared: " + why);
        }
        return requested;
    }
    std::vector<std::string> columns;
    for (const auto& field : original.fields) {
        const std::string why = whyNotComparable(field, modified.field(field.name));
        if (why.empty())
            columns.push_back(field.name);
        else
            notCompared.push_back(field.name + " (" + why + ")");
    }
    for (const auto& field : modified.fields)
        if (!original.field(field.name))
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

/// The data items of a published collection, one record per record number, in record order.
std::map<int32_t, DataRecord> reportedRecords(const sifkit::ResultCollection& results, Side side,
                                              const std::vector<std::string>& columns) {
    std::map<int32_t, DataRecord> records;
    for (int32_t index = 1; index <= results.count(); ++index) {
        const sifkit::clsResultSet& item = *results.item(index);
        if (!item.getIsDataValue())
            continue; // a side without differences holds the table's field items instead
        DataRecord& record = records[item.getRecordNumber()];
        if (record.values.empty()) {
            record.side = side;
            record.number = item.getRecordNumber();
            record.values.resize(columns.size());
        }
        auto at = std::find(columns.begin(), columns.end(), item.getFieldName());
        if (at == columns.end())
            continue;
        record.values[static_cast<std::size_t>(at - columns.begin())] = {item.getDataValue(),
                                                                         item.getIsNull()};
    }
    return records;
}

/// Pairs every reported record with the other side's reported record of the same primary key.
void pairRecords(sifkit::Sifcore& core, const std::string& table, std::map<int32_t, DataRecord>& original,
                 std::map<int32_t, DataRecord>& modified) {
    // The look-up reads the engine's cached item totals; clear them, then fill them for both sides.
    core.setCurrentTableName("");
    core.setTotalRecordsForTable(-1);
    core.setTotalRecordsForSourceTable(0);
    core.getRecordCountInResultsForTable(table, true);
    core.getRecordCountInResultsForTable(table, false);
    for (auto [these, others] : {std::pair{&original, &modified}, std::pair{&modified, &original}}) {
        for (auto& [number, record] : *these) {
            const int32_t other =
                core.lookupRelatedRecordFromRecordNumber(table, isMaster(record.side), number);
            // Only a record the other side reports can be a counterpart; anything else is no pair.
            record.counterpart = others->count(other) ? other : 0;
        }
    }
}

} // namespace

DataReport compareData(sifkit::Sifcore& core, const DatabaseTarget& original, const DatabaseTarget& modified,
                       const std::string& table, const std::vector<std::string>& columns) {
    auto [onOriginal, onModified] = readTables(core, original, modified, table);

    DataReport report;
    report.compared = {original.name, modified.name};
    report.table = table;
    report.columns = chooseColumns(onOriginal, onModified, table, columns, report.notCompared);
    // The engine pairs a record through the key of its own side, looked up among the compared
    // values of the other side: only a key both sides share and compare pairs records.
    report.primaryKey = onOriginal.primaryKey;
    auto keyAt = std::find(report.columns.begin(), report.columns.end(), report.primaryKey);
    if (!report.primaryKey.empty() && report.primaryKey == onModified.primaryKey &&
        keyAt != report.columns.end())
        report.keyColumn = static_cast<int32_t>(keyAt - report.columns.begin());

    const std::string fields = sifkit::writeFieldList(report.columns);
    auto master = connectedSide(original, table, fields);
    auto source = connectedSide(modified, table, fields);
    const bool differs = core.beginTableCompareFromFieldListFromDBManager(master, source);
    throwOnFailure(*master, Side::Original, MessageKinds::All);
    throwOnFailure(*source, Side::Modified, MessageKinds::All);
    if (!differs)
        return report; // no record of either side lacks an equal record on the other side

    auto onMaster = reportedRecords(*core.getMasterDatabaseResults(), Side::Original, report.columns);
    auto onSource = reportedRecords(*core.getSourceDatabaseResults(), Side::Modified, report.columns);
    if (report.keyColumn >= 0)
        pairRecords(core, table, onMaster, onSource);

    // Each Original record followed by its counterpart, then the Modified records left over.
    std::set<int32_t> shown;
    for (auto& [number, record] : onMaster) {
        report.records.push_back(record);
        if (record.counterpart != 0 && shown.insert(record.counterpart).second)
            report.records.push_back(onSource.at(record.counterpart));
    }
    for (auto& [number, record] : onSource)
        if (!shown.count(number))
            report.records.push_back(record);
    return report;
}

} // namespace dbsift::cli
