// SPDX-License-Identifier: MIT
// Times one full data comparison of a table through the public engine control and prints the
// records it reported on each side and the process's peak memory, so that a run that compared
// nothing is noticed.
//
// Usage: data_compare_bench ORIGINAL MODIFIED TABLE FIELDS
// ORIGINAL and MODIFIED are database files (or connection strings in the engine's forms);
// FIELDS is the field list as the application builds it ("[a],[b]"). The last line reads
//   engine T s peak M MB
// with T the comparison's time in seconds and M the peak resident memory of the process.

#include <sifkit/Sifcore.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <string>

namespace {

std::string connectionStringFor(const std::string& argument) {
    if (argument.find('=') != std::string::npos)
        return argument;
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + argument;
}

/// Distinct record numbers among a side's data items.
std::size_t reportedRecords(const sifkit::ResultCollectionPtr& items) {
    std::set<int32_t> records;
    for (int32_t i = 1; items && i <= items->count(); ++i)
        if (items->item(i)->getIsDataValue())
            records.insert(items->item(i)->getRecordNumber());
    return records.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s ORIGINAL MODIFIED TABLE FIELDS\n", argv[0]);
        return 2;
    }
    sifkit::Sifcore engine;
    const auto start = std::chrono::steady_clock::now();
    const bool compared = engine.beginTableCompareFromFieldList(
        connectionStringFor(argv[1]), connectionStringFor(argv[2]), argv[3], "TABLE", argv[4]);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!compared) {
        std::fprintf(stderr, "the comparison found nothing or failed:\n%s\n%s\n",
                     engine.getErrorLogs(true).c_str(), engine.getErrorLogs(false).c_str());
        return 1;
    }
    std::printf("reported records: original %zu, modified %zu\n",
                reportedRecords(engine.getMasterDatabaseResults()),
                reportedRecords(engine.getSourceDatabaseResults()));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("engine %.3f s peak %.0f MB\n", seconds, static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
