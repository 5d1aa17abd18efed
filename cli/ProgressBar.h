// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace dbsift::cli {

/// Whether standard error is a terminal: progress is drawn only there.
bool standardErrorIsTerminal();

/// A one-line progress bar on standard error, redrawn in place from the engine's progress
/// events. A disabled bar draws nothing.
class ProgressBar {
public:
    explicit ProgressBar(bool enabled) : enabled_(enabled) {}
    ~ProgressBar() { clear(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    /// Shows count of maxCount with the engine's label ("Reading Original", ...).
    void update(int32_t count, int32_t maxCount, const std::string& label);
    /// Names the task the next updates belong to, shown before their label.
    void setTask(const std::string& task) { task_ = task; }
    /// Erases the bar, so that the next line on the terminal starts clean.
    void clear();

private:
    bool enabled_;
    bool drawn_ = false;
    std::string task_;
};

} // namespace dbsift::cli
