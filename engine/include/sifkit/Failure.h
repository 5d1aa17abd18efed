// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/Schema.h>
#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <string>

namespace sifkit {

/// Which of a side's three message texts a failure was reported in.
enum class MessageKind { Connection, Sql, General };

/// A failure the engine reported, typed: what the side's message text says in words, with the
/// parts a host needs without reading that text.
struct Failure {
    Side side = Side::Original;
    MessageKind kind = MessageKind::General;
    int32_t messageNumber = 0; ///< the engine's message number (#2, #14, #74, ...)
    /// The data access layer's or the driver's own report of the cause: its number (the
    /// driver's native code for database errors), SQLSTATE and text. Number 0 and an empty
    /// description when the engine itself found the fault.
    int32_t errorNumber = 0;
    std::string sqlState;
    std::string description;
    std::string context; ///< what was being done: the statement as shown, the table, the position
    std::string text;    ///< the message as the side's message text holds it (" #14 ... ||")

    bool operator==(const Failure&) const = default;
};

} // namespace sifkit
