#pragma once

#include "TestEnvironment.h"

#include <sifkit/Sifcore.h>

#include <map>
#include <string>
#include <vector>

namespace sifkit::test {

/// An Original and a Modified SQLite database built from two scripts, and an engine whose two
/// managers are connected to them for a data comparison of one table.
struct DataRun {
    DataRun(const std::string& masterScript, const std::string& sourceScript);

    /// Connects both managers and sets the table and each side's field list.
    void prepare(const std::string& table, const std::string& masterFields, const std::string& sourceFields);
    void prepare(const std::string& table, const std::string& fields) { prepare(table, fields, fields); }

    /// The full data run on the two managers.
    bool runFull();

    TempDir dir;
    std::string masterPath = dir.file("original.db");
    std::string sourcePath = dir.file("modified.db");
    Sifcore core;
};

/// The reported records of one side: record number -> field name -> value, from its data items.
using ReportedRecords = std::map<int32_t, std::map<std::string, std::string>>;
ReportedRecords reportedRecords(const ResultCollection& results);

/// The values of one field over the reported records, in record order.
std::vector<std::string> reportedValues(const ResultCollection& results, const std::string& field);

} // namespace sifkit::test
