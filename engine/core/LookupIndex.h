// SPDX-License-Identifier: MIT
#pragma once

#include "ResultIndex.h"

namespace sifkit::detail {

/// The index of a published collection, or null when the side has none yet (a missing
/// collection scans as an empty one). Valid until the collection or an item changes.
inline const ResultIndex* lookupIndex(const ResultCollectionPtr& results) {
    return results ? &ResultIndexAccess::of(*results) : nullptr;
}

} // namespace sifkit::detail
