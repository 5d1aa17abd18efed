// SPDX-License-Identifier: MIT
#pragma once

#include "ServerState.h"

#include <filesystem>
#include <string>

namespace sifkit::test {

/// A MariaDB server in a folder of its own (mariadb-install-db), serving only on a Unix socket
/// in that folder (no TCP port to collide with another run), its root account without a
/// password. As root the server is told to stay root (it refuses otherwise); the folder is the
/// server's alone. The object only describes the server: stop() ends it.
class MariadbInstance {
public:
    /// Why the tests cannot use MariaDB on this machine (the server or its ODBC driver is not
    /// installed); "" when they can.
    static std::string unavailableReason();
    /// Creates a server in `folder` (an empty folder) and starts it, waiting until it answers.
    /// Throws with the programs' output when either fails.
    static MariadbInstance start(const std::filesystem::path& folder);
    /// The running server that state() described.
    static MariadbInstance fromState(const ServerState& state);

    ServerState state() const;
    /// Shuts the server down and waits until it has gone. Throws when it does not answer.
    void stop() const;
    /// The mariadb client command on one database ("" for none), reading statements from its
    /// standard input or from -e.
    std::string client(const std::string& database) const;
    std::filesystem::path socket() const { return folder_ / "mariadb.sock"; }
    const std::filesystem::path& folder() const { return folder_; }

private:
    explicit MariadbInstance(std::filesystem::path folder) : folder_(std::move(folder)) {}
    /// The mariadb-admin command with the options that reach this server.
    std::string admin() const;

    std::filesystem::path folder_;
};

} // namespace sifkit::test
