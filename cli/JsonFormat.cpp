// SPDX-License-Identifier: MIT
#include "Formatters.h"

#include <nlohmann/json.hpp>

namespace dbsift::cli {

namespace {

// Keys keep the order they are written in, so the document reads the same on every run.
using Json = nlohmann::ordered_json;

Json textOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

Json optionsOf(const sifkit::ValueOptions& options) {
    const std::string precision = sifkit::spellingOf(options.timePrecision);
    return {{"ignoreCase", options.ignoreCase},
            {"ignoreBlanks", options.ignoreBlanks},
            {"nullIsEmpty", options.nullIsEmpty},
            {"tolerance", options.tolerance},
            {"timePrecision", precision.empty() ? Json(nullptr) : Json(precision)}};
}

Json valueOf(const sifkit::Value& value) {
    return value.isNull() ? Json(nullptr) : Json(value.toString());
}

/// A record's key: its value for a key of one column, the values in key order for several.
Json keyOf(const std::vector<sifkit::Value>& key) {
    if (key.empty())
        return nullptr;
    if (key.size() == 1)
        return valueOf(key.front());
    Json values = Json::array();
    for (const sifkit::Value& value : key)
        values.push_back(valueOf(value));
    return values;
}

/// Each pair of records of one key whose values differ: the key, both record numbers, and the
/// old and new value of every column that differs.
Json changesOf(const DataReport& report) {
    Json changes = Json::array();
    for (const ChangedRecord& change : report.changes()) {
        Json columns = Json::object();
        for (const std::string& column : change.columns)
            columns[column] = {{"original", valueOf(report.valueOf(*change.original, column))},
                               {"modified", valueOf(report.valueOf(*change.modified, column))}};
        changes.push_back({{"key", keyOf(report.keyOf(*change.original))},
                           {"original", change.original->number},
                           {"modified", change.modified->number},
                           {"columns", std::move(columns)}});
    }
    return changes;
}

/// Without a key, how many copies of each side are left over when equal records pair one to
/// one (a record held twice on one side and once on the other leaves one); null where records
/// are paired by a key or were not counted so.
Json unpairedCopiesOf(const DataReport& report) {
    const sifkit::DataResult& result = report.result;
    if (!result.comparedAsMultiset())
        return nullptr;
    return {{"original", result.originalUnpairedCopies}, {"modified", result.modifiedUnpairedCopies}};
}

/// Of a table compared as a multiset, each distinct record the sides hold a different number of
/// times with both counts; null where records are paired by a key or were not counted so.
Json copiesOf(const DataReport& report) {
    if (!report.result.comparedAsMultiset())
        return nullptr;
    Json copies = Json::array();
    for (const sifkit::RecordCopies& counted : report.result.copies) {
        Json values = Json::object();
        for (const std::string& column : report.columns)
            values[column] = valueOf(report.valueOf(counted.record, column));
        copies.push_back({{"values", std::move(values)},
                          {"original", counted.originalCopies},
                          {"modified", counted.modifiedCopies}});
    }
    return copies;
}

/// Invalid UTF-8 in database texts is replaced (U+FFFD) rather than failing the whole document.
std::string dumped(const Json& document) {
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace

std::string formatJson(const StructureReport& report) {
    Json items = Json::array();
    for (const StructureLine& line : report.lines()) {
        const bool isField = line.column != nullptr;
        const std::string primaryKey = line.object->primaryKey.empty() ? "" : line.object->primaryKey.front();
        items.push_back({{"side", sideName(line.side)},
                         {"kind", isField ? "field" : "object"},
                         {"object", line.object->name},
                         {"field", isField ? Json(line.column->name) : Json(nullptr)},
                         {"type", isField ? line.column->typeName : line.object->type},
                         {"change", static_cast<int16_t>(line.change)},
                         {"description", sifkit::describeChange(static_cast<int16_t>(line.change))},
                         {"primaryKey", textOrNull(primaryKey)},
                         {"comparable", isField ? Json(line.column->comparable) : Json(nullptr)}});
    }
    Json document{{"mode", "structure"},
                  {"original", report.compared.original},
                  {"modified", report.compared.modified},
                  {"fields", report.fields},
                  {"views", report.views},
                  {"differencesOnly", report.differencesOnly},
                  {"typesByFamily", report.result.typesByFamily},
                  {"differences", report.differences()},
                  {"items", std::move(items)}};
    return dumped(document);
}

std::string formatJson(const DataReport& report) {
    Json records = Json::array();
    for (const sifkit::DataRecord* record : report.records()) {
        Json values = Json::object();
        for (std::size_t i = 0; i < report.columns.size() && i < record->values.size(); ++i)
            values[report.columns[i]] = valueOf(record->values[i]);
        records.push_back({{"side", sideName(record->side)},
                           {"record", record->number},
                           {"key", keyOf(report.keyOf(*record))},
                           {"counterpart", record->counterpart ? Json(record->counterpart) : Json(nullptr)},
                           {"values", std::move(values)}});
    }
    std::string primaryKey;
    for (const std::string& column : report.primaryKey)
        primaryKey += (primaryKey.empty() ? "" : ", ") + column;
    Json document{{"mode", "data"},
                  {"original", report.compared.original},
                  {"modified", report.compared.modified},
                  {"table", report.result.table},
                  {"columns", report.columns},
                  {"notCompared", report.notCompared},
                  {"exactDespiteCollation", report.result.exactDespiteCollation},
                  {"primaryKey", textOrNull(primaryKey)},
                  {"paired", report.paired()},
                  {"pairedBy", report.paired() ? Json(report.result.keyColumns) : Json(nullptr)},
                  {"unpairedCopies", unpairedCopiesOf(report)},
                  {"valueOptions", optionsOf(report.result.options)},
                  {"filters",
                   {{"original", textOrNull(report.result.originalFilter)},
                    {"modified", textOrNull(report.result.modifiedFilter)}}},
                  {"differences", report.differences()},
                  {"records", std::move(records)},
                  {"changed", changesOf(report)},
                  {"copies", copiesOf(report)}};
    return dumped(document);
}

std::string formatJson(const DatabaseDataReport& report) {
    Json tables = Json::array();
    for (const sifkit::TableCounts& summary : report.summary.tables) {
        const bool compared = summary.compared();
        const auto count = [compared](int32_t value) { return compared ? Json(value) : Json(nullptr); };
        tables.push_back({{"table", summary.table},
                          {"compared", compared},
                          {"reason", textOrNull(summary.whyNotCompared)},
                          {"key", summary.keyColumns.empty() ? Json(nullptr) : Json(summary.keyColumns)},
                          {"originalRecords", count(summary.originalRecords)},
                          {"modifiedRecords", count(summary.modifiedRecords)},
                          {"onlyInOriginal", count(summary.onlyInOriginal)},
                          {"onlyInModified", count(summary.onlyInModified)},
                          {"changed", count(summary.changed)},
                          {"identical", count(summary.identical)}});
    }
    Json document{{"mode", "data-summary"},
                  {"original", report.compared.original},
                  {"modified", report.compared.modified},
                  {"views", report.views},
                  {"valueOptions", optionsOf(report.options)},
                  {"differences", report.differences()},
                  {"tables", std::move(tables)}};
    return dumped(document);
}

} // namespace dbsift::cli
