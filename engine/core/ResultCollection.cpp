// SPDX-License-Identifier: MIT
#include "ResultIndex.h"

#include <sifkit/ResultCollection.h>
#include <sifkit/SifkitError.h>

namespace sifkit {

namespace {
[[noreturn]] void outOfRange(int32_t position) {
    throw Error(ErrorNumber::SubscriptOutOfRange,
                "Subscript out of range: position " + std::to_string(position));
}
} // namespace

ResultCollection::ResultCollection() = default;
ResultCollection::ResultCollection(const ResultCollection& other) : items_(other.items_) {}
ResultCollection& ResultCollection::operator=(const ResultCollection& other) {
    items_ = other.items_;
    ++version_;
    return *this;
}
ResultCollection::~ResultCollection() = default;

const std::shared_ptr<clsResultSet>& ResultCollection::item(int32_t position) const {
    if (position < 1 || position > count())
        outOfRange(position);
    return items_[static_cast<std::size_t>(position - 1)];
}

void ResultCollection::add(std::shared_ptr<clsResultSet> item) {
    items_.push_back(std::move(item));
    ++version_;
}

void ResultCollection::remove(int32_t position) {
    if (position < 1 || position > count())
        outOfRange(position);
    items_.erase(items_.begin() + (position - 1));
    ++version_;
}

} // namespace sifkit
