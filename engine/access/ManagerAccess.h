// SPDX-License-Identifier: MIT
#pragma once

#include "ExactQuery.h"

#include <sifkit/clsDBManager.h>

#include <memory>

namespace sifkit::detail {

/// The engine's own routines reach a manager's exact statement forms through here.
struct ManagerAccess {
    static const std::shared_ptr<const BoundForm>& boundStatement(const clsDBManager& manager) {
        return manager.boundStatement_;
    }
    static void setBoundStatement(clsDBManager& manager, std::shared_ptr<const BoundForm> form) {
        manager.boundStatement_ = std::move(form);
    }
};

} // namespace sifkit::detail
