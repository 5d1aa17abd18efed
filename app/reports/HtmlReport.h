// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit {
class Sifcore;
struct DataSummary;
} // namespace sifkit

namespace dbsift {

/// The text with "&", "<", ">" and '"' written as HTML entities. Bytes that are not part of
/// well-formed UTF-8 are written as "\xNN" (two upper-case hexadecimal digits each), a run of them
/// in one <code title="bytes that are not UTF-8"> element; well-formed text is kept as it is.
std::string escapeHtml(const std::string& text);

/// What a report says of where it comes from: both databases as the window names them, and when
/// it was written.
struct ReportContext {
    std::string original;
    std::string modified;
    std::string written; ///< "2026-12-11 12:00 UTC"
};

/// The lines of the data difference report of a table (without line ends): the title and legend,
/// the header row of the Original side's fields and one row per differing record, coloured with
/// the side's colour (colours with red in the low byte); then the databases, the date, the
/// counts of each kind of difference and the changed values of each pair of records, the new
/// value marked. Names and values are HTML-escaped.
std::vector<std::string> htmlReportLines(sifkit::Sifcore& engine, const std::string& table,
                                         uint32_t originalColour, uint32_t modifiedColour,
                                         const ReportContext& context = {});

/// The lines of the report of a comparison of every table: the databases, the date, and per
/// table its counts (or why it was not compared), with the totals.
std::vector<std::string> htmlSummaryReportLines(const sifkit::DataSummary& summary,
                                                const ReportContext& context);

} // namespace dbsift
