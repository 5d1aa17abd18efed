// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit {
class Sifcore;
}

namespace dbsift {

/// The text with "&", "<", ">" and '"' written as HTML entities.
std::string escapeHtml(const std::string& text);

/// The lines of the data difference report of a table (without line ends): the title and legend,
/// the header row of the Original side's fields and one row per differing record, coloured with
/// the side's colour (colours with red in the low byte). Names and values are HTML-escaped.
std::vector<std::string> htmlReportLines(sifkit::Sifcore& engine, const std::string& table,
                                         uint32_t originalColour, uint32_t modifiedColour);

} // namespace dbsift
