// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace sifkit::detail {

/// The name of a field type code as the engine control reports it (202 is named
/// "Null_terminated_character_string" here).
std::string describeDataType(int32_t typeCode);

/// The name of a field type code as field items carry it (202 is named
/// "Null_terminated_unicode_character_string" here).
std::string fieldTypeDescription(int32_t typeCode);

/// Whether values of a type code can be compared.
bool isComparableTypeCode(int32_t typeCode);

/// Whether a type name is comparable: it contains none of "Empty", "OLE", "error",
/// "Automation", "Binary" and "Not".
bool isComparableTypeDescription(const std::string& typeName);

} // namespace sifkit::detail
