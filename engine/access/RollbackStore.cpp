// SPDX-License-Identifier: MIT
#include "RollbackStore.h"

namespace sifkit::detail {

RollbackStore& RollbackStore::instance() {
    static RollbackStore store;
    return store;
}

} // namespace sifkit::detail
