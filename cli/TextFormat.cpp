// SPDX-License-Identifier: MIT
#include "Formatters.h"

#include <algorithm>
#include <numeric>

namespace dbsift::cli {

namespace {

/// The text on one line: line breaks and tabs written as \n, \r and \t, other control
/// characters as "?", so that a value cannot break the columns.
std::string oneLine(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
        }
    }
    return out;
}

/// Characters a terminal shows for a UTF-8 text (one per code point).
std::size_t displayWidth(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

/// Rows of cells in columns as wide as their widest cell, two blanks apart.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> header) { add(std::move(header)); }

    void add(std::vector<std::string> row) {
        for (auto& cell : row)
            cell = oneLine(cell);
        rows_.push_back(std::move(row));
    }

    std::string render() const {
        std::vector<std::size_t> widths(rows_.front().size(), 0);
        for (const auto& row : rows_)
            for (std::size_t i = 0; i < row.size(); ++i)
                widths[i] = std::max(widths[i], displayWidth(row[i]));
        std::string out;
        for (const auto& row : rows_) {
            std::string line;
            for (std::size_t i = 0; i < row.size(); ++i) {
                line += row[i];
                if (i + 1 < row.size())
                    line += std::string(widths[i] - displayWidth(row[i]) + 2, ' ');
            }
            line.erase(line.find_last_not_of(' ') + 1);
            out += line + "\n";
        }
        return out;
    }

private:
    std::vector<std::vector<std::string>> rows_;
};

std::string counted(int32_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

Side sideOf(const StructureLine& line) {
    return line.side;
}

Side sideOf(const sifkit::DataRecord* record) {
    return record->side;
}

/// "N differences: a in the Original database, b in the Modified database."
template <typename Entry, typename IsDifference>
std::string summary(const std::vector<Entry>& entries, IsDifference isDifference, const char* one,
                    const char* many) {
    int32_t original = 0;
    int32_t modified = 0;
    for (const auto& entry : entries)
        if (isDifference(entry))
            ++(sideOf(entry) == Side::Original ? original : modified);
    if (original + modified == 0)
        return "No differences.\n";
    return counted(original + modified, one, many) + ": " + std::to_string(original) +
           " in the Original database, " + std::to_string(modified) + " in the Modified database.\n";
}

std::string joined(const std::vector<std::string>& names) {
    return std::accumulate(names.begin(), names.end(), std::string(),
                           [](const std::string& all, const std::string& name) {
                               return all.empty() ? name : all + ", " + name;
                           });
}

std::string countOrDash(const sifkit::TableCounts& table, int32_t count) {
    return table.whyNotCompared.empty() ? std::to_string(count) : "-";
}

} // namespace

std::string formatText(const StructureReport& report) {
    const std::vector<StructureLine> lines = report.lines();
    std::string out;
    if (!lines.empty()) {
        TextTable table({"Side", "Object", "Field", "Type", "Change"});
        for (const StructureLine& line : lines)
            table.add({sideName(line.side), line.object->name, line.column ? line.column->name : "",
                       line.column ? line.column->typeName : line.object->type,
                       sifkit::describeChange(static_cast<int16_t>(line.change))});
        out = table.render() + "\n";
    }
    if (report.result.typesByFamily)
        out += "Field types compared by family (integer, real, exact number, text, binary, date and time).\n";
    return out + summary(
                     lines,
                     [](const StructureLine& line) { return line.change != sifkit::ChangeCode::NoChange; },
                     "difference", "differences");
}

