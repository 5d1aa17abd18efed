// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/Sifcore.h>

namespace sifkit::detail {

/// The engine's own routines reach the control's internals through here; the public face of
/// Sifcore stays what hosts may call.
struct EngineAccess {
    static clsDBManager& master(Sifcore& engine) { return engine.master(); }
    static clsDBManager& source(Sifcore& engine) { return engine.source(); }
    static const HostHooks& hooks(const Sifcore& engine) { return *engine.hooks_; }
    static int32_t& dataProgressStatus(Sifcore& engine) { return engine.dataProgressStatus_; }
    static int32_t& dataProgressStatusMax(Sifcore& engine) { return engine.dataProgressStatusMax_; }
    /// Points the published results at the two managers' collections.
    static void publish(Sifcore& engine, const clsDBManager& masterSide, const clsDBManager& sourceSide) {
        engine.masterResults_ = masterSide.getResults();
        engine.sourceResults_ = sourceSide.getResults();
    }
    static void clearManagerMessages(Sifcore& engine) { engine.clearManagerMessages(); }
    static void appendGeneralMessage(Sifcore& engine, const std::string& masterText,
                                     const std::string& sourceText) {
        engine.appendGeneralMessage(masterText, sourceText);
    }
};

} // namespace sifkit::detail
