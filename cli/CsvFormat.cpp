// SPDX-License-Identifier: MIT
#include "Formatters.h"

namespace dbsift::cli {

namespace {

/// One field: quoted, with quotes doubled, when it holds a comma, a quote or a line break.
std::string field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::string line(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? "," : "") + field(fields[i]);
    return out + "\r\n";
}

} // namespace

std::string formatCsv(const StructureReport& report) {
    std::string out = line({"side", "object", "field", "type", "change", "description"});
    for (const StructureLine& entry : report.lines()) {
        const auto change = static_cast<int16_t>(entry.change);
        out += line({sideName(entry.side), entry.object->name, entry.column ? entry.column->name : "",
                     entry.column ? entry.column->typeName : entry.object->type, std::to_string(change),
                     sifkit::describeChange(change)});
    }
    return out;
}

std::string formatCsv(const DataReport& report) {
    std::vector<std::string> header{"side", "record", "counterpart"};
    header.insert(header.end(), report.columns.begin(), report.columns.end());
    std::string out = line(header);
    for (const sifkit::DataRecord* record : report.records()) {
        std::vector<std::string> fields{sideName(record->side), std::to_string(record->number),
                                        record->counterpart ? std::to_string(record->counterpart) : ""};
        for (const sifkit::Value& value : record->values)
            fields.push_back(valueText(value));
        out += line(fields);
    }
    return out;
}

std::string formatCsv(const DatabaseDataReport& report) {
    std::string out = line({"table", "compared", "reason", "key", "original_records", "modified_records",
                            "only_in_original", "only_in_modified", "changed", "identical"});
    for (const sifkit::TableCounts& summary : report.summary.tables) {
        const bool compared = summary.compared();
        const auto count = [compared](int32_t value) { return compared ? std::to_string(value) : ""; };
        std::string key;
        for (const std::string& column : summary.keyColumns)
            key += (key.empty() ? "" : ",") + column;
        out += line({summary.table, compared ? "true" : "false", summary.whyNotCompared, key,
                     count(summary.originalRecords), count(summary.modifiedRecords),
                     count(summary.onlyInOriginal), count(summary.onlyInModified), count(summary.changed),
                     count(summary.identical)});
    }
    return out;
}

} // namespace dbsift::cli
