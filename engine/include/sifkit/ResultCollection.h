// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/clsResultSet.h>
#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace sifkit {

namespace detail {
class ResultIndex;
struct ResultIndexAccess;
} // namespace detail

/// An ordered, 1-based list of result items. Items are shared: the collection hands out the
/// items themselves, not copies.
class SIFKIT_EXPORT ResultCollection {
public:
    ResultCollection();
    ResultCollection(const ResultCollection& other);
    ResultCollection& operator=(const ResultCollection& other);
    ~ResultCollection();

    int32_t count() const { return static_cast<int32_t>(items_.size()); }
    /// The item at a 1-based position; throws sifkit::Error (subscript out of range) outside
    /// 1..count.
    const std::shared_ptr<clsResultSet>& item(int32_t position) const;
    void add(std::shared_ptr<clsResultSet> item);
    /// Removes the item at a 1-based position; throws outside 1..count.
    void remove(int32_t position);

private:
    friend struct detail::ResultIndexAccess;
    std::vector<std::shared_ptr<clsResultSet>> items_;
    uint64_t version_ = 0;                               ///< changes with every add and remove
    mutable std::unique_ptr<detail::ResultIndex> index_; ///< look-up index, built on demand
};

using ResultCollectionPtr = std::shared_ptr<ResultCollection>;

} // namespace sifkit
