// SPDX-License-Identifier: MIT
#include "reports/HtmlReport.h"

#include "data/DifferenceWalk.h"
#include "shell/SettingsText.h"
#include "shell/frmMain.h"

#include <cstdio>

#include <sifkit/DataSummary.h>
#include <sifkit/Sifcore.h>

#include <QCoreApplication>

namespace dbsift {

std::string escapeHtml(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            // The report declares UTF-8, so a browser would show every such byte as the same
            // replacement mark; each is shown as its value instead, in a code element, so that it
            // stands apart from typed text.
            escaped += "<code title=\"bytes that are not UTF-8\">";
            for (; i < text.size() && utf8SequenceLength(text, i) == 0; ++i) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[i]));
                escaped += hex;
            }
            escaped += "</code>";
            continue;
        }
        if (length > 1) {
            escaped.append(text, i, length);
            i += length;
            continue;
        }
        const char c = text[i++];
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

/// Marks a report text for the translations; translated() looks it up.
#define REPORT_TEXT(text) QT_TRANSLATE_NOOP("dbsift::HtmlReport", text)

/// A differing record of the last data run: its record number and side.
struct DifferingRecord {
    int32_t recordNumber = 0;
    bool isOriginal = true;
};

/// Every differing record of the table, in the data view's alternating order.
std::vector<DifferingRecord> walkDifferingRecords(sifkit::Sifcore& engine, const std::string& table) {
    std::vector<DifferingRecord> records;
    DifferenceWalk walk(engine, table, 1, 1);
    while (!walk.done()) {
        const DifferenceWalk::Step step = walk.next();
        if (step.recordNumber > 0)
            records.push_back({step.recordNumber, step.isMaster});
    }
    return records;
}

std::vector<std::string> fieldNames(sifkit::Sifcore& engine, const std::string& table, bool isOriginal) {
    std::vector<std::string> names;
    const int16_t count = engine.getResultFieldCount(isOriginal, table);
    for (int32_t i = 1; i <= count; ++i)
        names.push_back(engine.getResultFieldName(i, isOriginal));
    return names;
}

/// A translated text as report HTML (a translation may hold "&" or "<" too), with its "%1", if
/// any, replaced by value, HTML already: a name keeps its bytes as the database gave them.
std::string html(const QString& text, const std::string& value = {}) {
    std::string written = escapeHtml(text.toStdString());
    if (const std::size_t at = written.find("%1"); at != std::string::npos)
        written.replace(at, 2, value);
    return written;
}

std::string buildReportHeaderRow(const std::vector<std::string>& names) {
    std::string row = "<tr><td><b><u>" + html(QCoreApplication::translate("dbsift::HtmlReport", "Item#")) +
                      "</u></b></td><td>&nbsp</td>";
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

/// A text marked with REPORT_TEXT() in the report's translations, as report HTML.
std::string translated(const char* text) {
    return html(QCoreApplication::translate("dbsift::HtmlReport", text));
}

/// Where the report comes from: both databases and the date.
std::string contextLine(const ReportContext& context) {
    return "<p>" +
           html(QCoreApplication::translate("dbsift::HtmlReport", "Original: %1"),
                escapeHtml(context.original)) +
           "<br>" +
           html(QCoreApplication::translate("dbsift::HtmlReport", "Modified: %1"),
                escapeHtml(context.modified)) +
           "<br>" +
           html(QCoreApplication::translate("dbsift::HtmlReport", "Written: %1"),
                escapeHtml(context.written)) +
           "</p>";
}

std::string cell(const std::string& text, const char* element = "td") {
    return std::string("<") + element + ">" + text + "</" + element + ">";
}

std::string shownValue(const sifkit::Value& value) {
    return value.isNull() ? "<i>" + translated(REPORT_TEXT("(Null)")) + "</i>" : escapeHtml(value.toString());
}

/// The counts of each kind of difference, and each changed pair's changed values, the new
/// value marked.
std::vector<std::string> changeLines(const sifkit::DataResult& result) {
    int32_t changed = 0, onlyOriginal = 0, onlyModified = 0;
    for (const sifkit::DataRecord& record : result.original)
        ++(result.counterpartOf(record) ? changed : onlyOriginal);
    for (const sifkit::DataRecord& record : result.modified)
        onlyModified += result.counterpartOf(record) ? 0 : 1;
    std::vector<std::string> lines{
        "<p>" +
        html(QCoreApplication::translate("dbsift::HtmlReport", "Changed: %1"), std::to_string(changed)) +
        ", " +
        html(QCoreApplication::translate("dbsift::HtmlReport", "only in Original: %1"),
             std::to_string(onlyOriginal)) +
        ", " +
        html(QCoreApplication::translate("dbsift::HtmlReport", "only in Modified: %1"),
             std::to_string(onlyModified)) +
        "</p>"};
    if (changed == 0)
        return lines;
    std::string rows = "<tr>" + cell(translated(REPORT_TEXT("Original #")), "th") +
                       cell(translated(REPORT_TEXT("Modified #")), "th") +
                       cell(translated(REPORT_TEXT("Column")), "th") +
                       cell(translated(REPORT_TEXT("Original")), "th") +
                       cell(translated(REPORT_TEXT("Modified")), "th") + "</tr>";
    for (const sifkit::DataRecord& record : result.original) {
        const sifkit::DataRecord* counterpart = result.counterpartOf(record);
        if (!counterpart)
            continue;
        for (const std::string& column : result.changedColumns(record, *counterpart)) {
            const int32_t o = result.columnPosition(sifkit::Side::Original, column);
            const int32_t m = result.columnPosition(sifkit::Side::Modified, column);
            rows += "<tr>" + cell(std::to_string(record.number)) + cell(std::to_string(counterpart->number)) +
                    cell(escapeHtml(column)) + cell(shownValue(record.values[o])) +
                    cell("<mark>" + shownValue(counterpart->values[m]) + "</mark>") + "</tr>";
        }
    }
    lines.push_back("<h3>" + translated(REPORT_TEXT("Changed values")) + "</h3>");
    lines.push_back("<table border=1 cellspacing=0 cellpadding=3>" + rows + "</table>");
    return lines;
}

} // namespace

