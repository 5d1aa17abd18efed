// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <string>

namespace sifkit {

/// Why a text cannot filter the rows of a comparison; "" when it can. A filter is one SQL
/// condition in the database's own dialect ("status = 'open' AND total > 10"), run as the
/// WHERE of each side's reading: outside its quoted texts and names it holds no ";", no
/// comment and no parenthesis it does not close, so that it cannot end the statement it is put
/// in or start another.
SIFKIT_EXPORT std::string whyNotARowFilter(const std::string& condition);

} // namespace sifkit
