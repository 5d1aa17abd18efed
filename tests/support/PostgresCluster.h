// SPDX-License-Identifier: MIT
#pragma once

#include "ServerState.h"

#include <filesystem>
#include <string>

namespace sifkit::test {

/// A PostgreSQL cluster in a folder of its own (initdb), served on a free loopback port
/// (pg_ctl). As root the server runs as the "postgres" user, since PostgreSQL refuses to run
/// as root. The object only describes the cluster: stop() ends it.
class PostgresCluster {
public:
    /// The newest installed PostgreSQL's program folder; "" when there is none.
    static std::string installedBinaries();
    /// Why the tests cannot use PostgreSQL on this machine (it or its ODBC driver is not
    /// installed); "" when they can.
    static std::string unavailableReason();
    /// Creates a cluster of the newest installed PostgreSQL in `folder` (an empty folder) and
    /// starts it. Throws with the programs' output when either fails.
    static PostgresCluster start(const std::filesystem::path& folder);
    /// The running cluster that state() described.
    static PostgresCluster fromState(const ServerState& state);

    ServerState state() const;
    /// Stops the server at once (its data is of no further use). Throws when pg_ctl fails.
    void stop() const;
    /// The psql command that runs statements on one database of the cluster.
    std::string psql(const std::string& database) const;
    int port() const { return port_; }
    const std::filesystem::path& folder() const { return folder_; }

private:
    PostgresCluster(std::string binaries, std::filesystem::path folder, int port, bool asRoot)
        : binaries_(std::move(binaries)), folder_(std::move(folder)), port_(port), asRoot_(asRoot) {}
    std::string serverCommand(const std::string& program) const;

    std::string binaries_;
    std::filesystem::path folder_;
    int port_;
    bool asRoot_;
};

} // namespace sifkit::test
