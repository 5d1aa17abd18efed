// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <functional>
#include <string>

namespace sifkit {

/// What the engine needs of its host: the progress event, message boxes, a way to let pending
/// window events run and to ask whether the user cancelled. Empty functions make the engine
/// silent.
struct SIFKIT_EXPORT HostHooks {
    std::function<void(int32_t& count, int32_t& maxCount, std::string& readFrom)> updateCount;
    std::function<void(const std::string& text)> messageBox;
    /// Lets pending window events run: once at the start of a data run, and during the long
    /// parts of every run (reading catalogues and rows), at most about every 50 ms, always on
    /// the thread that started the run.
    std::function<void()> doEvents;
    /// Whether the user asked to cancel the running comparison; asked as often as doEvents, on
    /// the same thread. Once it says so, the run ends as soon as it can: it returns False, the
    /// results of the run before it stay published, and its failures say it was cancelled (#78).
    std::function<bool()> cancelRequested;

    void showMessage(const std::string& text) const {
        if (messageBox)
            messageBox(text);
    }
    void letEventsRun() const {
        if (doEvents)
            doEvents();
    }
};

} // namespace sifkit
