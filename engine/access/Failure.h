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

} // namespace sifkit::detail