std::vector<std::string> htmlReportLines(sifkit::Sifcore& engine, const std::string& table,
                                         uint32_t originalColour, uint32_t modifiedColour,
                                         const ReportContext& context) {
    const std::string co = frmMain::ColorToHTML(originalColour);
    const std::string cm = frmMain::ColorToHTML(modifiedColour);
    // Each side's record shows its own side's fields.
    const std::vector<std::string> originalNames = fieldNames(engine, table, true);
    const std::vector<std::string> modifiedNames = fieldNames(engine, table, false);
    std::string rows;
    for (const DifferingRecord& record : walkDifferingRecords(engine, table))
        rows +=
            "<tr bgcolor=" + (record.isOriginal ? co : cm) + ">" +
            buildReportRecordCells(engine, table, record.isOriginal ? originalNames : modifiedNames, record) +
            "</tr>";
    std::vector<std::string> lines{
        "<html>",
        "<HEAD>",
        "<meta charset=\"utf-8\">",
        "<TITLE> " +
            html(QCoreApplication::translate("dbsift::HtmlReport", "Data Difference report for %1"),
                 escapeHtml(table)) +
            "</title>",
        "</HEAD>",
        "<body>",
        "<form>",
        "<table>",
        "<tr>",
        "<td>",
        "<font size=6><b><u>" +
            html(QCoreApplication::translate("dbsift::HtmlReport", "Data Differences for %1"),
                 escapeHtml(table)) +
            "</U></b></font>",
        "</td>",
        "</tr>",
        "<tr bgcolor=" + co + "><td>" + html(QCoreApplication::translate("dbsift::HtmlReport", "Original")) +
            "</td></tr>",
        "<tr bgcolor=" + cm + "><td>" + html(QCoreApplication::translate("dbsift::HtmlReport", "Modified")) +
            "</td></tr>",
        "</table>",
        "<table>",
        buildReportHeaderRow(originalNames),
        rows,
        "</table>"};
    // Beside the listing: where it comes from and what changed.
    lines.push_back(contextLine(context));
    const sifkit::DataResult& result = engine.lastDataResult();
    if (result.table == table)
        for (std::string& line : changeLines(result))
            lines.push_back(std::move(line));
    lines.push_back("</html>");
    return lines;
}

std::vector<std::string> htmlSummaryReportLines(const sifkit::DataSummary& summary,
                                                const ReportContext& context) {
    std::string rows = "<tr>";
    for (const char* heading : {REPORT_TEXT("Table"), REPORT_TEXT("Original"), REPORT_TEXT("Modified"),
                                REPORT_TEXT("Only in Original"), REPORT_TEXT("Only in Modified"),
                                REPORT_TEXT("Changed"), REPORT_TEXT("Identical"), REPORT_TEXT("Paired by")})
        rows += cell(translated(heading), "th");
    rows += "</tr>";
    int32_t compared = 0, differing = 0;
    for (const sifkit::TableCounts& table : summary.tables) {
        rows += "<tr>" + cell(escapeHtml(table.table));
        if (!table.compared()) {
            rows += "<td colspan=7>" + escapeHtml(table.whyNotCompared) + "</td></tr>";
            continue;
        }
        ++compared;
        differing += table.differences() > 0 ? 1 : 0;
        rows += cell(std::to_string(table.originalRecords)) + cell(std::to_string(table.modifiedRecords));
        for (int32_t count : {table.onlyInOriginal, table.onlyInModified, table.changed})
            rows += cell(count > 0 ? "<mark>" + std::to_string(count) + "</mark>" : std::to_string(count));
        rows += cell(std::to_string(table.identical));
        std::string key;
        for (const std::string& column : table.keyColumns)
            key += (key.empty() ? "" : ", ") + escapeHtml(column);
        rows += cell(key) + "</tr>";
    }
    const std::string title = translated(REPORT_TEXT("Data differences of every table"));
    return {"<html>",
            "<head><meta charset=\"utf-8\"><title>" + title + "</title></head>",
            "<body>",
            "<h2>" + title + "</h2>",
            contextLine(context),
            "<p>" +
                html(QCoreApplication::translate("dbsift::HtmlReport", "Tables compared: %1"),
                     std::to_string(compared)) +
                ", " +
                html(QCoreApplication::translate("dbsift::HtmlReport", "with differences: %1"),
                     std::to_string(differing)) +
                ", " +
                html(QCoreApplication::translate("dbsift::HtmlReport", "not compared: %1"),
                     std::to_string(summary.tables.size() - static_cast<std::size_t>(compared))) +
                (summary.cancelled
                     ? " " + translated(REPORT_TEXT("(cancelled: the tables after the last one are missing)"))
                     : "") +
                "</p>",
            "<table border=1 cellspacing=0 cellpadding=3>" + rows + "</table>",
            "</body>",
            "</html>"};
}

} // namespace dbsift
