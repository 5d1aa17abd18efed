// SPDX-License-Identifier: MIT
#include "ProgressBar.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace dbsift::cli {

namespace {
constexpr int barWidth = 30;
}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

void ProgressBar::update(int32_t count, int32_t maxCount, const std::string& label) {
    if (!enabled_)
        return;
    const double share = maxCount > 0 ? std::clamp(static_cast<double>(count) / maxCount, 0.0, 1.0) : 0.0;
    const int filled = static_cast<int>(share * barWidth);
    if (!task_.empty())
        std::fputs(("\r" + task_.substr(0, 40) + ": ").c_str(), stderr);
    std::string line = (task_.empty() ? "\r" : "") + label.substr(0, 24);
    line += std::string(24 - std::min<std::size_t>(label.size(), 24), ' ');
    line += " [" + std::string(filled, '#') + std::string(barWidth - filled, '-') + "] ";
    line += std::to_string(static_cast<int>(share * 100)) + "%\033[K";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::clear() {
    if (!drawn_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

} // namespace dbsift::cli
