// SPDX-License-Identifier: MIT
#include <sifkit/Version.h>

namespace sifkit {

const char* version() {
    return SIFKIT_VERSION;
}

} // namespace sifkit
