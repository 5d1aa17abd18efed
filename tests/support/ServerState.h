// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace sifkit::test {

/// What a started database server leaves for the programs that use it: its folder, port and
/// the like, as key and value texts. "available" is "1" for a running server; otherwise
/// "reason" tells why there is none (the product is not installed).
using ServerState = std::map<std::string, std::string>;

/// The environment variable that names the folder where the test run's fixture keeps the
/// state of the servers it started for the whole run (set by ctest on every test).
inline constexpr const char* sharedServersVariable = "DBSIFT_TEST_SERVERS";

/// The file in `folder` that holds the state of the server named `server` ("postgres", ...).
std::filesystem::path serverStateFile(const std::filesystem::path& folder, const std::string& server);

/// The state a file holds; nullopt when there is no such file.
std::optional<ServerState> readServerState(const std::filesystem::path& file);

/// Writes the state under a temporary name and moves it into place, so that a reader never
/// sees half of it.
void writeServerState(const std::filesystem::path& file, const ServerState& state);

/// The state of the server the test run started for all its programs; nullopt when the run
/// started none (a test program run by hand), so that the program starts its own.
std::optional<ServerState> sharedServerState(const std::string& server);

/// A TCP port on the loopback interface that nothing listens on at the moment.
int freeLoopbackPort();

/// A new empty folder under the temporary folder, left in place for the caller to remove.
std::filesystem::path newServerFolder(const std::string& prefix);

/// The path of an installed program, looked up on PATH and then in /usr/sbin (where servers
/// live, off an ordinary user's PATH); "" when it is not installed.
std::string installedProgram(const std::string& name);

/// Why the tests of Access files cannot run here (no fixture folder, or no MDB Tools programs to
/// check them with); "" when they can.
std::string whyNoAccessFiles();

/// The owner of a folder becomes the named system user (for a server that refuses to run as
/// root); throws when there is no such user.
void handFolderTo(const std::filesystem::path& folder, const std::string& user);

} // namespace sifkit::test
