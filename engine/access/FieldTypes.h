// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/clsDBManager.h>

#include <cstdint>
#include <string>

namespace sifkit::detail {

/// The name of a field type code as the engine control reports it (202 is named
/// "Null_terminated_character_string" here).
std::string describeDataType(int32_t typeCode);

/// The name of a field type code as field items carry it (202 is named
/// "Null_terminated_unicode_character_string" here).
std::string fieldTypeDescription(int32_t typeCode);

/// The name of field `index` of the manager's main record set, as field items carry it (202 is
/// named "Null_terminated_unicode_character_string" here). Throws when the field does not exist.
std::string getFieldTypeDescription(const clsDBManager& manager, int32_t index);

/// Whether values of a type code can be compared.
bool isComparableTypeCode(int32_t typeCode);

/// isComparableTypeCode of field `index` of the manager's main record set.
bool isComparableFieldType(const clsDBManager& manager, int32_t index);

/// Whether a type name is comparable: it contains none of "Empty", "OLE", "error",
/// "Automation", "Binary" and "Not".
bool isComparableTypeDescription(const std::string& typeName);

/// The number of fields of the manager's main record set.
int32_t getRecordFieldCount(const clsDBManager& manager);

} // namespace sifkit::detail
