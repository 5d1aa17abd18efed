// SPDX-License-Identifier: MIT
#pragma once

#include "ServerState.h"
#include "TestEnvironment.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>

namespace sifkit::test {

/// A started server of one product (Instance: PostgresCluster, MariadbInstance) as a test
/// process holds it: the run's shared one, or one of the process's own in a folder of its own.
template <typename Instance> struct RunningServer {
    Instance instance;
    std::unique_ptr<TempDir> ownFolder; ///< null for the shared server

    /// The server the test run shares (its state kept under `name`), else a new one of the
    /// process's own. nullopt when there can be none; `why` then tells why.
    static std::optional<RunningServer> find(const std::string& name, std::string& why) {
        try {
            if (auto shared = sharedServerState(name)) {
                if ((*shared)["available"] != "1") {
                    why = (*shared)["reason"];
                    return std::nullopt;
                }
                return RunningServer{Instance::fromState(*shared), nullptr};
            }
            if (std::string reason = Instance::unavailableReason(); !reason.empty()) {
                why = reason;
                return std::nullopt;
            }
            auto folder = std::make_unique<TempDir>();
            Instance instance = Instance::start(folder->path());
            return RunningServer{std::move(instance), std::move(folder)};
        } catch (const std::exception& error) {
            why = error.what();
            return std::nullopt;
        }
    }
};

} // namespace sifkit::test
