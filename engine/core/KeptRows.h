// SPDX-License-Identifier: MIT
#pragma once

#include "dataaccess/Backend.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sifkit::detail {

/// The rows of one reading kept packed (a kind byte a cell, then its number or its length and
/// bytes) while they fit in a budget, so that the few rows a comparison reports need not be
/// read a second time where a reading costs a whole transfer from a server. Past the budget
/// everything kept is let go and the rows must be read again.
class KeptRows {
public:
    explicit KeptRows(std::size_t budgetBytes) : budget_(budgetBytes) {}

    /// Keeps the next row; the cells need only live during the call.
    void keep(const platform::CellView* cells, std::size_t count);
    /// Whether every row handed over is still kept.
    bool complete() const { return !dropped_; }
    /// Row `number` (from 1) as values.
    platform::Row row(int32_t number) const;

private:
    void drop();

    std::size_t budget_;
    bool dropped_ = false;
    std::size_t cellsPerRow_ = 0;
    std::string bytes_;
    std::vector<std::size_t> starts_; ///< where each row begins in bytes_
};

} // namespace sifkit::detail
