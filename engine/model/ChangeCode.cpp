// SPDX-License-Identifier: MIT
#include <sifkit/ChangeCode.h>

namespace sifkit {

std::string describeChange(int16_t code) {
    switch (code) {
    case 0:
        return "No Change";
    case 1:
        return "New Table";
    case 2:
        return "New Field";
    case 3:
        return "Different Datatype";
    case 4:
        return "Different Size";
    case 5:
        return "New Record";
    case 6:
        return "Different Data Value";
    default:
        return "N/A";
    }
}

} // namespace sifkit
