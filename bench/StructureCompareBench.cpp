// SPDX-License-Identifier: MIT
// Times one structure comparison of two databases through the public engine control, fields
// included, and prints what it found so that a run that compared nothing is noticed.
//
// Usage: structure_compare_bench ORIGINAL MODIFIED
// Both are database files (or ODBC connection strings in the engine's forms). The ODBC
// configuration (ODBCSYSINI, ODBCINI) comes from the environment.

#include <sifkit/Sifcore.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

std::string connectionStringFor(const std::string& argument) {
    if (argument.find('=') != std::string::npos)
        return argument;
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + argument;
}

/// Items per change code 0 to 3 of one side's published collection.
std::array<int, 4> countCodes(const sifkit::ResultCollectionPtr& items) {
    std::array<int, 4> counts{};
    for (int32_t i = 1; i <= items->count(); ++i) {
        const int code = std::stoi(items->item(i)->getChangeType());
        if (code >= 0 && code < 4)
            ++counts[static_cast<std::size_t>(code)];
    }
    return counts;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ORIGINAL MODIFIED\n", argv[0]);
        return 2;
    }
    sifkit::Sifcore engine;
    int events = 0;
    engine.setUpdateCountHandler([&](int32_t&, int32_t&, std::string&) { ++events; });

    const auto start = std::chrono::steady_clock::now();
    const bool compared =
        engine.beginFullDatabaseCompare(connectionStringFor(argv[1]), connectionStringFor(argv[2]), false);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    if (!compared) {
        std::fprintf(stderr, "the comparison failed:\n%s\n%s\n", engine.getErrorLogs(true).c_str(),
                     engine.getErrorLogs(false).c_str());
        return 1;
    }
    for (bool isMaster : {true, false}) {
        const auto items = isMaster ? engine.getMasterDatabaseResults() : engine.getSourceDatabaseResults();
        const auto counts = countCodes(items);
        std::printf("%-8s items %6d: unchanged %6d, new table %5d, new field %5d, different type %5d\n",
                    isMaster ? "original" : "modified", items->count(), counts[0], counts[1], counts[2],
                    counts[3]);
    }
    std::printf("progress events %d\n", events);
    std::printf("engine %.3f s\n", seconds);
    return 0;
}
