// SPDX-License-Identifier: MIT
#pragma once

#include "Report.h"

#include <string>

namespace dbsift::cli {

enum class Format { Text, Json, Csv };

/// A compared value as text output shows it: "Null" for a Null.
inline std::string valueText(const sifkit::Value& value) {
    return value.isNull() ? "Null" : value.toString();
}

// Each formatter returns the whole output, so that nothing reaches standard output before the
// comparison has succeeded.

/// Aligned columns for a terminal, with a closing summary line.
std::string formatText(const StructureReport& report);
std::string formatText(const DataReport& report);
std::string formatText(const DatabaseDataReport& report);

/// One JSON document (field names in cli/README.md).
std::string formatJson(const StructureReport& report);
std::string formatJson(const DataReport& report);
std::string formatJson(const DatabaseDataReport& report);

/// RFC 4180: a header line, then one line per item or record, CRLF line ends.
std::string formatCsv(const StructureReport& report);
std::string formatCsv(const DataReport& report);
std::string formatCsv(const DatabaseDataReport& report);

template <typename Report> std::string formatReport(const Report& report, Format format) {
    switch (format) {
    case Format::Json:
        return formatJson(report);
    case Format::Csv:
        return formatCsv(report);
    case Format::Text:
        break;
    }
    return formatText(report);
}

} // namespace dbsift::cli
