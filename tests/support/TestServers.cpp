// SPDX-License-Identifier: MIT
// Starts or stops a database server for a whole test run, as the ctest fixtures do:
//   dbsift_test_servers start|stop postgres|mariadb STATE_FOLDER
// "start" leaves the server's state in STATE_FOLDER, where the test programs find it through
// DBSIFT_TEST_SERVERS; where the product is not installed it leaves the reason instead, so that
// the tests report themselves skipped. A server that is installed but does not start fails the
// fixture, and with it the tests that need it.

#include "support/MariadbInstance.h"
#include "support/PostgresCluster.h"
#include "support/ServerState.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace sifkit::test;

template <typename Instance> int start(const std::string& name, const fs::path& stateFile) {
    if (std::string reason = Instance::unavailableReason(); !reason.empty()) {
        writeServerState(stateFile, {{"available", "0"}, {"reason", reason}});
        std::cout << name << ": not started, " << reason << "\n";
        return 0;
    }
    const fs::path folder = newServerFolder("sifkit-" + name);
    try {
        const Instance instance = Instance::start(folder);
        writeServerState(stateFile, instance.state());
        std::cout << name << ": serving from " << folder.string() << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::error_code ec;
        fs::remove_all(folder, ec);
        std::cerr << name << ": cannot start: " << error.what() << "\n";
        return 1;
    }
}

template <typename Instance> int stop(const std::string& name, const fs::path& stateFile) {
    const auto state = readServerState(stateFile);
    std::error_code ec;
    fs::remove(stateFile, ec);
    if (!state || state->count("available") == 0 || state->at("available") != "1")
        return 0;
    const Instance instance = Instance::fromState(*state);
    int result = 0;
    try {
        instance.stop();
    } catch (const std::exception& error) {
        std::cerr << name << ": cannot stop: " << error.what() << "\n";
        result = 1;
    }
    fs::remove_all(instance.folder(), ec);
    std::cout << name << ": stopped\n";
    return result;
}

template <typename Instance>
int run(const std::string& action, const std::string& name, const fs::path& folder) {
    fs::create_directories(folder);
    const fs::path stateFile = serverStateFile(folder, name);
    if (action == "stop")
        return stop<Instance>(name, stateFile);
    // A server an earlier run left behind (a run cut short) goes first.
    stop<Instance>(name, stateFile);
    return start<Instance>(name, stateFile);
}

} // namespace

int main(int argc, char** argv) {
    const std::string usage = "usage: dbsift_test_servers start|stop postgres|mariadb STATE_FOLDER";
    if (argc != 4) {
        std::cerr << usage << "\n";
        return 2;
    }
    const std::string action = argv[1];
    const std::string name = argv[2];
    if (action != "start" && action != "stop") {
        std::cerr << usage << "\n";
        return 2;
    }
    try {
        if (name == "postgres")
            return run<PostgresCluster>(action, name, argv[3]);
        if (name == "mariadb")
            return run<MariadbInstance>(action, name, argv[3]);
    } catch (const std::exception& error) {
        std::cerr << name << ": " << error.what() << "\n";
        return 1;
    }
    std::cerr << usage << "\n";
    return 2;
}
