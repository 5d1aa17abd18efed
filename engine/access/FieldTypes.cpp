// SPDX-License-Identifier: MIT
#include "FieldTypes.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sifkit::detail {

namespace {

constexpr std::array<std::pair<int32_t, const char*>, 40> typeNames{{
    {0, "Empty"},
    {2, "2_byte_signed_integer"},
    {3, "4_byte_signed_integer"},
    {4, "Single_precision_floating_point_value"},
    {5, "Double_precision_floating_point_value"},
    {6, "Currency_value"},
    {7, "Date_value"},
    {8, "Null_terminated_character_string"},
    {9, "Pointer_IDispatch_interface_to_OLE_object"},
    {10, "32_bit_error_code"},
    {11, "Boolean_Value"},
    {12, "Automation_Variant"},
    {13, "Pointer_IUnknown_interface_to_OLE_object"},
    {14, "Exact_numeric_value_with_fixed_precision_and_scale"},
    {16, "1_byte_signed_integer"},
    {17, "1_byte_unsigned_integer"},
    {18, "2_byte_unsigned_integer"},
    {19, "4_byte_unsigned_integer"},
    {20, "8_byte_signed_integer"},
    {21, "8_byte_unsigned_integer"},
    {64, "DOS/Win32_file_time"},
    {72, "Globally_unique_identifier"},
    {128, "Binary"},
    {129, "String_Value"},
    {130, "Null_Terminated_Unicode_character_string"},
    {131, "Exact_numeric_value_with_a_fixed_precision_and_scale"},
    {132, "User_defined_variable"},
    {133, "Date_Value"},
    {134, "Time_Value"},
    {135, "Date_Time_stamp"},
    {136, "Character_type"},
    {137, "Database_file_time"},
    {138, "Variant_that_is_not_equivalent_to_Automation_variant"},
    {139, "Variable_width_exact_numeric_with_signed_scale_value"},
    {200, "String"},
    {201, "Long_String"},
    {202, "Null_terminated_character_string"},
    {203, "long_Null_terminated_string_string"},
    {204, "Binary_Value"},
    {205, "Long_Binary_Value"},
}};

} // namespace

std::string describeDataType(int32_t typeCode) {
    for (const auto& [code, name] : typeNames)
        if (code == typeCode)
            return name;
    return "Not_Defined";
}

std::string fieldTypeDescription(int32_t typeCode) {
    if (typeCode == 202)
        return "Null_terminated_unicode_character_string";
    return describeDataType(typeCode);
}

bool isComparableTypeCode(int32_t typeCode) {
    // Decimals (131) are compared by their exact value.
    static constexpr std::array<int32_t, 31> comparable{2,   3,   4,   5,   6,   7,   8,   11,  14,  16,  17,
                                                        18,  19,  20,  21,  64,  72,  129, 130, 131, 133, 134,
                                                        135, 136, 137, 138, 139, 200, 201, 202, 203};
    return std::find(comparable.begin(), comparable.end(), typeCode) != comparable.end();
}

bool isComparableTypeDescription(const std::string& typeName) {
    for (const char* part : {"Empty", "OLE", "error", "Automation", "Binary", "Not"})
        if (typeName.find(part) != std::string::npos)
            return false;
    return true;
}

} // namespace sifkit::detail
