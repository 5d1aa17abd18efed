// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/HostHooks.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace sifkit::detail {

/// Thrown out of a run the user cancelled; the run's public operation catches it.
struct Cancelled : std::runtime_error {
    Cancelled() : std::runtime_error("The comparison was cancelled") {}
};

/// Keeps a long run in touch with its host. beat() is cheap: every few calls it looks at the
/// clock, and at most every 50 ms, on the thread that started the run, it lets the host's
/// pending events run and asks whether the run is cancelled. Any thread of the run may beat; a
/// cancel asked for on the host's thread ends every thread's reading at its next beat.
class Heartbeat {
public:
    explicit Heartbeat(const HostHooks& hooks);
    Heartbeat(const Heartbeat&) = delete;
    Heartbeat& operator=(const Heartbeat&) = delete;

    /// Throws Cancelled once the run is cancelled. everyCall looks at the clock at once, for
    /// steps that take long each (a query a record, an object of a catalogue).
    void beat(bool everyCall = false);

private:
    const HostHooks& hooks_;
    const std::thread::id owner_;
    uint32_t calls_ = 0; ///< counted by the owning thread only: no cache line shared per row
    std::atomic<bool> cancelled_{false};
    std::chrono::steady_clock::time_point last_;
};

/// beat() where a heartbeat is given.
inline void beat(Heartbeat* heartbeat, bool everyCall = false) {
    if (heartbeat)
        heartbeat->beat(everyCall);
}

} // namespace sifkit::detail
