// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>

namespace dbsift::cli {

/// A failure to report to the user as one line on standard error, ending the program with
/// exit status 2. The text is complete in itself and never holds a password.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace dbsift::cli
