// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/SifkitError.h>

#include <exception>
#include <string>

namespace sifkit::detail {

/// "<number> <description>" of a failure, the form every message text starts with. Failures
/// that are not the library's own (out of memory, a standard library error) get number 0.
inline std::string failureText(const std::exception& failure) {
    if (const auto* error = dynamic_cast<const Error*>(&failure))
        return std::to_string(error->number()) + " " + error->description();
    return "0 " + std::string(failure.what());
}

/// Runs a step whose failure the caller passes over (a property that cannot be read is left at
/// its default; a routine documented to skip its errors goes on with its next step).
template <typename Step> void skippingFailure(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

/// failureText of the exception being handled; call only inside a catch block.
inline std::string currentFailureText() {
    try {
        throw;
    } catch (const std::exception& failure) {
        return failureText(failure);
    } catch (...) {
        return "0 Unknown error";
    }
}

/// The text of a record set that failed to open on an SQL text: message #3 for the main
/// record set, #4 for the second. Call only inside a catch block.
inline std::string recordsOpenFailureText(int messageNumber, const std::string& sql) {
    return currentFailureText() + " #" + std::to_string(messageNumber) +
           " Error occured when attempting to open table using the following SQL" + sql + " ||";
}

/// The text of a failed record write (an insert, an update or a rollback) on a table. Call only
/// inside a catch block.
inline std::string recordWriteFailureText(const std::string& tableName) {
    return currentFailureText() + " #7 Error when attempting to add a new record in table " + tableName +
           " ||";
}

} // namespace sifkit::detail
