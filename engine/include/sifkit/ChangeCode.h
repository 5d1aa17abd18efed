// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <cstdint>
#include <string>

namespace sifkit {

/// What a comparison found of one table, field or record, relative to the other side. "New"
/// always means present on this side only.
enum class ChangeCode : int16_t {
    NoChange = 0,
    NewTable = 1,
    NewField = 2,
    DifferentDatatype = 3,
    DifferentSize = 4, ///< never produced: sizes are not compared
    NewRecord = 5,
    DifferentDataValue = 6, ///< never produced: a changed record is a new record on each side
};

/// "No Change", "New Table", "New Field", "Different Datatype", "Different Size",
/// "New Record", "Different Data Value"; "N/A" for any other number.
SIFKIT_EXPORT std::string describeChange(int16_t code);

} // namespace sifkit