std::string formatText(const DataReport& report) {
    const std::string& table = report.result.table;
    std::string out = "Table " + oneLine(table) + ", compared columns: " + oneLine(joined(report.columns));
    if (report.keyGiven && report.paired())
        out += "; records paired by key " + oneLine(joined(report.result.keyColumns));
    else if (report.primaryKey.empty() && report.paired())
        out += "; no primary key, records paired by unique key " + oneLine(joined(report.result.keyColumns));
    else if (report.primaryKey.empty())
        out += "; no primary key, records are not paired";
    else if (!report.paired())
        out +=
            "; primary key " + oneLine(joined(report.primaryKey)) + " not compared, records are not paired";
    else
        out += "; records paired by primary key " + oneLine(joined(report.result.keyColumns));
    out += ".\n";
    if (!report.notCompared.empty())
        out += "Not compared: " + oneLine(joined(report.notCompared)) + ".\n";
    if (const std::string relaxed = describeOptions(report.result.options); !relaxed.empty())
        out += "Values compared with " + relaxed + ".\n";
    const std::string& originalFilter = report.result.originalFilter;
    const std::string& modifiedFilter = report.result.modifiedFilter;
    if (!originalFilter.empty() && originalFilter == modifiedFilter)
        out += "Records compared where " + oneLine(originalFilter) + ".\n";
    else
        for (auto [side, filter] :
             {std::pair{"Original", &originalFilter}, std::pair{"Modified", &modifiedFilter}})
            if (!filter->empty())
                out += std::string(side) + " records compared where " + oneLine(*filter) + ".\n";
    if (!report.result.exactDespiteCollation.empty())
        out += oneLine(joined(report.result.exactDespiteCollation)) +
               ": compared exactly; the database's collation would call 'Paris' and 'PARIS' equal.\n";
    out += "\n";
    const std::vector<const sifkit::DataRecord*> records = report.records();
    if (!records.empty()) {
        std::vector<std::string> header{"Side", "Record", "Counterpart"};
        header.insert(header.end(), report.columns.begin(), report.columns.end());
        TextTable rows(std::move(header));
        for (const sifkit::DataRecord* record : records) {
            std::vector<std::string> row{sideName(record->side), std::to_string(record->number),
                                         record->counterpart ? std::to_string(record->counterpart) : "-"};
            for (const sifkit::Value& value : record->values)
                row.push_back(valueText(value));
            rows.add(std::move(row));
        }
        out += rows.render() + "\n";
    }
    const std::vector<ChangedRecord> changes = report.changes();
    if (!changes.empty()) {
        std::vector<std::string> header = report.result.keyColumns;
        header.insert(header.end(), {"Column", "Original", "Modified"});
        TextTable changed(std::move(header));
        for (const ChangedRecord& change : changes)
            for (const std::string& column : change.columns) {
                std::vector<std::string> row;
                for (const sifkit::Value& value : report.keyOf(*change.original))
                    row.push_back(valueText(value));
                row.insert(row.end(), {column, valueText(report.valueOf(*change.original, column)),
                                       valueText(report.valueOf(*change.modified, column))});
                changed.add(std::move(row));
            }
        out += "Changed values of the " + counted(static_cast<int32_t>(changes.size()), "record", "records") +
               " paired by key:\n" + changed.render() + "\n";
    }
    const int32_t shared = report.result.sharedCopies();
    if (shared > 0) {
        // Without a key the records are multisets: a copy the other side lacks is a difference
        // too, though the record it copies has an equal one there.
        std::vector<std::string> header{"Original", "Modified"};
        header.insert(header.end(), report.columns.begin(), report.columns.end());
        TextTable copies(std::move(header));
        for (const sifkit::RecordCopies& counted : report.result.copies) {
            std::vector<std::string> row{std::to_string(counted.originalCopies),
                                         std::to_string(counted.modifiedCopies)};
            for (const std::string& column : report.columns)
                row.push_back(valueText(report.valueOf(counted.record, column)));
            copies.add(std::move(row));
        }
        out += "Copies of each record that the databases hold a different number of times:\n" +
               copies.render() + "\n";
    }
    if (records.empty() && shared == 0 && !report.notCompared.empty())
        return out + "No differences in the compared columns.\n";
    const std::string listed = summary(
        records, [](const sifkit::DataRecord*) { return true; }, "record differs", "records differ");
    if (shared > 0)
        return out + (records.empty() ? std::string() : listed) + counted(shared, "record", "records") +
               " held by both databases a different number of times.\n";
    return out + listed;
}

std::string formatText(const DatabaseDataReport& report) {
    TextTable table({"Table", "Original", "Modified", "Only in Original", "Only in Modified", "Changed",
                     "Identical", "Paired by"});
    int32_t differing = 0;
    int32_t notCompared = 0;
    for (const sifkit::TableCounts& summary : report.summary.tables) {
        differing += summary.compared() && summary.differences() > 0 ? 1 : 0;
        notCompared += summary.compared() ? 0 : 1;
        table.add({summary.table, countOrDash(summary, summary.originalRecords),
                   countOrDash(summary, summary.modifiedRecords),
                   countOrDash(summary, summary.onlyInOriginal), countOrDash(summary, summary.onlyInModified),
                   countOrDash(summary, summary.changed), countOrDash(summary, summary.identical),
                   !summary.compared()          ? "not compared: " + summary.whyNotCompared
                   : summary.keyColumns.empty() ? "-"
                                                : joined(summary.keyColumns)});
    }
    std::string out = report.summary.tables.empty() ? "" : table.render() + "\n";
    if (const std::string relaxed = describeOptions(report.options); !relaxed.empty())
        out += "Values compared with " + relaxed + ".\n";
    const int32_t compared = static_cast<int32_t>(report.summary.tables.size()) - notCompared;
    if (differing + notCompared == 0)
        return out + counted(compared, "table", "tables") + " compared. No differences.\n";
    return out + counted(compared, "table", "tables") + " compared, " + std::to_string(differing) +
           " with differences; " + std::to_string(notCompared) + " not compared.\n";
}

} // namespace dbsift::cli
