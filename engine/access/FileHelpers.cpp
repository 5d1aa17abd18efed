// SPDX-License-Identifier: MIT
#include "FileHelpers.h"

#include "dataaccess/Text.h"

#include <filesystem>
#include <thread>

namespace sifkit::detail {

namespace {

void sleepFor(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

} // namespace

bool fileExists(const std::string& path) {
    std::string name = platform::trimmed(path);
    if (name.empty())
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(name, ec);
}

bool deleteFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::remove(platform::trimmed(path), ec) && !ec;
}

bool deleteFileWithRetry(const std::string& path, const DeleteRetry& how) {
    auto remove = [&](const std::string& name) { return how.remove ? how.remove(name) : deleteFile(name); };
    auto pause = [&](std::chrono::milliseconds duration) {
        how.wait ? how.wait(duration) : sleepFor(duration);
    };
    constexpr std::chrono::milliseconds interval{1000};
    constexpr int furtherAttempts = 20;
    if (!fileExists(path) || remove(path))
        return true;
    for (int attempt = 0; attempt < furtherAttempts; ++attempt) {
        pause(interval);
        if (remove(path))
            return true;
    }
    pause(interval);
    return false;
}

void deleteFileIfExists(const std::string& path, const DeleteRetry& how) {
    if (fileExists(path))
        deleteFileWithRetry(path, how);
}

} // namespace sifkit::detail
