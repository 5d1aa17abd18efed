// SPDX-License-Identifier: MIT
#include "reports/HtmlReport.h"

#include "data/DifferenceWalk.h"
#include "shell/SettingsText.h"
#include "shell/frmMain.h"

#include <cstdio>

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

} // namespace

std::vector<std::string> htmlReportLines(sifkit::Sifcore& engine, const std::string& table,
                                         uint32_t originalColour, uint32_t modifiedColour) {
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
    return {"<html>",
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
            "<tr bgcolor=" + co + "><td>" +
                html(QCoreApplication::translate("dbsift::HtmlReport", "Original")) + "</td></tr>",
            "<tr bgcolor=" + cm + "><td>" +
                html(QCoreApplication::translate("dbsift::HtmlReport", "Modified")) + "</td></tr>",
            "</table>",
            "<table>",
            buildReportHeaderRow(originalNames),
            rows,
            "</table>",
            "</html>"};
}

} // namespace dbsift
