// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

namespace sifkit {

/// The library's version, "major.minor.patch".
SIFKIT_EXPORT const char* version();

} // namespace sifkit
