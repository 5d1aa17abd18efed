#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sifkit {
class Sifcore;
}

namespace dbsift {

/// A differing record of a data comparison: its record number and side.
struct DifferingRecord {
    int32_t recordNumber = 0;
    bool isOriginal = true;
};

/// Every differing record of a table in the published results of the last data run, the
/// Original's and the Modified's in turn (Original first); when one side is exhausted the other
/// continues alone, so a table whose differences are all on one side lists them all.
std::vector<DifferingRecord> walkDifferingRecords(sifkit::Sifcore& engine, const std::string& table);

/// The text with "&", "<", ">" and '"' written as HTML entities.
std::string escapeHtml(const std::string& text);

/// The lines of the data difference report of a table (without line ends): the title and legend,
/// the header row of the Original side's fields and one row per differing record, coloured with
/// the side's colour (colours with red in the low byte). Names and values are HTML-escaped.
std::vector<std::string> htmlReportLines(sifkit::Sifcore& engine, const std::string& table,
                                         uint32_t originalColour, uint32_t modifiedColour);

} // namespace dbsift
