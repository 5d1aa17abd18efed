// SPDX-License-Identifier: MIT
#include "CliRun.h"

#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace sifkit::test {

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

CliResult runCli(const std::vector<std::string>& args,
                 const std::vector<std::pair<std::string, std::string>>& environment) {
    TempDir capture;
    const std::string outPath = capture.file("stdout");
    const std::string errPath = capture.file("stderr");

    std::vector<std::string> argumentTexts{DBSIFT_COMPARE_PROGRAM};
    argumentTexts.insert(argumentTexts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& text : argumentTexts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    // The given variables first and the inherited ones after, without those given again.
    std::vector<std::string> environmentTexts;
    for (const auto& [name, value] : environment)
        environmentTexts.push_back(name + "=" + value);
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        std::string name = text.substr(0, text.find('='));
        bool given = false;
        for (const auto& variable : environment)
            given = given || variable.first == name;
        if (!given)
            environmentTexts.push_back(std::move(text));
    }
    std::vector<char*> envp;
    for (auto& text : environmentTexts)
        envp.push_back(text.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error(std::string("cannot run dbsift-compare: ") + std::strerror(spawned));
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        throw std::runtime_error("lost dbsift-compare");

    CliResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

DatabasePair::DatabasePair(const std::string& originalScript, const std::string& modifiedScript) {
    createSqliteDatabase(original, originalScript);
    createSqliteDatabase(modified, modifiedScript);
}

std::string sampleScript(const std::string& name) {
    std::ifstream in(std::string(DBSIFT_SAMPLES_FOLDER) + "/" + name, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing sample script " + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string freshDataSourceName(const std::string& stem) {
    static int counter = 0;
    return stem + "_" + std::to_string(++counter);
}

} // namespace sifkit::test
