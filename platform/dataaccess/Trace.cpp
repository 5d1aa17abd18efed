// SPDX-License-Identifier: MIT
#include "Backend.h"

#include <sifkit/DataAccess.h>

#include <mutex>

namespace sifkit {

namespace {

std::mutex traceMutex;
std::mutex lockWaitMutex;

LockWait& installedLockWait() {
    static LockWait wait;
    return wait;
}

SqlTrace& installedTrace() {
    static SqlTrace trace;
    return trace;
}

} // namespace

void setSqlTrace(SqlTrace trace) {
    std::lock_guard lock(traceMutex);
    installedTrace() = std::move(trace);
}

void setLockWait(LockWait wait) {
    std::lock_guard lock(lockWaitMutex);
    installedLockWait() = std::move(wait);
}

namespace platform {

bool keepWaitingForLock(int32_t waitedMs, int32_t timeoutMs) {
    LockWait wait;
    {
        std::lock_guard lock(lockWaitMutex);
        wait = installedLockWait();
    }
    return wait ? wait(waitedMs, timeoutMs) : waitedMs < timeoutMs;
}

void traceStatement(const std::string& sql, const std::vector<Value>& params) {
    std::lock_guard lock(traceMutex);
    if (installedTrace())
        installedTrace()(sql, params);
}

} // namespace platform
} // namespace sifkit
