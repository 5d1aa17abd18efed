// SPDX-License-Identifier: MIT
#include "ServerState.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace sifkit::test {

namespace fs = std::filesystem;

fs::path serverStateFile(const fs::path& folder, const std::string& server) {
    return folder / (server + ".state");
}

std::optional<ServerState> readServerState(const fs::path& file) {
    std::ifstream in(file);
    if (!in)
        return std::nullopt;
    ServerState state;
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            state[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return state;
}

void writeServerState(const fs::path& file, const ServerState& state) {
    const fs::path staged = file.string() + ".new";
    {
        std::ofstream out(staged, std::ios::trunc);
        for (const auto& [key, value] : state)
            out << key << '=' << value << '\n';
        if (!out)
            throw std::runtime_error("cannot write " + staged.string());
    }
    fs::rename(staged, file);
}

std::optional<ServerState> sharedServerState(const std::string& server) {
    const char* folder = std::getenv(sharedServersVariable);
    if (!folder || !*folder)
        return std::nullopt;
    return readServerState(serverStateFile(folder, server));
}

int freeLoopbackPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

fs::path newServerFolder(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

std::string installedProgram(const std::string& name) {
    std::string folders = std::getenv("PATH") ? std::getenv("PATH") : "";
    folders += ":/usr/sbin:/usr/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const fs::path candidate = fs::path(folders.substr(start, end - start)) / name;
        if (end > start && access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
        start = end + 1;
    }
    return {};
}

void handFolderTo(const fs::path& folder, const std::string& user) {
    const passwd* entry = getpwnam(user.c_str());
    if (!entry)
        throw std::runtime_error("no " + user + " user to run the server as");
    if (chown(folder.c_str(), entry->pw_uid, entry->pw_gid) != 0)
        throw std::runtime_error("cannot hand " + folder.string() + " to " + user);
}

std::string whyNoAccessFiles() {
    if (!std::filesystem::is_directory(SIFKIT_TEST_ACCESS_FIXTURES))
        return std::string("no Access files at ") + SIFKIT_TEST_ACCESS_FIXTURES;
    if (installedProgram("mdb-export").empty())
        return "the MDB Tools programs (mdbtools) are not installed";
    return {};
}

} // namespace sifkit::test
