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

Json valueOf(const DataValue& value) {
    return value.isNull ? Json(nullptr) : Json(value.text);
}

/// Invalid UTF-8 in database texts is replaced (U+FFFD) rather than failing the whole document.
std::string dumped(const Json& document) {
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace

std::string formatJson(const StructureReport& report) {
    Json items = Json::array();
    for (const auto& item : report.items) {
        const bool isField = !item.field.empty();
        items.push_back({{"side", sideName(item.side)},
                         {"kind", isField ? "field" : "object"},
                         {"object", item.object},
                         {"field", textOrNull(item.field)},
                         {"type", item.type},
                         {"change", item.change},
                         {"description", item.description},
                         {"primaryKey", textOrNull(item.primaryKey)},
                         {"comparable", isField ? Json(item.comparable) : Json(nullptr)}});
    }
    Json document{{"mode", "structure"},
                  {"original", report.compared.original},
                  {"modified", report.compared.modified},
                  {"fields", report.fields},
                  {"views", report.views},
                  {"differencesOnly", report.differencesOnly},
                  {"differences", report.differences()},
                  {"items", std::move(items)}};
    return dumped(document);
}

std::string formatJson(const DataReport& report) {
    Json records = Json::array();
    for (const auto& record : report.records) {
        Json values = Json::object();
        for (std::size_t i = 0; i < report.columns.size(); ++i)
            values[report.columns[i]] = valueOf(record.values[i]);
        const DataValue* key = report.keyOf(record);
        records.push_back({{"side", sideName(record.side)},
                           {"record", record.number},
                           {"key", key ? valueOf(*key) : Json(nullptr)},
                           {"counterpart", record.counterpart ? Json(record.counterpart) : Json(nullptr)},
                           {"values", std::move(values)}});
    }
    Json document{{"mode", "data"},
                  {"original", report.compared.original},
                  {"modified", report.compared.modified},
                  {"table", report.table},
                  {"columns", report.columns},
                  {"notCompared", report.notCompared},
                  {"primaryKey", textOrNull(report.primaryKey)},
                  {"paired", report.keyColumn >= 0},
                  {"differences", report.differences()},
                  {"records", std::move(records)}};
    return dumped(document);
}

} // namespace dbsift::cli
