// SPDX-License-Identifier: MIT
#include "Heartbeat.h"

namespace sifkit::detail {

namespace {
constexpr auto interval = std::chrono::milliseconds(50);
constexpr uint32_t callsBetweenClocks = 256;
} // namespace

Heartbeat::Heartbeat(const HostHooks& hooks)
    : hooks_(hooks), owner_(std::this_thread::get_id()), last_(std::chrono::steady_clock::now() - interval) {}

void Heartbeat::beat(bool everyCall) {
    if (cancelled_.load(std::memory_order_relaxed))
        throw Cancelled();
    if (std::this_thread::get_id() != owner_ || (!everyCall && calls_++ % callsBetweenClocks != 0))
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < interval)
        return;
    last_ = now;
    hooks_.letEventsRun();
    if (hooks_.cancelRequested && hooks_.cancelRequested()) {
        cancelled_ = true;
        throw Cancelled();
    }
}

} // namespace sifkit::detail
