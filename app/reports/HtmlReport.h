// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit {
class Sifcore;
}

namespace dbsift {

/// The text with "&", "<", ">" and '"' written as HTML entities. Bytes that are not part of
/// well-formed UTF-8 are written as "\xNN" (two upper-case hexadecimal digits each), a run of them
/// in one <code title="bytes that are not UTF-8"> element; well-formed text is kept as it is.
std::string escapeHtml(const std::string& text);

/// The lines of the data difference report of a table (without line ends): the title and legend,
/// the header row of the Original side's fields and one row per differing record, coloured with
/// the side's colour (colours with red in the low byte). Names and values are HTML-escaped.
std::vector<std::string> htmlReportLines(sifkit::Sifcore& engine, const std::string& table,
                                         uint32_t originalColour, uint32_t modifiedColour);

} // namespace dbsift
