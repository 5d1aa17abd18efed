// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <functional>
#include <string>

namespace sifkit {

/// What the engine needs of its host: the progress event, message boxes and a way to let
/// pending window events run. Empty functions make the engine silent.
struct SIFKIT_EXPORT HostHooks {
    std::function<void(int32_t& count, int32_t& maxCount, std::string& readFrom)> updateCount;
    std::function<void(const std::string& text)> messageBox;
    std::function<void()> doEvents;

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
