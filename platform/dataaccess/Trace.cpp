// SPDX-License-Identifier: MIT
#include "Backend.h"

#include <sifkit/DataAccess.h>

#include <mutex>

namespace sifkit {

namespace {

std::mutex traceMutex;

SqlTrace& installedTrace() {
    static SqlTrace trace;
    return trace;
}

} // namespace

void setSqlTrace(SqlTrace trace) {
    std::lock_guard lock(traceMutex);
    installedTrace() = std::move(trace);
}

namespace platform {

void traceStatement(const std::string& sql, const std::vector<Value>& params) {
    std::lock_guard lock(traceMutex);
    if (installedTrace())
        installedTrace()(sql, params);
}

} // namespace platform
} // namespace sifkit
