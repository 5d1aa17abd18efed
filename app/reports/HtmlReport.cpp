#include "HtmlReport.h"

#include "frmMain.h"

#include <sifkit/Sifcore.h>

namespace dbsift {

std::vector<DifferingRecord> walkDifferingRecords(sifkit::Sifcore& engine, const std::string& table) {
    std::vector<DifferingRecord> records;
    int32_t original = 1;
    int32_t modified = 1;
    bool originalDone = engine.lastRecord(table, original, true);
    bool modifiedDone = engine.lastRecord(table, modified, false);
    bool originalTurn = true;
    // Each step moves one side's position forward; a position that does not move ends that side,
    // so the walk always ends.
    auto step = [&](bool isOriginal) {
        int32_t& position = isOriginal ? original : modified;
        const int32_t number = engine.getResultRecordNumber(table, isOriginal, position);
        if (number > 0)
            records.push_back({number, isOriginal});
        const int32_t next = engine.incrementRecordCount(table, isOriginal, position);
        bool& done = isOriginal ? originalDone : modifiedDone;
        done = next <= position || engine.lastRecord(table, next, isOriginal);
        position = next;
    };
    while (!(originalDone && modifiedDone)) {
        if (originalTurn && !originalDone)
            step(true);
        else if (!modifiedDone)
            step(false);
        else
            step(true);
        originalTurn = !originalTurn;
    }
    return records;
}

std::string escapeHtml(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

namespace {

std::vector<std::string> fieldNames(sifkit::Sifcore& engine, const std::string& table, bool isOriginal) {
    std::vector<std::string> names;
    const int16_t count = engine.getResultFieldCount(isOriginal, table);
    for (int32_t i = 1; i <= count; ++i)
        names.push_back(engine.getResultFieldName(i, isOriginal));
    return names;
}

std::string buildReportHeaderRow(const std::vector<std::string>& names) {
    std::string row = "<tr><td><b><u>Item#</u></b></td><td>&nbsp</td>";
    for (const std::string& name : names)
        row += "<td><b><u>" + escapeHtml(name) + "</u></b></td><td>&nbsp</td>";
    return row + "</tr>";
}

std::string buildReportRecordCells(sifkit::Sifcore& engine, const std::string& table,
                                   const std::vector<std::string>& names, const DifferingRecord& record) {
    std::string cells = "<td>" + std::to_string(record.recordNumber) + "</td><td>&nbsp</td>";
    for (const std::string& name : names)
        cells += "<td>" +
                 escapeHtml(engine.getFieldValueFromRecordNumber(table, name, record.recordNumber,
                                                                 record.isOriginal)) +
                 "</td><td>&nbsp</td>";
    return cells;
}

} // namespace

std::vector<std::string> htmlReportLines(sifkit::Sifcore& engine, const std::string& table,
                                         uint32_t originalColour, uint32_t modifiedColour) {
    const std::string co = frmMain::ColorToHTML(originalColour);
    const std::string cm = frmMain::ColorToHTML(modifiedColour);
    const std::string title = escapeHtml(table);
    // Each side's record shows its own side's fields.
    const std::vector<std::string> originalNames = fieldNames(engine, table, true);
    const std::vector<std::string> modifiedNames = fieldNames(engine, table, false);
    std::string rows;
    for (const DifferingRecord& record : walkDifferingRecords(engine, table))
        rows +=
            "<tr bgcolor=" + (record.isOriginal ? co : cm) + ">" +
            buildReportRecordCells(engine, table, record.isOriginal ? originalNames : modifiedNames, record) +
            "</tr>";
    return {"<html>",
            "<HEAD>",
            "<meta charset=\"utf-8\">",
            "<TITLE> Data Difference report for " + title + "</title>",
            "</HEAD>",
            "<body>",
            "<form>",
            "<table>",
            "<tr>",
            "<td>",
            "<font size=6><b><u>Data Differences for " + title + "</U></b></font>",
            "</td>",
            "</tr>",
            "<tr bgcolor=" + co + "><td>Original</td></tr>",
            "<tr bgcolor=" + cm + "><td>Modified</td></tr>",
            "</table>",
            "<table>",
            buildReportHeaderRow(originalNames),
            rows,
            "</table>",
            "</html>"};
}

} // namespace dbsift
