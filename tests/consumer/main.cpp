// SPDX-License-Identifier: MIT
// Uses the installed library the way an outside program would: only <sifkit/...> headers and
// libSifkit.so. Exits 0 when every check holds, 1 (after saying which) otherwise.

#include <sifkit/Sifcore.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

int failures = 0;

void check(bool holds, const std::string& what) {
    if (!holds) {
        std::cerr << "FAILED: " << what << "\n";
        ++failures;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: consumer SQLITE_FILE\n";
        return 2;
    }
    sifkit::Sifcore core;
    check(core.getConstantForNewTable() == "1" && core.getConstantForDifferentDataType() == "3",
          "change-code constants");
    check(core.getChangeDesciption(5) == "New Record" && core.getChangeDesciption(9) == "N/A",
          "change descriptions");

    std::vector<std::string> progress;
    core.setUpdateCountHandler([&](int32_t& count, int32_t& maxCount, std::string& readFrom) {
        progress.push_back(std::to_string(count) + "/" + std::to_string(maxCount) + " " + readFrom);
    });
    core.setMessageBoxHandler([](const std::string&) {});
    core.setDoEventsHandler([] {});
    core.setCurrentProgressCount(5, 80, "Reading Original");
    check(progress == std::vector<std::string>{"5/80 Reading Original"}, "the UpdateCount event");

    auto manager = core.getMasterDataManager();
    manager->setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + std::string(argv[1]));
    manager->openDatabaseConnection();
    manager->openDataBaseRecordsFromQuery("select name from [people] where id = 2");
    sifkit::Recordset records = manager->getDatabaseRecords();
    check(records.state() == 1 && records.field("name").value().asText() == "O'Neil", "a query's value");
    check(core.getErrorLogs(true) ==
              "Connection issues = Successfully Completed||Database issues  Successfully "
              "Completed ||General Issues ",
          "the error logs: " + core.getErrorLogs(true));
    manager->openDataBaseRecordsFromQuery("select * from [missing]");
    check(core.getErrorLogs(true).find(" #3 Error occured when attempting to open table using the following "
                                       "SQLselect * from [missing] ||") != std::string::npos,
          "a failed query's message");
    manager->closeConnection();
    if (failures == 0)
        std::cout << "an outside program used libSifkit.so as documented\n";
    return failures == 0 ? 0 : 1;
}
